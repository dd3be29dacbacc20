// The image loader on a small test window: small files of each kind from a temporary folder, the picture
// handed in, and the failures with their boxes. The picture buffer library is registered for the run.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "LoaderTestForm.h"
#include "PictureProbe.h"
#include "main/core/Module1.h"
#include "main/core/PictureDecoders.h"
#include "platform/runtime/MsgBox.h"
#include "platform/forms/StdPicture.h"
#include "platform/runtime/App.h"
#include "platform/runtime/Settings.h"
#include "tests/lib/comserver/TestSupport.h"
#include "tests/platform/forms/FormsTestSupport.h"
#include "tests/support/TempFolder.h"
#include "tests/support/Apartment.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

std::string TestFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

// Colour near enough (JPEG moves flat colours by a few levels).
bool Near(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) < 24 && std::abs(GetGValue(a) - GetGValue(b)) < 24 &&
           std::abs(GetBValue(a) - GetBValue(b)) < 24;
}

// Pixel x of the first row of a binary PPM sample of the library's tests.
COLORREF PpmPixel(const char* name, int x) {
    std::ifstream file(TestFolder() + "\\imgEditbuf-data\\" + name, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::size_t at = 0;
    for (int fields = 0; fields < 4 && at < bytes.size(); ++fields) {
        while (at < bytes.size() && std::isspace(static_cast<unsigned char>(bytes[at]))) ++at;
        while (at < bytes.size() && !std::isspace(static_cast<unsigned char>(bytes[at]))) ++at;
    }
    at += 1 + 3 * static_cast<std::size_t>(x);
    if (at + 2 >= bytes.size()) return CLR_INVALID;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    return RGB(byte(at), byte(at + 1), byte(at + 2));
}

class Loader : public testing::Test {
protected:
    static void SetUpTestSuite() {
        apartment_ = std::make_unique<qvtest::Apartment>();
        server_ = std::make_unique<testsupport::RegisteredServer>((TestFolder() + "\\rvimgctl.dll").c_str());
    }
    static void TearDownTestSuite() {
        server_.reset();
        apartment_.reset();
    }

    void SetUp() override {
        Module1::gStatusPanelsReady = false;
        Module1::gCurrentImagePath.clear();
        Module1::gGif87a = 0;
        form_ = forms::New<frmLoaderTest>();
        view_.emplace(*form_);
        form_->Show();
        const std::string samples = TestFolder() + "\\loader-data\\";
        for (const char* name : {"sample.jpg", "sample.bmp", "sample-rle8.rle", "sample89a.gif", "sample87a.gif",
                                 "compuserve.rle", "corrupt.jpg"}) {
            CopyFileA((samples + name).c_str(), (temp_ / name).c_str(), FALSE);
        }
        const std::string library = TestFolder() + "\\imgEditbuf-data\\";
        CopyFileA((library + "png-truecolour.png").c_str(), (temp_ / "sample.png").c_str(), FALSE);
        CopyFileA((library + "tiff-truecolour.tif").c_str(), (temp_ / "sample.tif").c_str(), FALSE);
        CopyFileA((library + "pcx-24bit.pcx").c_str(), (temp_ / "sample.pcx").c_str(), FALSE);
        temp_.Write("notes.xyz", "text");
        // Upper-case names and the longer JPEG extensions.
        CopyFileA((samples + "sample.jpg").c_str(), (temp_ / "UPPER.JPEG").c_str(), FALSE);
        CopyFileA((samples + "sample.jpg").c_str(), (temp_ / "short.jpe").c_str(), FALSE);
        CopyFileA((samples + "sample.bmp").c_str(), (temp_ / "PAINT.DIB").c_str(), FALSE);
        form_->Dir1.SetPath(temp_.Path());
        form_->File1.SetPath(temp_.Path());
    }
    void TearDown() override { form_->Unload(); }

    // Chooses a file of the temporary folder in the file list and shows it.
    void Show(const std::string& name) {
        forms::FileListBox& list = form_->File1;
        list.Refresh();
        for (int i = 0; i < list.ListCount(); ++i) {
            if (list.List(i) == name) list.SetListIndex(i);
        }
        ASSERT_EQ(list.FileName(), name);
        Module1::ShowImage();
    }
    bool Scrolls(const forms::ScrollBar& bar, std::int32_t max) { return bar.Enabled() && bar.Max() == max && bar.Value() == 0; }
    std::string Panel(const std::string& key) { return form_->Text(key); }

    inline static std::unique_ptr<qvtest::Apartment> apartment_;
    inline static std::unique_ptr<testsupport::RegisteredServer> server_;
    const std::string root_ = "Software\\QuillviewTest\\loader_" + std::to_string(GetCurrentProcessId());
    forms::SettingsRootOverride settings_{root_};
    qvtest::TempFolder temp_;
    std::shared_ptr<frmLoaderTest> form_;
    std::optional<Module1::ScopedMainWindowView> view_;
};

TEST_F(Loader, EachKindReachesImage1AtItsPixelSize) {
    struct Row {
        const char* file;
        const char* type;
        const char* text1;
        int width, height;
        COLORREF left, right;  // at (0, 0) and (width - 1, 0)
    };
    // The GIF 87a warning comes once, on the first 87a file.
    formstest::Script script;
    forms::SaveSetting("Quillview2", "Options", "gif87warn", "True");
    const Row rows[] = {
        {"sample.jpg", "Jpeg File", "jpg", 6, 4, kRed, kBlue},
        {"UPPER.JPEG", "Jpeg File", "jpeg", 6, 4, kRed, kBlue},
        {"short.jpe", "Jpeg File", "jpe", 6, 4, kRed, kBlue},
        {"sample.bmp", "Bitmap File", "bmp", 6, 4, kRed, kBlue},
        {"PAINT.DIB", "Bitmap File", "dib", 6, 4, kRed, kBlue},
        {"sample-rle8.rle", "Bitmap File", "rle", 6, 4, kRed, kBlue},
        {"sample89a.gif", "GIF File (89a)", "gif", 6, 4, kRed, kBlue},
        {"sample87a.gif", "GIF File (87a)", "gif", 6, 4, kRed, kBlue},
        // The library's samples beside the pixels other tools read from them.
        {"sample.png", "Portable Network Graphics", "png", 11, 7, PpmPixel("png-truecolour.ppm", 0),
         PpmPixel("png-truecolour.ppm", 10)},
        {"sample.tif", "TIFF File", "tif", 11, 7, PpmPixel("tiff-truecolour.ppm", 0),
         PpmPixel("tiff-truecolour.ppm", 10)},
        {"sample.pcx", "Zsoft Paint", "pcx", 11, 7, PpmPixel("pcx-24bit.ppm", 0), PpmPixel("pcx-24bit.ppm", 10)},
    };
    bool first = true;
    for (const Row& row : rows) {
        form_->calls.clear();
        Show(row.file);
        SCOPED_TRACE(row.file);
        EXPECT_EQ(Module1::gCurrentImagePath, temp_ / row.file);
        EXPECT_EQ(Panel("ftype"), row.type);
        EXPECT_EQ(form_->widths["ftype"], std::string(row.text1) == "png" ? 200 : 100);
        EXPECT_EQ(form_->Text1.Text(), row.text1);
        EXPECT_EQ(Panel("fname"), row.file);
        EXPECT_EQ(Panel("dimen"), std::to_string(row.width) + "x" + std::to_string(row.height));
        EXPECT_EQ(Panel("mode"), "Mode: Actual Size");
        EXPECT_EQ(form_->Caption(), std::string("Quillview - ") + row.file);
        EXPECT_TRUE(Module1::gImageSaved);
        EXPECT_EQ(Module1::gImageWidth, row.width);
        EXPECT_EQ(Module1::gImageHeight, row.height);
        // The first picture makes the status panels and applies the background colour.
        const std::vector<std::string> calls =
            first ? std::vector<std::string>{"ImageSaved", "DoColour", "DisplayImage"}
                  : std::vector<std::string>{"ImageSaved", "DisplayImage"};
        EXPECT_EQ(form_->calls, calls);
        first = false;
        const forms::StdPicture shown = form_->Image1.Picture();
        ASSERT_EQ(shown.Type(), forms::PictureType::Bitmap);
        EXPECT_EQ(BitmapSize(shown).cx, row.width);
        EXPECT_EQ(BitmapSize(shown).cy, row.height);
        EXPECT_EQ(form_->Image1.Width(), row.width);
        {
            EXPECT_TRUE(Near(PixelAt(shown, 0, 0), row.left)) << std::hex << PixelAt(shown, 0, 0);
            EXPECT_TRUE(Near(PixelAt(shown, row.width - 1, 0), row.right)) << std::hex << PixelAt(shown, row.width - 1, 0);
        }
        EXPECT_EQ(form_->MousePointer(), forms::pointer::Default);
    }
    EXPECT_EQ(Module1::gGif87a, 1) << "other kinds leave the GIF kind as it was";
}

TEST_F(Loader, FirstPictureMakesThePanelsInOrderAndCentresSmallPictures) {
    Show("sample.bmp");
    EXPECT_EQ(form_->panelKeys, (std::vector<std::string>{"ftype", "date", "size", "dimen", "fname", "mode"}));
    EXPECT_EQ(form_->calls, (std::vector<std::string>{"ImageSaved", "DoColour", "DisplayImage"}));
    EXPECT_FALSE(form_->logoShown);
    EXPECT_TRUE(Module1::gStatusPanelsReady);
    EXPECT_EQ(Panel("size"), "134 Bytes");
    EXPECT_EQ(form_->widths.count("size"), 0u) << "no width below a kilobyte";
    EXPECT_EQ(form_->widths["date"], 150);
    EXPECT_EQ(form_->widths["dimen"], 120);
    // Centred by the area's inner size, each direction alone; no scroll range for a small picture.
    EXPECT_EQ(form_->Image1.Left(), (400 - 6) / 2.0f);
    EXPECT_EQ(form_->Image1.Top(), (300 - 4) / 2.0f);
    EXPECT_FALSE(form_->VScroll1.Enabled());
    EXPECT_FALSE(form_->HScroll1.Enabled());
    EXPECT_TRUE(form_->mnuClose.Enabled());
    EXPECT_TRUE(form_->mnuTips.Enabled());
    EXPECT_FALSE(form_->mnuTips.Checked());
    EXPECT_TRUE(form_->mnuFullscrn.Enabled());
    EXPECT_FALSE(form_->selectionShown);

    // The panels exist: the next picture adds none.
    form_->calls.clear();
    Show("sample.jpg");
    EXPECT_EQ(form_->panelKeys.size(), 6u);
    EXPECT_EQ(form_->calls, (std::vector<std::string>{"ImageSaved", "DisplayImage"}));
}

TEST_F(Loader, LargePictureGetsScrollRangesTileAndBestFitModes) {
    // 700 x 500 is beyond the 400 x 300 area.
    const auto large = [] {
        const HDC screen = GetDC(nullptr);
        const HBITMAP bitmap = CreateCompatibleBitmap(screen, 700, 500);
        ReleaseDC(nullptr, screen);
        return forms::StdPicture::FromBitmap(bitmap);
    };
    // Fitted into the area, it has nothing to scroll.
    form_->displayMode = 102;
    form_->HScroll1.SetEnabled(true);
    form_->VScroll1.SetEnabled(true);
    Module1::ShowImage(large());
    EXPECT_FALSE(form_->VScroll1.Enabled());
    EXPECT_FALSE(form_->HScroll1.Enabled());
    EXPECT_EQ(Panel("mode"), "Mode: Best Fit");

    form_->displayMode = 101;
    Module1::ShowImage(large());
    // By the area's outer size: 500 - 300 and 700 - 400.
    EXPECT_TRUE(Scrolls(form_->VScroll1, 200));
    EXPECT_TRUE(Scrolls(form_->HScroll1, 300));
    EXPECT_EQ(form_->Image1.Left(), 0);
    EXPECT_EQ(form_->Image1.Top(), 0);
    EXPECT_EQ(Panel("mode"), "Mode: Actual Size");

    form_->tiled = true;
    form_->HScroll1.SetValue(120);
    Show("sample.bmp");
    EXPECT_EQ(Panel("mode"), "Mode: Tile");
    // Tiled: the scroll bars are left as they were.
    EXPECT_TRUE(Scrolls(form_->VScroll1, 200));
    EXPECT_EQ(form_->HScroll1.Value(), 120);
}

TEST_F(Loader, HandedInPictureHasNoFile) {
    Show("sample.bmp");
    form_->calls.clear();
    const HDC screen = GetDC(nullptr);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, 30, 20);
    ReleaseDC(nullptr, screen);
    Module1::ShowImage(forms::StdPicture::FromBitmap(bitmap));
    EXPECT_EQ(Module1::gCurrentImagePath, "");
    EXPECT_FALSE(Module1::gImageSaved);
    EXPECT_FALSE(Module1::gSuppressFileClick);
    EXPECT_EQ(form_->File1.ListIndex(), -1);
    EXPECT_EQ(Panel("fname"), "Unsaved");
    EXPECT_EQ(Panel("size"), "0 Bytes");
    EXPECT_EQ(Panel("ftype"), "Unknown");
    EXPECT_EQ(Panel("dimen"), "30x20");
    EXPECT_EQ(form_->Text1.Text(), "");
    EXPECT_EQ(form_->Caption(), "Quillview - Unsaved Image");
    EXPECT_EQ(form_->calls, (std::vector<std::string>{"ImageStatic", "DisplayImage"}));
}

