#pragma once
// A control's font as designed: face, size in points, style.

#include "platform/runtime/OwnedHandles.h"

#include <string>

namespace forms {

struct FontSpec {
    std::string Name = "MS Sans Serif";
    float Size = 8.25f;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool Strikethrough = false;

    UniqueFont Create() const;
    bool operator==(const FontSpec&) const = default;
};

}  // namespace forms
