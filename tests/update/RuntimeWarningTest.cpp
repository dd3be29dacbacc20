#include "update/Module1.h"
#include "update/frmWV.h"

#include "platform/runtime/OwnedHandles.h"
#include "platform/runtime/Settings.h"
#include "tests/platform/forms/FormsTestSupport.h"
#include "tests/support/ShellOpenRecorder.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

std::string Fixture(const char* name) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p = path;
    return p.substr(0, p.find_last_of('\\')) + "\\versions\\" + name + ".exe";
}

TEST(RuntimeVersion, ThresholdOnFilesWithVersionRecords) {
    struct Row {
        const char* file;
        const char* text;
        bool old;
    };
    const Row rows[] = {
        {"v6_0_84_95", "608495", false}, {"v6_0_84_94", "608494", true}, {"v6_0_9_8", "6098", true},
        {"v6_0_100_0", "601000", false}, {"v6_1_0_0", "6100", false},    {"v5_40000_0_0", "54000000", true},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(update::Module1::GetFileVersionString(Fixture(r.file)), r.text) << r.file;
        const auto words = update::Module1::GetProductVersionWords(Fixture(r.file));
        ASSERT_TRUE(words) << r.file;
        EXPECT_EQ(update::protocol::IsOlderRuntime(*words), r.old) << r.file;
    }
    qvtest::TempFolder folder;
    folder.Write("plain.dll", "no version here");
    EXPECT_EQ(update::Module1::GetFileVersionString(folder / "plain.dll"), std::nullopt);
    EXPECT_EQ(update::Module1::GetFileVersionString(folder / "missing.dll"), std::nullopt);
}

TEST(RuntimeWarning, WindowTextsAndTheNeverAgainBox) {
    forms::SettingsRootOverride settings("Software\\QuillviewTest\\update-warning");
    qvtest::ShellOpenRecorder opened;
    int ended = 0;
    update::Module1::EndHook end([&] { ++ended; });
    update::Module1::gRuntimeVersion = "6098";
    auto& wv = forms::Default<frmWV>();
    wv.Show();
    EXPECT_EQ(wv.Label2.Caption(), "Your version number is: 6098");
    {
        // The warning's icon is on the window: its place differs from the window's own colour.
        ASSERT_TRUE(formstest::PumpUntil([&] { return IsWindowVisible(wv.hWnd()); }));
        RedrawWindow(wv.hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        const forms::ScopedGetDC dc(wv.hWnd());
        const COLORREF back = GetPixel(dc.get(), 4, 4);
        const int left = 240 / 15, top = 180 / 15;
        int drawn = 0;
        for (int y = top; y < top + 32; ++y)
            for (int x = left; x < left + 32; ++x) drawn += GetPixel(dc.get(), x, y) != back;
        EXPECT_GT(drawn, 100);
        EXPECT_TRUE(wv.Image1.Picture());
    }
    EXPECT_TRUE(wv.cmdDownload.Default());
    wv.Check1.SetValue(1);
    EXPECT_EQ(forms::GetSetting("QuillviewUpdate", "verig", "verig2"), "1");
    wv.Check1.SetValue(0);
    EXPECT_EQ(forms::GetSetting("QuillviewUpdate", "verig", "verig2", "gone"), "gone");
    wv.cmdDownload_Click();
    wv.Command1_Click();
    ASSERT_EQ(opened.opened.size(), 2u);
    EXPECT_EQ(opened.opened[0].file,
              "http://www.orvane.example/cgi-bin/download.pl?file=http://files.orvane.example/quillview/vbrun60.exe");
    EXPECT_EQ(opened.opened[1].file, "http://www.orvane.example/support/quillview23/");
    EXPECT_EQ(opened.opened[0].show, SW_SHOWNORMAL);
    EXPECT_EQ(ended, 2);
    wv.cmdIgnore_Click();
    EXPECT_FALSE(wv.IsLoaded());
    forms::ReleaseDefault<frmWV>();
}

}  // namespace
