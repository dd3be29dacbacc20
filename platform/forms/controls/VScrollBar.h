#pragma once
// A vertical scroll bar: Min at its top end.

#include "platform/forms/controls/ScrollBar.h"

namespace forms {

class VScrollBar : public ScrollBar {
public:
    using ScrollBar::ScrollBar;

protected:
    bool Vertical() const noexcept override { return true; }
};

}  // namespace forms
