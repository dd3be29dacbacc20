// The main window's start-up renews the picture types the user chose, over the real classes root, with the
// names and content types of its own (not the options window's) and the program's icons; a first start makes
// the desktop shortcuts the user asks for.
#include "main/browser/frmQuillview.h"
#include "tests/main/EarlierStart.h"
#include "main/core/Module1.h"
#include "main/core/SettingsNames.h"
#include "platform/runtime/App.h"
#include "platform/runtime/MsgBox.h"
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
#include <shlobj.h>

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
    const std::string* icon;  // nullptr: "%1"
};

// What the start-up writes for each type; the options window writes other full names and "Image" throughout.
const Renewed kRenewed[] = {
    {"BMP", ".bmp", "Bitmap", "Bitmap File", "Image", &Module1::gIconBMP},
    {"JPG", ".jpg", "Jpeg", "Jpeg Compressed Image", "Image", &Module1::gIconJPG},
    {"GIF", ".gif", "GIF", "Graphics Interchangable Format", "Image", &Module1::gIconGIF},
    {"EMF", ".emf", "EMF", "Enhanced Windows Metafile", "Image", &Module1::gIconEMF},
    {"WMF", ".wmf", "WMF", "Windows Metafile", "Image", &Module1::gIconWMF},
    {"ICO", ".ico", "Icon", "Icon File", "Icon", nullptr},
    {"CUR", ".cur", "Cursor", "Cursor File", "Cursor", nullptr},
    {"TGA", ".tga", "TGA", "Truevision Targa", "Image", &Module1::gIconTGA},
    {"PCX", ".pcx", "PCX", "Zsoft Paintbrush", "Image", &Module1::gIconPCX},
    {"TIF", ".tif", "Tiff", "Tagged Image File Format", "Image", &Module1::gIconTIF},
    {"EPS", ".eps", "EPSPrev", "EPS Preview", "Image", &Module1::gIconEPS},
    {"PCT", ".pct", "MacPICT", "Mac Pict", "Image", &Module1::gIconPCT},
    {"PNG", ".png", "PNG", "Portable Network Graphics", "Image", &Module1::gIconPNG},
};

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
    ASSERT_NE(Module1::gIconBMP, Module1::gIconJPG) << "each type has its own icon";
    const std::string command = forms::ProgramFolder() + "\\" + forms::App::EXEName() + ".exe %1";
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
        EXPECT_EQ(Value(name + "\\DefaultIcon"), type.icon ? *type.icon : "%1");
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
