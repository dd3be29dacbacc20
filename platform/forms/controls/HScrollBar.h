#pragma once
// A horizontal scroll bar: Min at its left end.

#include "platform/forms/controls/ScrollBar.h"

namespace forms {

class HScrollBar : public ScrollBar {
public:
    using ScrollBar::ScrollBar;

protected:
    bool Vertical() const noexcept override { return false; }
};

}  // namespace forms
