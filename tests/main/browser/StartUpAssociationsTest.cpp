// The main window's start-up renews the picture types the user chose, over the real classes root, with the
// names and content types of its own (not the options window's) and the program's icons; a first start makes
// the desktop shortcuts the user asks for.
#include "main/browser/frmQuillview.h"
#include "tests/main/EarlierStart.h"
#include "main/core/Module1.h"
#include "main/core/SettingsNames.h"
#include "platform/runtime/App.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/OwnedHandles.h"
#include "platform/runtime/Paths.h"
#include "platform/runtime/ScriptedAnswerer.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/UserPaths.h"
#include "tests/lib/comserver/TestSupport.h"
#include "tests/main/ClassesRoot.h"
#include "tests/support/Apartment.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The default value (name nullptr) or a named value of a classes-root key; "<none>" when missing.
std::string Value(const std::string& key, const char* name = nullptr) {
    char data[1024] = {};
    DWORD size = sizeof data;
    if (RegGetValueA(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return "<none>";
    return data;
}

bool KeyExists(const std::string& key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    RegCloseKey(opened);
    return true;
}

struct Renewed {
    const char* code;
    const char* extension;
    const char* properName;
    const char* fullName;
    const char* contentType;
    int icon;  // the position of the type's icon in the program file; -1: the file's own icon ("%1")
};

// What the start-up writes for each type; the options window writes other full names and "Image" throughout.
const Renewed kRenewed[] = {
    {"BMP", ".bmp", "Bitmap", "Bitmap File", "Image", 16},
    {"JPG", ".jpg", "Jpeg", "Jpeg Compressed Image", "Image", 10},
    {"GIF", ".gif", "GIF", "Graphics Interchangable Format", "Image", 9},
    {"EMF", ".emf", "EMF", "Enhanced Windows Metafile", "Image", 7},
    {"WMF", ".wmf", "WMF", "Windows Metafile", "Image", 6},
    {"ICO", ".ico", "Icon", "Icon File", "Icon", -1},
    {"CUR", ".cur", "Cursor", "Cursor File", "Cursor", -1},
    {"TGA", ".tga", "TGA", "Truevision Targa", "Image", 14},
    {"PCX", ".pcx", "PCX", "Zsoft Paintbrush", "Image", 12},
    {"TIF", ".tif", "Tiff", "Tagged Image File Format", "Image", 15},
    {"EPS", ".eps", "EPSPrev", "EPS Preview", "Image", 8},
    {"PCT", ".pct", "MacPICT", "Mac Pict", "Image", 11},
    {"PNG", ".png", "PNG", "Portable Network Graphics", "Image", 13},
};

// An icon drawn over white at the system's large icon size, pixel by pixel; empty without an icon.
std::vector<std::uint32_t> Drawn(HICON icon) {
    if (!icon) return {};
    const int size = GetSystemMetrics(SM_CXICON);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB};
    void* bits = nullptr;
    const forms::UniqueBitmap target(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, target.get());
    const RECT all{0, 0, size, size};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    GdiFlush();
    SelectObject(dc, old);
    DeleteDC(dc);
    DestroyIcon(icon);
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    return {pixels, pixels + static_cast<std::size_t>(size) * size};
}

// The icon at a position of the built program, as Explorer shows a type whose icon string names it.
std::vector<std::uint32_t> ProgramIconAt(int index) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string program = forms::FolderOf(self) + "\\" + QV_PROGRAM_RELPATH;
    HICON large = nullptr;
    if (ExtractIconExA(program.c_str(), index, &large, nullptr, 1) != 1) return {};
    return Drawn(large);
}

// A type's icon as the artwork draws it (resources/icons/type-<code>.ico).
std::vector<std::uint32_t> ArtworkIcon(const std::string& code) {
    std::string lower = code;
    for (char& c : lower) c = static_cast<char>(c | 0x20);
    const std::string file = std::string("Z:") + std::getenv("QV_SOURCE_DIR") + "/resources/icons/type-" + lower + ".ico";
    const int size = GetSystemMetrics(SM_CXICON);
    return Drawn(static_cast<HICON>(LoadImageA(nullptr, file.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE)));
}