TEST_F(Loader, FailuresEndOnTheLogo) {
    struct Row {
        const char* file;
        const char* message;  // "" : silent
    };
    const std::string path = temp_.Path() + "\\";
    const Row rows[] = {
        {"corrupt.jpg", ""},
        {"compuserve.rle", "Cannot load Compuserve RLE image formats, OVS does not have the rights for this "
                           "operation. Quillview is only compatible with Windows RLE formats."},
        {"notes.xyz", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        Show("sample.bmp");
        form_->calls.clear();
        formstest::Script script;
        const std::string message = *row.message ? row.message
                                                 : "The file " + path + row.file +
                                                       " is an invalid or unknown image format. The file extension "
                                                       "indicates it should be supported, it may have an incorrect "
                                                       "extension";
        script->ExpectMsgBox(message, forms::mb::OkOnly, forms::App::Title(), forms::answer::Ok);
        Show(row.file);
        EXPECT_EQ(script->Remaining(), 0u);
        EXPECT_EQ(Module1::gCurrentImagePath, "");
        EXPECT_FALSE(Module1::gStatusPanelsReady);
        EXPECT_EQ(form_->panelKeys, std::vector<std::string>{"ftype"});
        EXPECT_NE(form_->Caption(), "Quillview - " + std::string(row.file));
        EXPECT_EQ(form_->MousePointer(), forms::pointer::Default);
        EXPECT_NE(std::find(form_->calls.begin(), form_->calls.end(), "ShowLogo"), form_->calls.end());
    }
}

TEST_F(Loader, VanishedFile) {
    formstest::Script script;
    script->ExpectMsgBox("The selected file cannot be found!", forms::mb::OkOnly, forms::App::Title(), forms::answer::Ok);
    // Listed, then gone before the click reaches the loader.
    temp_.Write("gone.bmp", "");
    form_->File1.Refresh();
    const int listed = form_->File1.ListCount();
    form_->File1.SetListIndex(0);
    for (int i = 0; i < listed; ++i) {
        if (form_->File1.List(i) == "gone.bmp") form_->File1.SetListIndex(i);
    }
    DeleteFileA((temp_ / "gone.bmp").c_str());
    Module1::ShowImage();
    EXPECT_EQ(form_->File1.ListCount(), listed - 1) << "the file list is refreshed";
    EXPECT_EQ(form_->calls, (std::vector<std::string>{"ShowLogo", "ImageStatic"}));
    EXPECT_EQ(Module1::gCurrentImagePath, "");
}

TEST_F(Loader, Gif87aWarnsOnceAndYesOpensItsHelp) {
    const std::string kWarning =
        "Quillview can sometimes give poor performance loading the older 87a GIF file type, for this reason if you "
        "notice poor loading performance for some GIF files we recommend turning OFF 87a animated GIF support in "
        "the 'Advanced' tab of Options. Please note that this does not effect 89a GIF types. Would you like to see "
        "further information on this now?";
    formstest::Script script;
    script->ExpectMsgBox(kWarning, 68, "GIF 87a Support", forms::answer::No);
    Show("sample87a.gif");
    EXPECT_EQ(Module1::gGif87a, 1);
    EXPECT_EQ(forms::GetSetting("Quillview2", "Options", "gif87warn", ""), "True");
    Show("sample87a.gif");
    Show("sample89a.gif");
    EXPECT_EQ(Module1::gGif87a, 0);
    EXPECT_EQ(script->Remaining(), 0u);

    // Yes asks for the GIF topic of the help; without HTML Help that is the help's own question.
    forms::DeleteSetting("Quillview2", "Options", "gif87warn");
    CreateDirectoryA((temp_ / "system").c_str(), nullptr);
    const Module1::SystemFolderOverride noHtmlHelp(temp_ / "system");
    script->ExpectMsgBox(kWarning, 68, "GIF 87a Support", forms::answer::Yes);
    script->ExpectMsgBox("Unfortunately context-sensitive help cannot be initiated because you do not have HTML "
                         "Help installed on your system, would you like to visit a webpage on the Quillview "
                         "Support website for further help?",
                         forms::mb::YesNo | forms::mb::Exclamation, "HTML Help not installed", forms::answer::No);
    Show("sample87a.gif");
    EXPECT_EQ(forms::GetSetting("Quillview2", "Options", "gif87warn", ""), "True");
    EXPECT_EQ(Panel("ftype"), "GIF File (87a)");
}

TEST(PictureDecoders, ChoiceByTheTextAfterTheLastDot) {
    using Module1::PictureDecoder;
    struct Row {
        const char* name;
        PictureDecoder decoder;
    };
    const Row rows[] = {
        {"a.BMP", PictureDecoder::System},      {"a.dib", PictureDecoder::System},
        {"a.rle", PictureDecoder::System},      {"a.Wmf", PictureDecoder::System},
        {"a.emf", PictureDecoder::System},      {"a.ico", PictureDecoder::System},
        {"a.cur", PictureDecoder::System},      {"a.GIF", PictureDecoder::Gif},
        {"a.jpg", PictureDecoder::Jpeg},        {"a.JPEG", PictureDecoder::Jpeg},
        {"a.jpe", PictureDecoder::Jpeg},        {"a.pcx", PictureDecoder::Pcx},
        {"a.png", PictureDecoder::OtherFormats}, {"a.tiff", PictureDecoder::OtherFormats},
        {"a.TIF", PictureDecoder::OtherFormats}, {"a.eps", PictureDecoder::OtherFormats},
        {"a.tga", PictureDecoder::OtherFormats}, {"a.pct", PictureDecoder::OtherFormats},
        {"a.iff", PictureDecoder::OtherFormats}, {"a.txt", PictureDecoder::None},
        {"xjpg", PictureDecoder::None},          {"a.b.peg", PictureDecoder::None},
    };
    for (const Row& row : rows) EXPECT_EQ(Module1::DecoderFor(row.name), row.decoder) << row.name;
}

TEST(PictureDecoders, SizeText) {
    const std::pair<std::int64_t, const char*> rows[] = {
        {0, "0 Bytes"}, {1023, "1023 Bytes"}, {1024, "1Kb"}, {2047, "1Kb"}, {2048, "2Kb"},
        {6'000'000'000LL, "5859375Kb"},
    };
    for (const auto& [bytes, text] : rows) EXPECT_EQ(Module1::FileSizeText(bytes), text);
}

}  // namespace

namespace {

// The picture buffer library missing from the registry: its own formats fail with 429, the others load.
TEST_F(Loader, WithoutThePictureLibrary) {
    const testsupport::ServerModule library((TestFolder() + "\\rvimgctl.dll").c_str());
    ASSERT_EQ(library.Call("DllUnregisterServer"), S_OK);
    {
        formstest::Script script;
        script->ExpectMsgBox("The PCX file format is not supported on this system", forms::mb::Critical,
                             "Image Load Error", forms::answer::Ok);
        Show("sample.pcx");
        EXPECT_EQ(form_->calls, (std::vector<std::string>{"ShowLogo", "CheckPCXSupport"}));
        EXPECT_EQ(Module1::gCurrentImagePath, "");
    }
    for (const char* name : {"sample.bmp", "sample.jpg", "sample89a.gif"}) {
        form_->calls.clear();
        Show(name);
        EXPECT_EQ(Panel("fname"), name);
        EXPECT_EQ(form_->calls.back(), "DisplayImage") << name;
    }
    {
        // No registration tool: the repair stops with its box.
        CreateDirectoryA((temp_ / "system").c_str(), nullptr);
        const Module1::SystemFolderOverride folder(temp_ / "system");
        formstest::Script script;
        script->ExpectMsgBox("The following formats are not supported on your system due to an installation "
                             "failure: 'eps', 'png', 'tga', 'pct', 'tif'\r\n\r\nClick OK and Quillview will "
                             "attempt to fix the problem.",
                             forms::mb::Critical, "Image Load Error", forms::answer::Ok);
        script->ExpectMsgBox("Cannot find regsvr32.exe in the Windows system directory! Please reinstall Quillview.",
                             forms::mb::OkOnly, forms::App::Title(), forms::answer::Ok);
        Show("sample.png");
    }
    {
        // The system's registration tool on the program folder's library: the class can be made again.
        formstest::Script script;
        script->ExpectMsgBox("The following formats are not supported on your system due to an installation "
                             "failure: 'eps', 'png', 'tga', 'pct', 'tif'\r\n\r\nClick OK and Quillview will "
                             "attempt to fix the problem.",
                             forms::mb::Critical, "Image Load Error", forms::answer::Ok);
        script->ExpectMsgBox("Quillview has now checked for the component's presence in your windows system "
                             "directory and has registered it to the system.\r\n\r\nPlease try loading the image "
                             "again, if it fails please feel free to contact support",
                             forms::mb::Exclamation, forms::App::Title(), forms::answer::Ok);
        form_->calls.clear();
        Show("sample.tif");
        EXPECT_EQ(form_->calls, std::vector<std::string>{"ShowLogo"});
    }
    // Registered again: the picture loads.
    Show("sample.tif");
    EXPECT_EQ(Panel("ftype"), "TIFF File");
}

}  // namespace
