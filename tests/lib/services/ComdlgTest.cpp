// The common dialogs: record computations as tables, and the dialogs themselves driven for real.

#include <windows.h>
#include <cderr.h>
#include <commdlg.h>
#include <olectl.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <string>

#include "DialogDriver.h"
#include "PropertyBag.h"
#include "ServerFixture.h"
#include "lib/comserver/ClientError.h"
#include "lib/comserver/LateBound.h"
#include "lib/services/Client.h"
#include "lib/services/Comdlg.h"
#include "lib/services/FileIo.h"
#include "platform/runtime/ReplacingFile.h"
#include "lib/services/clsReg_n_FileAssoc.h"
#include "platform/runtime/RuntimeError.h"
#include "tests/support/TempFolder.h"

using comserver::Variant;
using Dialogs = services::Comdlg;

namespace {

const std::string kPid = std::to_string(GetCurrentProcessId());

std::string Nul(const char* a, const char* b) { return std::string(a) + '\0' + b; }

TEST(Filter, BarsAndColonsSeparateDescriptionsAndPatterns) {
    struct Case {
        std::string filter, converted;
    };
    const Case cases[] = {
        {"Bitmaps (*.bmp)|*.bmp", Nul("Bitmaps (*.bmp)", "*.bmp") + std::string(3, '\0')},
        {"a:b|c|d", Nul("a", "b") + '\0' + Nul("c", "d") + std::string(3, '\0')},
        // A description without its pattern lists the files it names.
        {"*.exe", Nul("*.exe", "*.exe") + std::string(3, '\0')},
        {"Pictures|*.bmp;*.jpg|Programs", Nul("Pictures", "*.bmp;*.jpg") + '\0' + Nul("Programs", "Programs") +
                                              std::string(3, '\0')},
    };
    for (const Case& c : cases) EXPECT_EQ(Dialogs::ConvertFilter(c.filter), c.converted) << c.filter;

    const std::string converted = Dialogs::ConvertFilter("A|*.a|B|*.b");
    EXPECT_EQ(Dialogs::FilterPair(converted, 1), Nul("A", "*.a"));
    EXPECT_EQ(Dialogs::FilterPair(converted, 2), Nul("B", "*.b"));
    EXPECT_EQ(Dialogs::FilterPair(converted, 3), "");
    EXPECT_EQ(Dialogs::FilterPair(converted, 0), "");
}

TEST(Flags, EachDialogComputesItsOwn) {
    Dialogs::OpenFileArgs open;
    open.flags = OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_NOCHANGEDIR;
    EXPECT_EQ(Dialogs::OpenFlags(open), DWORD{OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR});
    open.fileMustExist = false;
    open.multiSelect = open.readOnly = open.hideReadOnly = true;
    EXPECT_EQ(Dialogs::OpenFlags(open), DWORD{OFN_ALLOWMULTISELECT | OFN_READONLY | OFN_HIDEREADONLY | OFN_NOCHANGEDIR});

    Dialogs::SaveFileArgs save;
    EXPECT_EQ(Dialogs::SaveFlags(save), DWORD{OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY});
    save.overWritePrompt = false;
    save.flags = OFN_ENABLEHOOK;
    EXPECT_EQ(Dialogs::SaveFlags(save), DWORD{OFN_HIDEREADONLY});

    Dialogs::ColorArgs color;
    color.flags = CC_ENABLEHOOK;  // not read
    EXPECT_EQ(Dialogs::ColorFlags(color), DWORD{CC_ANYCOLOR | CC_RGBINIT});
    color.anyColor = false;
    color.fullOpen = color.disableFullOpen = true;
    EXPECT_EQ(Dialogs::ColorFlags(color), DWORD{CC_SOLIDCOLOR | CC_RGBINIT | CC_FULLOPEN | CC_PREVENTFULLOPEN});

    EXPECT_EQ(Dialogs::FontFlags(0, false, 0, 0, 0), DWORD{CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT});
    EXPECT_EQ(Dialogs::FontFlags(CF_ENABLEHOOK | CF_APPLY, true, 5, 0, 72),
              DWORD{CF_PRINTERFONTS | CF_EFFECTS | CF_LIMITSIZE | CF_INITTOLOGFONTSTRUCT});

    Dialogs::PrintArgs print;
    EXPECT_EQ(Dialogs::PrintFlags(print), DWORD{PD_DISABLEPRINTTOFILE | PD_HIDEPRINTTOFILE |
                                                PD_USEDEVMODECOPIESANDCOLLATE | PD_RETURNDC});
    print.printRange = Dialogs::eprPageNumbers;
    print.showPrintToFile = true;
    print.disablePrintToFile = false;
    print.collate = print.preventWarning = true;
    EXPECT_EQ(Dialogs::PrintFlags(print),
              DWORD{PD_PAGENUMS | PD_COLLATE | PD_NOWARNING | PD_USEDEVMODECOPIESANDCOLLATE | PD_RETURNDC});

    Dialogs::PageSetupArgs page;
    EXPECT_EQ(Dialogs::PageSetupFlags(page), DWORD{PSD_MARGINS | PSD_MINMARGINS | PSD_INTHOUSANDTHSOFINCHES});
    page.units = 1;
    page.disablePrinter = true;
    EXPECT_EQ(Dialogs::PageSetupFlags(page),
              DWORD{PSD_MARGINS | PSD_MINMARGINS | PSD_INHUNDREDTHSOFMILLIMETERS | PSD_DISABLEPRINTER});
}

TEST(PageSetup, MarginsInDialogUnitsAndBack) {
    EXPECT_EQ(Dialogs::MarginToDialog(1, 0), 1000);
    EXPECT_EQ(Dialogs::MarginToDialog(25, 1), 2500);
    struct Case {
        LONG value;
        std::int32_t units, margin;
    };
    for (const Case c : {Case{1500, 0, 2}, Case{2500, 0, 2}, Case{3500, 0, 4}, Case{1499, 0, 1}, Case{250, 1, 2}})
        EXPECT_EQ(Dialogs::MarginFromDialog(c.value, c.units), c.margin) << c.value;
    try {
        Dialogs::MarginToDialog(3000000, 0);
        FAIL() << "no overflow";
    } catch (const forms::RuntimeError& e) {
        EXPECT_EQ(e.Number(), forms::err::Overflow);
    }
}

TEST(Font, LogicalFontFromTheFontObject) {
    Dialogs::FontValues font;
    font.name = "Arial";
    font.size = 12;
    font.italic = true;
    font.weight = 700;
    const LOGFONTA lf = Dialogs::LogFontOf(font, 15);
    EXPECT_EQ(lf.lfHeight, -16);
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_STREQ(lf.lfFaceName, "Arial");
    // A face name of 32 bytes or more keeps the field's terminating NUL.
    font.name = std::string(40, 'F');
    EXPECT_EQ(std::string(Dialogs::LogFontOf(font, 15).lfFaceName), std::string(31, 'F'));
}

TEST(FileDialogs, OpenConfirmedAndCancelled) {
    const qvtest::TempFolder temp;
    const std::string file = temp / ("qvopen" + kPid + ".txt");
    forms::ReplaceWholeFile(file, "x");
    Dialogs dialogs;
    Dialogs::OpenFileArgs a;
    a.filter = "Text (*.txt)|*.txt|All|*.*";
    a.filterIndex = 2;
    {
        const DialogDriver driver(DialogDriver::EnterFileName(file));
        ASSERT_TRUE(dialogs.VBGetOpenFileName(a));
        EXPECT_TRUE(driver.Acted());
    }
    EXPECT_EQ(lstrcmpiA(a.fileName.c_str(), file.c_str()), 0) << a.fileName;
    EXPECT_EQ(a.fileTitle, "qvopen" + kPid + ".txt");
    EXPECT_EQ(a.filterIndex, 2);
    EXPECT_EQ(a.filter, Nul("All", "*.*"));
    EXPECT_EQ(dialogs.APIReturn(), 1);

    {
        const DialogDriver driver(DialogDriver::Cancel);
        EXPECT_FALSE(dialogs.VBGetOpenFileName(a));
        EXPECT_TRUE(driver.Acted()) << "the dialog was shown and cancelled";
    }
    EXPECT_EQ(a.fileName, "");
    EXPECT_EQ(a.fileTitle, "");
    EXPECT_EQ(a.filter, "");
    EXPECT_EQ(a.filterIndex, -1);
    EXPECT_EQ(a.flags, 0);
    EXPECT_EQ(dialogs.APIReturn(), 0);
    EXPECT_EQ(dialogs.ExtendedError(), 0);
}

TEST(FileDialogs, SaveConfirmedAndCancelled) {
    const qvtest::TempFolder temp;
    const std::string file = temp / ("qvsave" + kPid + ".jpg");
    Dialogs dialogs;
    Dialogs::SaveFileArgs a;
    a.filter = "JPEG|*.jpg";
    {
        const DialogDriver driver(DialogDriver::EnterFileName(file));
        ASSERT_TRUE(dialogs.VBGetSaveFileName(a));
    }
    EXPECT_EQ(lstrcmpiA(a.fileName.c_str(), file.c_str()), 0) << a.fileName;
    EXPECT_EQ(a.filterIndex, 1);
    EXPECT_EQ(a.filter, Nul("JPEG", "*.jpg"));
    {
        const DialogDriver driver(DialogDriver::Cancel);
        EXPECT_FALSE(dialogs.VBGetSaveFileName(a));
        EXPECT_TRUE(driver.Acted()) << "the dialog was shown and cancelled";
    }
    EXPECT_EQ(a.fileName, "");
    EXPECT_EQ(a.filterIndex, 0);
    EXPECT_EQ(Dialogs::VBGetFileTitle("C:\\dir\\name.txt"), "name.txt");
}

TEST(ColorDialog, CustomColoursAndBothOutcomes) {
    Dialogs dialogs;
    for (int i = 0; i < 16; ++i) EXPECT_EQ(dialogs.CustomColor(i), static_cast<std::int32_t>(GetSysColor(i))) << i;
    EXPECT_EQ(dialogs.CustomColor(16), -1);
    dialogs.SetCustomColor(16, 0x123456);
    EXPECT_EQ(dialogs.CustomColor(16), -1);
    dialogs.SetCustomColor(3, 0x123456);
    EXPECT_EQ(dialogs.CustomColor(3), 0x123456);

    Dialogs::ColorArgs a;
    a.color = 0x336699;
    {
        const DialogDriver driver(DialogDriver::Confirm);
        ASSERT_TRUE(dialogs.VBChooseColor(a));
    }
    EXPECT_EQ(a.color, 0x336699);
    {
        const DialogDriver driver(DialogDriver::Cancel);
        EXPECT_FALSE(dialogs.VBChooseColor(a));
        EXPECT_TRUE(driver.Acted()) << "the dialog was shown and cancelled";
    }
    EXPECT_EQ(a.color, -1);
    EXPECT_EQ(dialogs.CustomColor(3), 0x123456);  // kept for the life of the instance
}

int CALLBACK TakeScalableFace(const LOGFONTA* lf, const TEXTMETRICA*, DWORD type, LPARAM data) {
    if (!(type & TRUETYPE_FONTTYPE) || lf->lfFaceName[0] == '@') return 1;
    *reinterpret_cast<std::string*>(data) = lf->lfFaceName;
    return 0;
}

// A scalable face this system has, for the font dialog to find.
std::string InstalledFace() {
    std::string face;
    LOGFONTA query{};
    query.lfCharSet = DEFAULT_CHARSET;
    const HDC screen = GetDC(nullptr);
    EnumFontFamiliesExA(screen, &query, TakeScalableFace, reinterpret_cast<LPARAM>(&face), 0);
    ReleaseDC(nullptr, screen);
    return face;
}

class DialogsThroughCom : public RegisteredServer {};

TEST_F(DialogsThroughCom, FontDialogReadsAndSetsTheFontObject) {
    const std::string face = InstalledFace();
    ASSERT_FALSE(face.empty());
    Variant size;
    V_VT(size.Get()) = VT_R8;
    V_R8(size.Get()) = 12;
    const auto font = PropertyBag::Create({
        {"Name", DISPID_FONT_NAME, Variant(face)},
        {"Size", DISPID_FONT_SIZE, size},
        {"Bold", DISPID_FONT_BOLD, Variant::Bool(true)},
        {"Italic", DISPID_FONT_ITALIC, Variant::Bool(false)},
        {"Underline", DISPID_FONT_UNDER, Variant::Bool(true)},
        {"Strikethrough", DISPID_FONT_STRIKE, Variant::Bool(false)},
        {"Weight", DISPID_FONT_WEIGHT, Variant(400)},
    });
    const auto dialogs = services::client::CommonDialogs::Create();
    services::client::CommonDialogs::FontArgs a;
    a.color = 0x0000FF;  // with a colour the dialog shows (and keeps) the effects
    {
        const DialogDriver driver(DialogDriver::Cancel);
        EXPECT_FALSE(dialogs.VBChooseFont(font->Dispatch(), a));
        EXPECT_TRUE(driver.Acted()) << "the dialog was shown and cancelled";
    }
    EXPECT_TRUE(font->Value("Underline").ToBool());  // untouched when cancelled
    {
        const DialogDriver driver(DialogDriver::Confirm);
        ASSERT_TRUE(dialogs.VBChooseFont(font->Dispatch(), a));
    }
    EXPECT_EQ(font->Value("Name").ToText(), face);
    EXPECT_EQ(font->Value("Size").ToDouble(), 12);
    EXPECT_TRUE(font->Value("Underline").ToBool());
    EXPECT_FALSE(font->Value("Bold").ToBool());  // the weight the font had was regular
    EXPECT_EQ(a.printerDC, 0);
    EXPECT_EQ(a.color, 0x0000FF);
    EXPECT_EQ(dialogs.APIReturn(), 1);
}

bool HasDefaultPrinter() {
    DWORD size = 0;
    GetDefaultPrinterA(nullptr, &size);
    return size > 0;
}

// Each call reaches the system, which shows its dialog or, without a default printer (as in the test
// prefix), its notice of that, both cancelled by the driver; nothing changes either way. Without a printer
// the page setup reports it in the extended error; the print dialog may be shown all the same, and then
// reports the cancel.
TEST_F(DialogsThroughCom, PrintAndPageSetupWithoutConfirmation) {
    const bool printer = HasDefaultPrinter();
    const auto dialogs = services::client::CommonDialogs::Create();
    const auto bag = PropertyBag::Create({{"Copies", 1, Variant(7)}});
    services::client::CommonDialogs::PrintArgs print;
    {
        const DialogDriver driver(DialogDriver::Cancel);
        EXPECT_FALSE(dialogs.VBPrintDlg(print, bag->Dispatch()));
        EXPECT_TRUE(driver.Acted());
    }
    EXPECT_EQ(dialogs.APIReturn(), 0);
    if (printer) {
        EXPECT_EQ(dialogs.ExtendedError(), 0);
    } else {
        EXPECT_TRUE(dialogs.ExtendedError() == PDERR_NODEFAULTPRN || dialogs.ExtendedError() == 0)
            << dialogs.ExtendedError();
    }
    EXPECT_EQ(bag->Value("Copies").ToLong(), 7);
    services::client::CommonDialogs::PageSetupArgs page;
    page.leftMargin = 1;
    {
        const DialogDriver driver(DialogDriver::Cancel);
        EXPECT_FALSE(dialogs.VBPageSetupDlg(page, bag->Dispatch()));
        EXPECT_TRUE(driver.Acted());
    }
    EXPECT_EQ(dialogs.APIReturn(), 0);
    EXPECT_EQ(dialogs.ExtendedError(), printer ? 0 : PDERR_NODEFAULTPRN);
    EXPECT_EQ(page.leftMargin, 1);
}

TEST_F(DialogsThroughCom, OpenDialogByNameWithDefaults) {
    const comserver::LateBound dialogs(comserver::CreateObject("Toolcraft.Comdlg"));
    const DialogDriver driver(DialogDriver::Cancel);
    // Only the file name: every optional argument takes its default.
    EXPECT_FALSE(dialogs.Call("VBGetOpenFileName", {Variant("x")}).ToBool());
    EXPECT_TRUE(driver.Acted());
}

TEST(ShowPrograms, ChosenProgramsNameAndFolder) {
    const qvtest::TempFolder temp;
    const std::string& folder = temp.Path();
    const std::string program = folder + "\\editor.exe";
    forms::ReplaceWholeFile(program, "MZ");
    services::clsReg_n_FileAssoc registry;
    {
        const DialogDriver driver(DialogDriver::EnterFileName(program));
        ASSERT_TRUE(registry.ShowPrograms("Browse for programs", "unused", "*.exe"));
        EXPECT_EQ(driver.Title(), "Browse for programs");
    }
    EXPECT_EQ(registry.ProgramFN(), "editor.exe");
    EXPECT_EQ(lstrcmpiA(registry.ProgramFP().c_str(), folder.c_str()), 0) << registry.ProgramFP();
    {
        const DialogDriver driver(DialogDriver::Cancel);
        EXPECT_FALSE(registry.ShowPrograms("Browse for programs", "unused", "*.exe"));
        EXPECT_TRUE(driver.Acted()) << "the dialog was shown and cancelled";
    }
}

}  // namespace
