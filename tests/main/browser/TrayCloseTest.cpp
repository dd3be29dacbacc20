// Close Quillview from the tray, and the end of the session, on the window started as the program starts it:
// the icon stays while the close does not go ahead, so the window can still be brought back from it.
#include "main/browser/frmQuillview.h"
#include "tests/main/EarlierStart.h"
#include "main/core/Module1.h"
#include "main/core/clsIface.h"
#include "platform/runtime/App.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/ScriptedAnswerer.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/UserPaths.h"
#include "tests/lib/comserver/TestSupport.h"
#include "tests/lib/services/DialogDriver.h"
#include "tests/main/TestBitmap.h"
#include "tests/platform/forms/FormsTestSupport.h"
#include "tests/support/Apartment.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

TEST(TrayClose, TheIconStaysUntilTheCloseGoesAhead) {
    const qvtest::Apartment apartment;
    const testsupport::RegisteredServer services(ORCMCLS_DLL);
    ASSERT_TRUE(services.Registered());
    const qvtest::TempFolder folder;
    const forms::SettingsRootOverride settings(std::string(forms::TestSettingsBase) + "TrayClose");
    const forms::UserPathsOverride paths(std::nullopt, folder / "user");
    qvtest::StoreAnEarlierStartOfThisVersion();
    formstest::Script script;
    Module1::gCommandLine.clear();

    struct Row {
        const char* name;
        int saveAnswer;
        bool saveDialog;  // Yes opens the save dialog, cancelled here
        bool closed;
    };
    const Row rows[] = {
        {"Cancel", forms::answer::Cancel, false, false},
        {"Yes, the save cancelled", forms::answer::Yes, true, false},
        {"No", forms::answer::No, false, true},
    };
    auto& w = forms::Default<frmQuillview>();
    w.Load();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(w.IsLoaded());
        w.TrayIconEnabled = true;
        w.TrayIconMode = 1;
        w.ApplyTrayIcon();
        ASSERT_TRUE(w.morwen.Shown());
        Module1::ShowImage(forms::StdPicture::FromBitmap(qvtest::PaintedBitmap(4, 4, {{RECT{0, 0, 4, 4}, 0}})));
        ASSERT_FALSE(Module1::gImageSaved);
        script->ExpectMsgBox("Exit Quillview?", forms::mb::YesNo, forms::App::Title(), forms::answer::Yes);
        script->ExpectMsgBox("The image showing has not been saved, save it now?",
                             forms::mb::YesNoCancel | forms::mb::Exclamation, "Save Image?", row.saveAnswer);
        {
            const DialogDriver save(DialogDriver::Cancel);
            w.mnuCloseQV_Click();
            EXPECT_EQ(save.Acted(), row.saveDialog);
        }
        EXPECT_EQ(script->Remaining(), 0u);
        EXPECT_EQ(w.IsLoaded(), !row.closed);
        if (!row.closed) {
            EXPECT_TRUE(w.morwen.Shown()) << "the icon can still bring the window back";
            EXPECT_TRUE(IsWindowVisible(w.hWnd()));
        }
    }
    Module1::gImageSaved = true;
    w.Unload();
}

