#pragma once
// The main window started as the program starts it (its whole start-up, on a settings store of the test's
// own that an earlier start of this version has left), every box scripted; each test starts and closes it.

#include "main/browser/frmQuillview.h"
#include "main/core/Module1.h"
#include "main/core/SettingsNames.h"
#include "main/core/modInstances.h"
#include "main/windows/frmFullscn.h"
#include "main/windows/frmSettingUp.h"
#include "platform/runtime/ScriptedAnswerer.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/UserPaths.h"
#include "tests/lib/comserver/TestSupport.h"
#include "tests/main/EarlierStart.h"
#include "tests/platform/forms/FormsTestSupport.h"
#include "tests/support/Apartment.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace browsertest {

inline frmQuillview& Window() { return forms::Default<frmQuillview>(); }

// Brings a top-level window to the front with the focus (topmost, so that other tests' windows stay behind
// it), so that synthesized input reaches it.
inline bool InFront(HWND window) {
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(window);
    return formstest::PumpUntil([&] { return GetForegroundWindow() == window; }, 3000);
}

class StartedWindow : public ::testing::Test {
protected:
    explicit StartedWindow(const char* settingsName)
        : settings_(std::string(forms::TestSettingsBase) + settingsName) {}

    void SetUp() override {
        ASSERT_TRUE(services_.Registered());
        Module1::gImageSaved = true;
        qvtest::StoreAnEarlierStartOfThisVersion();
        Store("Options", "maintainass", "0");
        Store("Options", "Show Tips at Startup", "0");
        Store("Interface", "Startdir", folder_.Path());
    }
    void TearDown() override {
        Module1::gImageSaved = true;
        if (Window().IsLoaded()) Window().Unload();
        forms::Default<frmFullscn>().Unload();
        forms::Default<frmSettingUp>().Unload();
    }

    static void Store(const char* section, const char* key, const std::string& value) {
        forms::SaveSetting(settingsnames::kApp, section, key, value);
    }
    static std::string Stored(const char* section, const char* key) {
        return forms::GetSetting(settingsnames::kApp, section, key, "<none>");
    }

    // A start as the program makes it, with the fields of a new window and the shared state of a new process
    // (both outlive the window's load here).
    static void Start(const std::string& commandLine = {}) {
        Module1::gCommandLine = commandLine;
        Module1::gCurrentImagePath.clear();
        Module1::gStatusPanelsReady = false;
        Module1::gStartedFullScreen = false;
        Window().CursorMode = 0;
        Window().DragDivisor = 20;
        Window().Load();
        ASSERT_TRUE(modInstances::IsInstanceWindow(Window().hWnd())) << "the whole start-up ran";
    }

    forms::ScriptedAnswerer answers_{[](const std::string& m) { ADD_FAILURE() << m; }};
    const forms::ScopedAnswerer answering_{answers_};
    const qvtest::TempFolder folder_;
    const forms::SettingsRootOverride settings_;
    const forms::UserPathsOverride paths_{std::nullopt, folder_ / "user"};
    const qvtest::Apartment apartment_;
    const testsupport::RegisteredServer services_{ORCMCLS_DLL};
};

}  // namespace browsertest
