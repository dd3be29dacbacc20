#pragma once
// The main window with its design but without the start-up, shown in front, showing no picture yet, with
// its own settings and per-user folders and every box scripted.

#include "main/browser/frmQuillview.h"
#include "main/core/Module1.h"
#include "platform/runtime/ScriptedAnswerer.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/UserPaths.h"
#include "tests/platform/comctl/ComctlTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace browsertest {

inline frmQuillview& Window() { return forms::Default<frmQuillview>(); }

class ShownWindow : public ::testing::Test {
protected:
    enum class ProgramFolder { Installed, TheTestsFolder };

    explicit ShownWindow(const char* settingsName, ProgramFolder program = ProgramFolder::Installed)
        : settings_(std::string(forms::TestSettingsBase) + settingsName),
          paths_(program == ProgramFolder::TheTestsFolder ? std::optional<std::string>(folder_.Path()) : std::nullopt,
                 folder_ / "user") {}

    void SetUp() override {
        Module1::gCommandLine.clear();
        Module1::gCurrentImagePath.clear();
        frmQuillview& w = Window();
        w.SetLogoShown(false);
        w.Tiled_ = false;
        w.DisplayMode_ = 101;
        w.LoadWithoutStartUp();
        w.Move(600, 600, 12000, 9000);
        w.Show();
        ASSERT_TRUE(comctltest::BringToFront(w.hWnd()));
    }
    void TearDown() override { Window().Unload(); }

    forms::ScriptedAnswerer answers_{[](const std::string& m) { ADD_FAILURE() << m; }};
    const forms::ScopedAnswerer answering_{answers_};
    const qvtest::TempFolder folder_;
    const forms::SettingsRootOverride settings_;
    const forms::UserPathsOverride paths_;
};

}  // namespace browsertest
