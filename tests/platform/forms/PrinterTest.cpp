#include "ErrorNumber.h"

#include "platform/forms/FontObject.h"
#include "platform/forms/Printer.h"

#include <gtest/gtest.h>

#include <winspool.h>

#include <functional>

using namespace forms;

namespace {

bool HasPrinter() {
    DWORD size = 0;
    GetDefaultPrinterA(nullptr, &size);
    return size > 0;
}

TEST(Printer, WithoutAPrinterThePageMembersRaise482) {
    if (HasPrinter()) GTEST_SKIP() << "this system has a default printer";
    Printer& p = Printer::Default();
    const std::function<void()> calls[] = {
        [&] { (void)p.ScaleWidth(); }, [&] { (void)p.ScaleHeight(); }, [&] { (void)p.GetScaleMode(); },
        [&] { (void)p.ScaleX(1440, ScaleMode::Twips, ScaleMode::Inches); },
        [&] { p.PaintPicture(StdPicture::Empty(), 0, 0); }, [&] { p.EndDoc(); }};
    for (const auto& call : calls) EXPECT_EQ(ErrorNumber(call), err::PrinterError);
}

// The print dialogs write the four settings by name, each error ignored.
TEST(Printer, TheDialogSettingsAreWrittenByName) {
    Printer& p = Printer::Default();
    const auto disp = p.GetDispatch();
    struct Case {
        const wchar_t* name;
        int value;
        std::function<int()> read;
    };
    const Case cases[] = {{L"Copies", 3, [&] { return p.Copies(); }},
                          {L"orientation", 2, [&] { return p.Orientation(); }},
                          {L"PaperSize", 9, [&] { return p.PaperSize(); }},
                          {L"PrintQuality", 300, [&] { return p.PrintQuality(); }}};
    for (const Case& c : cases) {
        DISPID id = 0;
        auto* name = const_cast<LPOLESTR>(c.name);
        ASSERT_EQ(disp->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK);
        VARIANT value;
        VariantInit(&value);
        value.vt = VT_I2;
        value.iVal = static_cast<SHORT>(c.value);
        DISPID named = DISPID_PROPERTYPUT;
        DISPPARAMS params{&value, &named, 1, 1};
        EXPECT_EQ(disp->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr), S_OK);
        EXPECT_EQ(c.read(), c.value);
        VARIANT back;
        VariantInit(&back);
        DISPPARAMS none{};
        ASSERT_EQ(disp->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &back, nullptr, nullptr), S_OK);
        EXPECT_EQ(back.iVal, c.value);
    }
    VARIANT zero;
    VariantInit(&zero);
    zero.vt = VT_I4;
    zero.lVal = 0;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&zero, &named, 1, 1};
    EXCEPINFO excep{};
    EXPECT_EQ(disp->Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, &excep, nullptr), DISP_E_EXCEPTION);
    EXPECT_EQ(excep.scode & 0xFFFF, err::InvalidPropertyValue) << "no copies at all is refused";
    SysFreeString(excep.bstrDescription);
    EXPECT_EQ(p.Copies(), 3);
}

TEST(FontObject, ASpecGoesThroughTheSystemsFontObjectAndBack) {
    const FontSpec specs[] = {{"Arial", 9.0f, false, false, false, false},
                              {"Times New Roman", 12.0f, true, true, true, true}};
    for (const FontSpec& spec : specs) {
        const auto font = CreateFontObject(spec);
        Microsoft::WRL::ComPtr<IFont> system;
        ASSERT_TRUE(SUCCEEDED(font.As(&system)));
        // The font the object makes is the one asked for.
        HFONT handle = nullptr;
        ASSERT_TRUE(SUCCEEDED(system->get_hFont(&handle)));
        LOGFONTA made{};
        ASSERT_TRUE(GetObjectA(handle, sizeof made, &made));
        EXPECT_STREQ(made.lfFaceName, spec.Name.c_str());
        EXPECT_EQ(made.lfWeight, spec.Bold ? FW_BOLD : FW_NORMAL);
        EXPECT_EQ(made.lfItalic != 0, spec.Italic);
        EXPECT_EQ(made.lfUnderline != 0, spec.Underline);
        EXPECT_EQ(made.lfStrikeOut != 0, spec.Strikethrough);
        // Back: the styles as set; the face and size as the system realised them.
        const FontSpec back = FontSpecOf(font.Get());
        EXPECT_EQ(back.Bold, spec.Bold);
        EXPECT_EQ(back.Italic, spec.Italic);
        EXPECT_EQ(back.Underline, spec.Underline);
        EXPECT_EQ(back.Strikethrough, spec.Strikethrough);
        EXPECT_FALSE(back.Name.empty());
        EXPECT_NEAR(back.Size, spec.Size, 1.0f);
    }
    // Weight as the dialog returns it: semi-bold and above reads as bold.
    const auto font = CreateFontObject({});
    Microsoft::WRL::ComPtr<IFont> system;
    ASSERT_TRUE(SUCCEEDED(font.As(&system)));
    system->put_Weight(FW_SEMIBOLD);
    EXPECT_TRUE(FontSpecOf(font.Get()).Bold);
    system->put_Weight(FW_MEDIUM);
    EXPECT_FALSE(FontSpecOf(font.Get()).Bold);
    EXPECT_EQ(ErrorNumber([] { (void)FontSpecOf(nullptr); }), err::TypeMismatch);
}

}  // namespace
