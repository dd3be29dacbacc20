#include "update/frmFix.h"

#include "platform/runtime/MsgBox.h"
#include "platform/runtime/UserPaths.h"
#include "tests/lib/comserver/TestSupport.h"
#include "tests/platform/forms/FormsTestSupport.h"
#include "tests/support/TempFolder.h"
#include "update/Module1.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kCritical = forms::mb::OkOnly | forms::mb::Critical;
const char* const kFiles[] = {"orcmcls.dll", "rvimgctl.dll", "Quillview23.exe", "qvupdate.exe",
                              "qv23hlp.chm", "Readme.txt",  "QVTIPS.QVR"};

std::string Missing(const std::string& name) {
    return "Cannot find a required component or support file. Filename: " + name +
           ". You will need to reinstall Quillview by launching the original setup.";
}

const char* const kFine =
    "Quillview Fix has re-registered all components and checked all the necessary files are present.\r\n\r\nIf you "
    "still get problems please contact: support@orvane.example";
const char* const kCriticalSummary =
    "Errors were detected by Quillview Fix that cannot be resurrected without a FULL RE-INSTALL. Please re-run the "
    "original setup package! For support please contact us; support@orvane.example";

class FixTest : public ::testing::Test {
protected:
    // Lays out the installation, leaving out `missing`; the libraries are the real ones, so that their
    // registration succeeds (and is undone at the end).
    void Install(const std::vector<std::string>& missing) {
        for (const char* name : kFiles) {
            if (std::find(missing.begin(), missing.end(), name) != missing.end()) continue;
            if (std::string(name) == "orcmcls.dll") {
                CopyFileA(ORCMCLS_DLL, (folder_ / name).c_str(), FALSE);
            } else if (std::string(name) == "rvimgctl.dll") {
                CopyFileA(RVIMGCTL_DLL, (folder_ / name).c_str(), FALSE);
            } else {
                folder_.Write(name, "x");
            }
        }
        // A file marked hidden still counts as present.
        SetFileAttributesA((folder_ / "Readme.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    }
    void TearDown() override {
        for (const char* dll : {"orcmcls.dll", "rvimgctl.dll"}) {
            const std::string path = folder_ / dll;
            if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
            testsupport::ServerModule module(path.c_str());
            module.Call("DllUnregisterServer");
        }
        forms::Default<frmFix>().Unload();
        forms::ReleaseDefault<frmFix>();
    }
    void RunFix() {
        auto& fix = forms::Default<frmFix>();
        fix.Show();
        fix.cmdStart_Click();
        EXPECT_FALSE(fix.IsLoaded());
    }

    qvtest::TempFolder folder_;
    forms::UserPathsOverride paths_{folder_.Path(), std::nullopt};
    formstest::Script boxes_;
    int ended_ = 0;
    update::Module1::EndHook end_{[this] { ++ended_; }};
};

TEST_F(FixTest, EverythingPresentShowsOnlyTheSummary) {
    Install({});
    boxes_->ExpectMsgBox(kFine, forms::mb::OkOnly, "QuillviewUpdate", forms::answer::Ok);
    RunFix();
    EXPECT_EQ(ended_, 0);
}

TEST_F(FixTest, MissingFilesAreReportedInOrderThenTheCriticalSummary) {
    struct Row {
        std::vector<std::string> missing;
    };
    const Row rows[] = {
        {{"rvimgctl.dll"}},
        {{"orcmcls.dll", "qvupdate.exe", "QVTIPS.QVR"}},
        {{"Quillview23.exe", "qv23hlp.chm"}},
    };
    for (const auto& row : rows) {
        Install(row.missing);
        for (const auto& name : row.missing) boxes_->ExpectMsgBox(Missing(name), kCritical, "QuillviewUpdate", 1);
        boxes_->ExpectMsgBox(kCriticalSummary, kCritical, "Critical Installation Errors Detected", forms::answer::Ok);
        RunFix();
        EXPECT_EQ(boxes_->Remaining(), 0u);
        TearDown();
        for (const auto& name : folder_.Files()) {
            SetFileAttributesA((folder_ / name).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA((folder_ / name).c_str());
        }
    }
}

TEST_F(FixTest, AFailedRegistrationIsAnError) {
    Install({});
    folder_.Write("rvimgctl.dll", "not a component");
    boxes_->ExpectMsgBox("Cannot register a required component. Filename: rvimgctl.dll. You will need to reinstall "
                         "Quillview by launching the original setup.",
                         kCritical, "QuillviewUpdate", forms::answer::Ok);
    boxes_->ExpectMsgBox(kCriticalSummary, kCritical, "Critical Installation Errors Detected", forms::answer::Ok);
    RunFix();
    DeleteFileA((folder_ / "rvimgctl.dll").c_str());
}

// While a registration runs, the window's timers tick (and it paints), with both buttons off.
TEST_F(FixTest, WaitingForARegistrationKeepsTheWindowAlive) {
    Install({});
    boxes_->ExpectMsgBox(kFine, forms::mb::OkOnly, "QuillviewUpdate", forms::answer::Ok);
    auto& fix = forms::Default<frmFix>();
    fix.Show();
    struct Seen {
        bool during = false;
        bool startOn = true;
        bool cancelOn = true;
    } seen;
    std::function<void()> look = [&] {
        if (!fix.IsLoaded()) return;
        if (fix.lblStatus.Caption() == "Re-registering ActiveX components...") {
            seen = {true, fix.cmdStart.Enabled(), fix.Command1.Enabled()};
            return;
        }
        formstest::Later(look, 10);
    };
    formstest::Later(look, 10);
    fix.cmdStart_Click();
    EXPECT_FALSE(fix.IsLoaded());
    EXPECT_TRUE(seen.during);
    EXPECT_FALSE(seen.startOn);
    EXPECT_FALSE(seen.cancelOn);
}

TEST_F(FixTest, EscapeClosesTheWindow) {
    auto& fix = forms::Default<frmFix>();
    fix.Show();
    EXPECT_TRUE(fix.Command1.Cancel());
    fix.Command1_Click();
    EXPECT_FALSE(fix.IsLoaded());
}

}  // namespace
