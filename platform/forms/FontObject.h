#pragma once
// The system's OLE font object (IFontDisp, from OleCreateFontIndirect), the font that crosses the font
// dialog's interface, and its conversion to and from a control's FontSpec.

#include "platform/forms/FontSpec.h"

#include <ocidl.h>
#include <olectl.h>
#include <wrl/client.h>

namespace forms {

// A new font object with the face, size and style given (bold: weight 700, else 400).
Microsoft::WRL::ComPtr<IFontDisp> CreateFontObject(const FontSpec& design);
// The face, size and style of a font object (bold: weight 600 and above). A null object or one that is no font raises 13.
FontSpec FontSpecOf(IUnknown* font);

}  // namespace forms
