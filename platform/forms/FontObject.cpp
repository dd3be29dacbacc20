#include "platform/forms/FontObject.h"

#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Strings.h"

#include <cmath>

namespace forms {

Microsoft::WRL::ComPtr<IFontDisp> CreateFontObject(const FontSpec& design) {
    std::wstring name = ToWide(design.Name);
    FONTDESC desc{};
    desc.cbSizeofstruct = sizeof desc;
    desc.lpstrName = name.data();
    desc.cySize.int64 = std::llround(static_cast<double>(design.Size) * 10000.0);  // points, in CY's fixed point
    desc.sWeight = static_cast<SHORT>(design.Bold ? FW_BOLD : FW_NORMAL);
    desc.sCharset = DEFAULT_CHARSET;
    desc.fItalic = design.Italic;
    desc.fUnderline = design.Underline;
    desc.fStrikethrough = design.Strikethrough;
    Microsoft::WRL::ComPtr<IFontDisp> font;
    if (FAILED(OleCreateFontIndirect(&desc, IID_IFontDisp, reinterpret_cast<void**>(font.GetAddressOf()))) || !font)
        throw RuntimeError(err::OutOfMemory);
    return font;
}

FontSpec FontSpecOf(IUnknown* object) {
    Microsoft::WRL::ComPtr<IFont> font;
    if (!object || FAILED(object->QueryInterface(IID_PPV_ARGS(&font))) || !font) throw RuntimeError(err::TypeMismatch);
    FontSpec design;
    BSTR name = nullptr;
    if (SUCCEEDED(font->get_Name(&name)) && name) {
        design.Name = FromWide(std::wstring_view(name, SysStringLen(name)));
        SysFreeString(name);
    }
    CY size{};
    if (SUCCEEDED(font->get_Size(&size))) design.Size = static_cast<float>(static_cast<double>(size.int64) / 10000.0);
    SHORT weight = FW_NORMAL;
    font->get_Weight(&weight);
    design.Bold = weight >= FW_SEMIBOLD;
    BOOL on = FALSE;
    design.Italic = SUCCEEDED(font->get_Italic(&on)) && on;
    on = FALSE;
    design.Underline = SUCCEEDED(font->get_Underline(&on)) && on;
    on = FALSE;
    design.Strikethrough = SUCCEEDED(font->get_Strikethrough(&on)) && on;
    return design;
}

}  // namespace forms
