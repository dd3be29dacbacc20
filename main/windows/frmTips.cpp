#include "main/windows/frmTips.h"

#include "main/core/SettingsNames.h"
#include "main/windows/WindowResources.h"
#include "platform/forms/Screen.h"
#include "platform/forms/StdPicture.h"
#include "platform/forms/Units.h"
#include "platform/runtime/Settings.h"

#include <cmath>
#include <exception>

namespace {

// A pixel of the 96-DPI design, in twips.
constexpr float kDesignTwipsPerPixel = 15;

}  // namespace

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

// The picture is drawn for the box at 96 DPI: scaled by the screen's DPI like the controls, its heading and
// its frame around the tip lie under them at any DPI (at 96 it is drawn pixel for pixel).
void frmTips::PaintBackground(HDC dc) {
    const forms::StdPicture picture = Picture();
    if (!picture || picture.Type() == forms::PictureType::None) return;
    using forms::Axis;
    using forms::ScaleMode;
    const auto scaled = [](long himetric, Axis axis) {
        const float perPixel = axis == Axis::X ? forms::Screen().TwipsPerPixelX() : forms::Screen().TwipsPerPixelY();
        return static_cast<int>(std::lround(forms::ToPixels(static_cast<float>(himetric), ScaleMode::HiMetric, axis) *
                                            kDesignTwipsPerPixel / perPixel));
    };
    const int before = SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    try {
        picture.Render(dc, 0, 0, scaled(picture.Width(), Axis::X), scaled(picture.Height(), Axis::Y));
    } catch (const std::exception&) {
        // A picture that cannot draw leaves the background; painting must go on.
    }
    SetStretchBltMode(dc, before);
}

void frmTips::cmdNextTip_Click() {
    if (NextTip) NextTip();
}

// Every change counts, also one the main window makes: the setting is the box's state at all times.
void frmTips::chkLoadTipsAtStartup_Click() {
    forms::SaveSetting(settingsnames::kApp, "Options", "Show Tips at Startup",
                       chkLoadTipsAtStartup.Value() == 1 ? "1" : "0");
}

void frmTips::cmdExit_Click() { Unload(); }