class StartUpAssociations : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(services_.Registered());
        Module1::gCommandLine.clear();
        qvtest::StoreAnEarlierStartOfThisVersion();
        // Every type is chosen and none is the program's, but GIF, which another program keeps.
        for (const Renewed& type : kRenewed) {
            RegDeleteTreeA(HKEY_CLASSES_ROOT, type.extension);
            RegDeleteTreeA(HKEY_CLASSES_ROOT, type.properName);
            forms::SaveSetting(settingsnames::kApp, "Options", std::string(type.code) + "assc",
                               type.code == std::string("GIF") ? "0" : "1");
        }
        qvtest::SetDefault(".gif", "QuillviewTest.OtherGif");
    }
    void TearDown() override {
        Window().Unload();
        RegDeleteTreeA(HKEY_CLASSES_ROOT, "QuillviewTest.OtherGif");
    }
    static frmQuillview& Window() { return forms::Default<frmQuillview>(); }

    forms::ScriptedAnswerer answers_{[](const std::string& m) { ADD_FAILURE() << m; }};
    const forms::ScopedAnswerer answering_{answers_};
    const qvtest::TempFolder folder_;
    const forms::SettingsRootOverride settings_{std::string(forms::TestSettingsBase) + "StartUpAssociations"};
    const forms::UserPathsOverride paths_{std::nullopt, folder_ / "user"};
    const qvtest::Apartment apartment_;
    const testsupport::RegisteredServer services_{ORCMCLS_DLL};
    const qvtest::ClassesRootKeeper classes_;
};

TEST_F(StartUpAssociations, ChosenTypesAreRenewedWithTheStartUpsOwnNames) {
    Window().Load();
    const std::string program = forms::ProgramFolder() + "\\" + forms::App::EXEName() + ".exe";
    const std::string command = program + " %1";
    for (const Renewed& type : kRenewed) {
        SCOPED_TRACE(type.code);
        if (type.code == std::string("GIF")) {
            EXPECT_EQ(Value(".gif"), "QuillviewTest.OtherGif") << "a type not chosen stays the other program's";
            EXPECT_FALSE(KeyExists("GIF"));
            continue;
        }
        const std::string name = type.properName;
        EXPECT_EQ(Value(type.extension), name);
        EXPECT_EQ(Value(type.extension, "Content Type"), type.contentType);
        EXPECT_EQ(Value(name), type.fullName);
        EXPECT_EQ(Value(name + "\\Shell\\Open\\Command"), command);
        EXPECT_EQ(Value(name + "\\DefaultIcon"), type.icon < 0 ? "%1" : program + "," + std::to_string(type.icon));
    }
}

// The position each type's icon string names holds that type's icon in the program file, so that a file of the
// type shows its own picture, not a neighbour's.
TEST(AssociationIcons, EachPositionHoldsItsTypesIcon) {
    ASSERT_NE(ArtworkIcon("BMP"), ArtworkIcon("JPG")) << "each type has an icon of its own";
    for (const Renewed& type : kRenewed) {
        if (type.icon < 0) continue;
        SCOPED_TRACE(type.code);
        const std::vector<std::uint32_t> artwork = ArtworkIcon(type.code);
        ASSERT_FALSE(artwork.empty());
        EXPECT_TRUE(ProgramIconAt(type.icon) == artwork) << "position " << type.icon << " shows another icon";
    }
}

TEST_F(StartUpAssociations, NothingIsRenewedWhenTheUpkeepIsSwitchedOff) {
    forms::SaveSetting(settingsnames::kApp, "Options", "maintainass", "0");
    Window().Load();
    for (const Renewed& type : kRenewed) {
        if (type.code == std::string("GIF")) continue;
        EXPECT_FALSE(KeyExists(type.extension)) << type.code;
        EXPECT_FALSE(KeyExists(type.properName)) << type.code;
    }
}

// The first start's desktop question, answered Yes: both shortcuts are on the desktop, pointing at the program
// and at the update program, and the question is not asked again.
TEST_F(StartUpAssociations, YesToTheDesktopIconsMakesBothShortcuts) {
    char desktop[MAX_PATH] = {};
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY | CSIDL_FLAG_CREATE, nullptr,
                                           SHGFP_TYPE_CURRENT, desktop)));
    const std::string links[] = {std::string(desktop) + "\\Quillview.lnk",
                                 std::string(desktop) + "\\Quillview Update.lnk"};
    for (const std::string& link : links) DeleteFileA(link.c_str());
    forms::SaveSetting(settingsnames::kApp, "options", "deskicon232", "0");
    answers_.ExpectMsgBox("Add a desktop icon for Quillview and Quillview Update?",
                          forms::mb::YesNo | forms::mb::Question, "Desktop Icons", forms::answer::Yes);
    Window().Load();
    EXPECT_EQ(answers_.Remaining(), 0u);
    for (const std::string& link : links) {
        EXPECT_NE(GetFileAttributesA(link.c_str()), INVALID_FILE_ATTRIBUTES) << link;
        DeleteFileA(link.c_str());
    }
    EXPECT_EQ(forms::GetSetting(settingsnames::kApp, "options", "deskicon232", ""), "1");
}

}  // namespace
