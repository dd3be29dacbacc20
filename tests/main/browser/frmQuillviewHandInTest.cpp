// The main window's side of the single-instance hand-off, driven in this process.
#include "main/browser/frmQuillview.h"
#include "main/core/Module1.h"
#include "main/core/modInstances.h"
#include "platform/runtime/App.h"
#include "platform/runtime/ScriptedAnswerer.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/UserPaths.h"
#include "tests/lib/comserver/TestSupport.h"
#include "tests/main/TestBitmap.h"
#include "tests/support/Apartment.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

class HandIn : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(services_.Registered());
        picture_ = folder_ / "a b.bmp";
        ASSERT_TRUE(qvtest::WriteBitmap(picture_));
        Module1::gCommandLine.clear();
        // This version has run before: the window's start-up checks stay quiet.
        forms::SaveSetting("Quillview", "current_version", "major", std::to_string(forms::App::Major()));
        forms::SaveSetting("Quillview", "current_version", "minor", std::to_string(forms::App::Minor()));
        forms::SaveSetting("Quillview", "current_version", "rev", std::to_string(forms::App::Revision()));
        forms::SaveSetting("Quillview2", "options", "deskicon232", "1");
    }
    void TearDown() override {
        Window().Unload();
    }
    static frmQuillview& Window() { return forms::Default<frmQuillview>(); }

    static void Send(const std::string& bytes) {
        COPYDATASTRUCT record{0, static_cast<DWORD>(bytes.size()), const_cast<char*>(bytes.data())};
        SendMessageA(Window().hWnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record));
    }

    forms::ScriptedAnswerer answers_{[](const std::string& m) { ADD_FAILURE() << m; }};
    const forms::ScopedAnswerer answering_{answers_};
    const qvtest::TempFolder folder_;
    const forms::SettingsRootOverride settings_{std::string(forms::TestSettingsBase) + "HandIn"};
    const forms::UserPathsOverride paths_{std::nullopt, folder_ / "user"};
    const qvtest::Apartment apartment_;
    const testsupport::RegisteredServer services_{ORCMCLS_DLL};
    std::string picture_;
};

TEST_F(HandIn, TheLoadedWindowIsTheRunningInstance) {
    Window().Load();
    EXPECT_TRUE(modInstances::IsInstanceWindow(Window().hWnd()));
    EXPECT_TRUE(IsWindowVisible(Window().hWnd()));
}

TEST_F(HandIn, ThisStartsPictureIsChosenAtLoad) {
    Module1::gCommandLine = "\"" + picture_ + "\"";
    Window().Load();
    EXPECT_EQ(Window().Caption(), "Quillview - a b.bmp");
    EXPECT_EQ(Module1::gCommandLine, "\"" + picture_ + "\"") << "kept: it named a picture";
}

TEST_F(HandIn, ReceivedRecords) {
    struct Case {
        std::string bytes;
        bool chosen;
        bool commandLineKept;  // a record naming no picture clears this start's command line
    };
    const Case cases[] = {
        {"\"" + picture_ + "\"", true, true},     // quoted, as a later start passes it on
        {picture_, true, true},                   // unquoted
        {std::string(1, '\0'), false, true},      // a later start's empty command line: only to the front
        {"\"\"", false, false},                   // two quotes only
        {folder_ / "missing.jpg", false, false}, // no such file
        {folder_.Path(), false, false},           // a folder is no picture
    };
    for (const Case& c : cases) {
        Window().Load();
        Module1::gCommandLine = "start";
        Send(c.bytes);
        EXPECT_EQ(Window().Caption(), c.chosen ? "Quillview - a b.bmp" : "Quillview - Vivid Imaging") << c.bytes;
        EXPECT_EQ(Module1::gCommandLine, c.commandLineKept ? "start" : "") << c.bytes;
        Window().Unload();
    }
}

}  // namespace
