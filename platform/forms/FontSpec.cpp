#include "platform/forms/FontSpec.h"

#include "platform/runtime/Conversions.h"
#include "platform/forms/Units.h"

#include <cmath>
#include <cstring>

namespace forms {

UniqueFont FontSpec::Create() const {
    LOGFONTA lf{};
    // Points to pixels: height = -(size * 20 twips per point / twips per pixel).
    lf.lfHeight = -static_cast<LONG>(RoundHalfEven(Size * 20.0f / TwipsPerPixel(Axis::Y)));
    lf.lfWeight = Bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = Italic;
    lf.lfUnderline = Underline;
    lf.lfStrikeOut = Strikethrough;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    std::strncpy(lf.lfFaceName, Name.c_str(), LF_FACESIZE - 1);
    return UniqueFont(CreateFontIndirectA(&lf));
}

}  // namespace forms
