// The toolbar, the clipboard, tools, the Go menu, the tray and the remaining menu commands: their binding,
// and the File, View, Tools and Help commands no other group owns.
#include "main/browser/FileSelection.h"
#include "main/browser/frmQuillview.h"
#include "main/core/Module1.h"
#include "main/core/SettingsNames.h"
#include "main/settings/options.h"
#include "main/windows/frmAbout.h"
#include "main/windows/frmFileseek.h"
#include "main/windows/frmFullscn.h"
#include "main/windows/frmTips.h"
#include "platform/forms/MessageLoop.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Settings.h"

void frmQuillview::BindMenuCommands() {
    mnuFileItem.Click = [this] { mnuFileItem_Click(); };
    mnuClose.Click = [this] { mnuClose_Click(); };
    mnuRefresh.Click = [this] { mnuRefresh_Click(); };
    mnuFileseek.Click = [this] { mnuFileseek_Click(); };
    mnuOptions.Click = [this] { mnuOptions_Click(); };
    mnuHelpcont.Click = [this] { mnuHelpcont_Click(); };
    mnuTips.Click = [this] { mnuTips_Click(); };
    mnuBBlack.Click = [this] { mnuBBlack_Click(); };
    mnuBGrey.Click = [this] { mnuBGrey_Click(); };
    mnuBWhite.Click = [this] { mnuBWhite_Click(); };
    mnuChooseCol.Click = [this] { mnuChooseCol_Click(); };
    mnuUpdate.Click = [this] { mnuUpdate_Click(); };
    mnuAboutItem.Click = [this] { mnuAboutItem_Click(); };
    Image2.Click = [this] { Image2_Click(); };
    Picture1.MouseUp = [this](int Button, int Shift, float X, float Y) { Picture1_MouseUp(Button, Shift, X, Y); };
    Picture2.Click = [this] { Picture2_Click(); };

    mnuEdit.Click = [this] { mnuEdit_Click(); };
    mnuPaste.Click = [this] { mnuPaste_Click(); };
    mnuClear.Click = [this] { mnuClear_Click(); };
    mnuCopyImg.Click = [this] { mnuCopyImg_Click(); };
    mnuEditors.OnEach([this](forms::Menu& m) { m.Click = [this, i = m.Index()] { mnuEditors_Click(i); }; });
    mnuCenter.Click = [this] { mnuCenter_Click(); };
    mnuTileImage.Click = [this] { mnuTileImage_Click(); };
    mnuProp.Click = [this] { mnuProp_Click(); };
    mnuReadme.Click = [this] { mnuReadme_Click(); };

    mnuGoItem.Click = [this] { mnuGoItem_Click(); };
    mnuMail.Click = [this] { mnuMail_Click(); };
    mnuHomepage.Click = [this] { mnuHomepage_Click(); };
    mnuOVSWebsite.Click = [this] { mnuOVSWebsite_Click(); };
    mnuVividimghme.Click = [this] { mnuVividimghme_Click(); };
    mnuTobinMarshLnk.OnEach([this](forms::Menu& m) { m.Click = [this, i = m.Index()] { mnuTobinMarshLnk_Click(i); }; });
    mnuImgWebs.OnEach([this](forms::Menu& m) { m.Click = [this, i = m.Index()] { mnuImgWebs_Click(i); }; });
    mnuImgWebs2.OnEach([this](forms::Menu& m) { m.Click = [this, i = m.Index()] { mnuImgWebs2_Click(i); }; });
    mnuMyWebs.OnEach([this](forms::Menu& m) { m.Click = [this, i = m.Index()] { mnuMyWebs_Click(i); }; });
    mnuLink.OnEach([this](forms::Menu& m) { m.Click = [this, i = m.Index()] { mnuLink_Click(i); }; });
    mnuAddlnkManually.Click = [this] { mnuAddlnkManually_Click(); };
    mnuOpenQVStud.Click = [this] { mnuOpenQVStud_Click(); };
    mnuSubmitweb.Click = [this] { mnuSubmitweb_Click(); };
    mnuUpdateLinks.Click = [this] { mnuUpdateLinks_Click(); };
    mnuEditLinks.Click = [this] { mnuEditLinks_Click(); };

    morwen.MouseUp = [this](int& Button) { morwen_MouseUp(Button); };
    morwen.DblClick = [this](int Button) { morwen_DblClick(Button); };
    mnuAboutQV.Click = [this] { mnuAboutQV_Click(); };
    mnuCloseQV.Click = [this] { mnuCloseQV_Click(); };
}

void frmQuillview::mnuFileItem_Click() {
    browser::EnableFileCommands(*this, !Module1::gCurrentImagePath.empty());
}

bool frmQuillview::ClosePicture() {
    if (!Module1::gImageSaved) {
        const int answer = AskSaveImage();
        if (answer == forms::answer::Yes) {
            // Saved, the picture stays: a second Close closes it.
            mnuSave_Click();
            return false;
        }
        if (answer == forms::answer::Cancel) return false;
    }
    browser::DeselectFile(File1);
    ShowLogo();
    mnuClose.SetEnabled(false);
    return true;
}

void frmQuillview::mnuClose_Click() { ClosePicture(); }

void frmQuillview::mnuRefresh_Click() { Toolbar_Click(3); }

void frmQuillview::mnuFullscrn_Click() { forms::Default<frmFullscn>().Show(forms::ShowMode::Modal); }

void frmQuillview::mnuFileseek_Click() { forms::Default<frmFileseek>().Show(forms::ShowMode::Modeless, this); }

void frmQuillview::mnuOptions_Click() {
    forms::Default<options>().Show(forms::ShowMode::Modal);
    // Whether or not anything was saved.
    ApplyOptions();
}

void frmQuillview::mnuHelpcont_Click() { Module1::ShowHelpContents(); }

void frmQuillview::mnuTips_Click() {
    // The stored choice decides, not the check mark: showing a picture clears the mark whatever was chosen.
    const bool on = forms::GetSettingNumber(settingsnames::kApp, "Options", "Show Tips at Startup", 1) == 1;
    auto& tips = forms::Default<frmTips>();
    if (on) {
        mnuTips.SetChecked(false);
        forms::SaveSetting(settingsnames::kApp, "Options", "Show Tips at Startup", "0");
        // Touching the box of a tips window that is not loaded would load it, hidden, for the rest of the run.
        if (tips.IsLoaded()) tips.chkLoadTipsAtStartup.SetValue(0);
        return;
    }
    mnuTips.SetChecked(true);
    forms::SaveSetting(settingsnames::kApp, "Options", "Show Tips at Startup", "1");
    tips.chkLoadTipsAtStartup.SetValue(1);
    forms::DoEvents();
    ShowStartupTip();
}

void frmQuillview::mnuUpdate_Click() { Module1::LaunchUpdateTool(0); }

void frmQuillview::mnuAboutItem_Click() { forms::Default<frmAbout>().Show(forms::ShowMode::Modal); }

void frmQuillview::Image2_Click() { mnuAboutItem_Click(); }

void frmQuillview::Picture1_MouseUp(int Button, int, float, float) {
    // Image Information's enabled state means a picture is shown.
    if (Tiled_ || !mnuStatus.Enabled() || Button != 2) return;
    PopupMenu(mnuView);
}

void frmQuillview::Picture2_Click() { ftvDirs.SetFocus(); }
