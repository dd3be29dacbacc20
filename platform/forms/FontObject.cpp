#include "platform/forms/FontObject.h"

#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Strings.h"

#include <cmath>

namespace forms {

Microsoft::WRL::ComPtr<IFontDisp> CreateFontObject(const FontSpec& spec) {
    std::wstring name = ToWide(spec.Name);
    FONTDESC desc{};
    desc.cbSizeofstruct = sizeof desc;
    desc.lpstrName = name.data();
    desc.cySize.int64 = std::llround(static_cast<double>(spec.Size) * 10000.0);  // points, in CY's fixed point
    desc.sWeight = static_cast<SHORT>(spec.Bold ? FW_BOLD : FW_NORMAL);
    desc.sCharset = DEFAULT_CHARSET;
    desc.fItalic = spec.Italic;
    desc.fUnderline = spec.Underline;
    desc.fStrikethrough = spec.Strikethrough;
    Microsoft::WRL::ComPtr<IFontDisp> font;
    if (FAILED(OleCreateFontIndirect(&desc, IID_IFontDisp, reinterpret_cast<void**>(font.GetAddressOf()))) || !font)
        throw RuntimeError(err::OutOfMemory);
    return font;
}

FontSpec FontSpecOf(IUnknown* object) {
    Microsoft::WRL::ComPtr<IFont> font;
    if (!object || FAILED(object->QueryInterface(IID_PPV_ARGS(&font))) || !font) throw RuntimeError(err::TypeMismatch);
    FontSpec spec;
    BSTR name = nullptr;
    if (SUCCEEDED(font->get_Name(&name)) && name) {
        spec.Name = FromWide(std::wstring_view(name, SysStringLen(name)));
        SysFreeString(name);
    }
    CY size{};
    if (SUCCEEDED(font->get_Size(&size))) spec.Size = static_cast<float>(static_cast<double>(size.int64) / 10000.0);
    SHORT weight = FW_NORMAL;
    font->get_Weight(&weight);
    spec.Bold = weight >= FW_SEMIBOLD;
    BOOL on = FALSE;
    spec.Italic = SUCCEEDED(font->get_Italic(&on)) && on;
    on = FALSE;
    spec.Underline = SUCCEEDED(font->get_Underline(&on)) && on;
    on = FALSE;
    spec.Strikethrough = SUCCEEDED(font->get_Strikethrough(&on)) && on;
    return spec;
}

}  // namespace forms
