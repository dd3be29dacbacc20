// The close of the main window: the save prompt, then the state the next start restores.
#include "main/browser/frmQuillview.h"
#include "main/core/Module1.h"
#include "main/core/SettingsNames.h"
#include "main/core/clsHelp.h"
#include "main/core/clsIface.h"
#include "main/core/clsVarMenus.h"
#include "main/core/modInstances.h"
#include "main/windows/frmCap.h"
#include "main/windows/frmCrop.h"
#include "main/windows/frmSettingUp.h"
#include "platform/runtime/ErrorSteps.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Settings.h"
#include "platform/subclass/Subclasser.h"

#include <sstream>

namespace {

using settingsnames::kApp;

// Decimal text of a single-precision value, as the start-up reads it back.
std::string SingleText(float value) {
    std::ostringstream out;
    out.precision(7);
    out << value;
    return out.str();
}

}  // namespace

int frmQuillview::AskSaveImage() {
    return forms::MsgBox("The image showing has not been saved, save it now?",
                         forms::mb::YesNoCancel | forms::mb::Exclamation, "Save Image?");
}

bool frmQuillview::KeptBySaveQuestion() {
    // Yes saves and keeps the window open; the user closes again to leave.
    bool kept = false;
    forms::IgnoringErrors([&] {
        if (Module1::gImageSaved) return;
        const int answer = AskSaveImage();
        if (answer == forms::answer::Yes) {
            kept = true;
            mnuSave_Click();
        } else if (answer == forms::answer::Cancel) {
            kept = true;
        }
    });
    return kept;
}

void frmQuillview::Form_QueryUnload(int& Cancel, int UnloadMode) {
    // A session about to end asks as a close does, and Yes or Cancel refuse its end: the close's own question
    // comes too late then, when nothing can be refused.
    if (UnloadMode == forms::unloadmode::AppWindows && !withoutStartUp_ && KeptBySaveQuestion()) Cancel = 1;
}

void frmQuillview::Form_Unload(int& Cancel) {
    using forms::IgnoringErrors;
    if (withoutStartUp_) {
        mInterface.reset();
        return;
    }
    // 1: asked at the query when the session ends.
    if (!SessionEnding() && KeptBySaveQuestion()) {
        Cancel = 1;
        return;
    }
    // 2: the instance role goes before anything is written.
    IgnoringErrors([&] { subclass::UnsubscribeMessage(*this, hWnd(), WM_COPYDATA); });
    IgnoringErrors([] { modInstances::ReleaseInstanceMutex(); });
    // 3: a hidden panel keeps the width it was last shown with, as at its hiding.
    IgnoringErrors([&] {
        if (mInterface && FraFiles.Width() > 10) {
            mInterface->SetBrowserToolsWidth(browser::ToDesignPx(FraFiles.Width()));
        }
    });
    // 4: placement only in the normal state, so a maximised close keeps the restore rectangle.
    IgnoringErrors([&] {
        const int state = WindowState();
        forms::SaveSetting(kApp, "Options", "window", std::to_string(state));
        if (state == 0) {
            forms::SaveSetting(kApp, "Options", "left", SingleText(Left()));
            forms::SaveSetting(kApp, "Options", "top", SingleText(Top()));
            forms::SaveSetting(kApp, "Options", "width", SingleText(Width()));
            forms::SaveSetting(kApp, "Options", "height", SingleText(Height()));
        }
    });
    // 5
    IgnoringErrors([&] { forms::SaveSetting(kApp, "Options", "cursormode", std::to_string(CursorMode)); });
    // 6: the interface state stores its keys when it is released here, not when the process ends.
    IgnoringErrors([&] {
        if (mInterface) mInterface->Release();
    });
    mInterface.reset();
    // 7: the imaging sites are the update program's list: never saved here.
    IgnoringErrors([] { Module1::gEditorsMenu().SaveMenu(); });
    IgnoringErrors([] { Module1::gMyWebsMenu().SaveMenu(); });
    // 8
    IgnoringErrors([&] {
        if (forms::GetSettingNumber(kApp, "Options", "LastDirectory", 0) == 1) {
            forms::SaveSetting(kApp, "Interface", "Startdir", Dir1.Path());
        }
    });
    // 9: a capture still armed (waiting for its key or its time) goes with the window.
    IgnoringErrors([] { forms::Default<frmCap>().Unload(); });
    IgnoringErrors([] { forms::Default<frmCrop>().Unload(); });
    IgnoringErrors([] { forms::Default<frmSettingUp>().Unload(); });
    // 10
    IgnoringErrors([] { Module1::gHelp().CloseAll(); });
    // 11
    morwen.SetShown(false);
    // 12
    IgnoringErrors([&] { forms::SaveSetting(kApp, "Options", "Favlist", FavList.Visible() ? "1" : "0"); });
}

void frmQuillview::mnuExit_Click() { Unload(); }
