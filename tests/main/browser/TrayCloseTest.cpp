// Close Quillview from the tray on the window started as the program starts it: the icon stays while the
// close does not go ahead, so the window can still be brought back from it.
#include "main/browser/frmQuillview.h"
#include "tests/main/EarlierStart.h"
#include "main/core/Module1.h"
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

}  // namespace