// A log-off or shutdown on the window started as the program starts it: the close's question comes at the
// system's query, where Yes and Cancel refuse the end of the session; once the session ends, the close's steps
// keep the state for the next start.
TEST(SessionEnd, AsksAtTheQueryAndKeepsTheStateWhenTheSessionEnds) {
    const qvtest::Apartment apartment;
    const testsupport::RegisteredServer services(ORCMCLS_DLL);
    ASSERT_TRUE(services.Registered());
    const qvtest::TempFolder folder;
    const forms::SettingsRootOverride settings(std::string(forms::TestSettingsBase) + "SessionEnd");
    const forms::UserPathsOverride paths(std::nullopt, folder / "user");
    qvtest::StoreAnEarlierStartOfThisVersion();
    formstest::Script script;
    Module1::gCommandLine.clear();
    const auto stored = [](const char* key) { return forms::GetSetting("Quillview2", "Options", key, "<none>"); };

    struct Row {
        const char* name;
        int saveAnswer;
        bool saveDialog;      // Yes opens the save dialog, cancelled here
        bool agreed;          // the window lets the session end
        bool sessionEnds;     // another program may still refuse it
    };
    const Row rows[] = {
        {"Cancel", forms::answer::Cancel, false, false, false},
        {"Yes, the save cancelled", forms::answer::Yes, true, false, false},
        {"No, another program refuses the end", forms::answer::No, false, true, false},
        {"No", forms::answer::No, false, true, true},
    };
    auto& w = forms::Default<frmQuillview>();
    w.Load();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(w.IsLoaded());
        Module1::ShowImage(forms::StdPicture::FromBitmap(qvtest::PaintedBitmap(4, 4, {{RECT{0, 0, 4, 4}, 0}})));
        ASSERT_FALSE(Module1::gImageSaved);
        script->ExpectMsgBox("The image showing has not been saved, save it now?",
                             forms::mb::YesNoCancel | forms::mb::Exclamation, "Save Image?", row.saveAnswer);
        LRESULT agreed = 0;
        {
            const DialogDriver save(DialogDriver::Cancel);
            agreed = SendMessageA(w.hWnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
            EXPECT_EQ(save.Acted(), row.saveDialog);
        }
        EXPECT_EQ(script->Remaining(), 0u);
        EXPECT_EQ(agreed != FALSE, row.agreed);
        if (row.agreed) SendMessageA(w.hWnd(), WM_ENDSESSION, row.sessionEnds, ENDSESSION_LOGOFF);
        EXPECT_EQ(w.IsLoaded(), !row.sessionEnds) << "no second question at the end";
        EXPECT_EQ(script->Remaining(), 0u);
        EXPECT_EQ(stored("cursormode"), row.sessionEnds ? "0" : "<none>");
        EXPECT_EQ(stored("window"), row.sessionEnds ? "0" : "<none>");
        EXPECT_EQ(stored("Favlist"), row.sessionEnds ? "0" : "<none>");
    }
    Module1::gImageSaved = true;
    if (w.IsLoaded()) w.Unload();
}

// The panel closed at the close: the next start opens it at the width it last had on screen, not at the
// narrowest.
TEST(PanelWidth, AHiddenPanelKeepsItsLastWidthAcrossARestart) {
    const qvtest::Apartment apartment;
    const testsupport::RegisteredServer services(ORCMCLS_DLL);
    ASSERT_TRUE(services.Registered());
    const qvtest::TempFolder folder;
    const forms::SettingsRootOverride settings(std::string(forms::TestSettingsBase) + "PanelWidth");
    const forms::UserPathsOverride paths(std::nullopt, folder / "user");
    qvtest::StoreAnEarlierStartOfThisVersion();
    forms::SaveSetting("Quillview2", "Options", "btwidth", "230");
    forms::SaveSetting("Quillview2", "Options", "browsertools", "0");
    formstest::Script script;
    Module1::gCommandLine.clear();
    Module1::gImageSaved = true;
    auto& w = forms::Default<frmQuillview>();
    w.Load();
    ASSERT_EQ(browser::ToDesignPx(w.FraFiles.Width()), 230);
    w.SoftBttn1_Click();
    ASSERT_EQ(w.FraFiles.Width(), 0) << "hidden";
    w.Unload();
    ASSERT_FALSE(w.IsLoaded());
    EXPECT_EQ(forms::GetSetting("Quillview2", "Options", "btwidth", "<none>"), "230");
    EXPECT_EQ(forms::GetSetting("Quillview2", "Options", "browsertools", "<none>"), "1");

    w.Load();
    w.mInterface->SetBrowserTools(0);
    EXPECT_EQ(browser::ToDesignPx(w.FraFiles.Width()), 230);
    w.Unload();
}

}  // namespace
