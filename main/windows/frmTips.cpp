#include "main/windows/frmTips.h"

#include "main/core/SettingsNames.h"
#include "main/windows/WindowResources.h"
#include "platform/forms/StdPicture.h"
#include "platform/runtime/Settings.h"

frmTips::frmTips()
    : Form({.Caption = "Quillview Tips",
            .Width = 6600,
            .Height = 5130,
            .Border = forms::BorderStyle::FixedToolWindow,
            .ShowInTaskbar = false,
            .StartUp = forms::StartUpPosition::CenterOwner}),
      lblTipText(*this, "lblTipText", {270, 750, 5925, 3330},
                 {.Caption = "Tips are displayed here.", .BackColor = 0xFFFFFF, .ForeColor = 0,
                  .Font = {.Name = "Arial", .Size = 9}, .UseMnemonic = false}),
      cmdNextTip(*this, "cmdNextTip", {3480, 4290, 1335, 375}, {.Caption = "&Next Tip", .Default = true}),
      chkLoadTipsAtStartup(*this, "chkLoadTipsAtStartup", {270, 4335, 2535, 285},
                           {.Caption = "Show Tips at Startup"}),
      cmdExit(*this, "cmdExit", {4890, 4290, 1335, 375}, {.Caption = "Exit", .Cancel = true}) {
    cmdNextTip.Click = [this] { cmdNextTip_Click(); };
    chkLoadTipsAtStartup.Click = [this] { chkLoadTipsAtStartup_Click(); };
    cmdExit.Click = [this] { cmdExit_Click(); };
}

void frmTips::Form_Load() {
    SetPicture(forms::LoadResPicture(windows_res::kTipsBitmap, forms::res_kind::Bitmap));
    dialogOpen_.Follow(hWnd());
}

void frmTips::Form_Unload(int&) { dialogOpen_.Release(); }

void frmTips::cmdNextTip_Click() {
    if (NextTip) NextTip();
}

// Every change counts, also one the main window makes: the setting is the box's state at all times.
void frmTips::chkLoadTipsAtStartup_Click() {
    forms::SaveSetting(settingsnames::kApp, "Options", "Show Tips at Startup",
                       chkLoadTipsAtStartup.Value() == 1 ? "1" : "0");
}

void frmTips::cmdExit_Click() { Unload(); }
