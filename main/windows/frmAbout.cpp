#include "main/windows/frmAbout.h"

#include "main/core/Addresses.h"
#include "main/windows/WindowResources.h"
#include "platform/forms/Screen.h"
#include "platform/forms/StdPicture.h"
#include "platform/runtime/App.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/Shell.h"

namespace {

constexpr forms::OleColor kBackColour = 0x603814;
constexpr int kCornerPixels = 64;

}  // namespace

frmAbout::frmAbout()
    : Form({.Caption = "About Quillview",
            .Width = 6495,
            .Height = 4470,
            .Border = forms::BorderStyle::None,
            .ShowInTaskbar = false,
            .StartUp = forms::StartUpPosition::CenterScreen,
            .BackColor = kBackColour}),
      // The banner reaches the rounded right edge at every DPI; the maker's line sits under its lettering.
      Image1(*this, "Image1", {-30, -30, 6555, 1770}, {.Stretch = true}),
      Label1(*this, "Label1", {3000, 1440, 3045, 375},
             {.Caption = "from Orvane Solutions", .BackStyle = forms::backstyle::Transparent, .ForeColor = 0xC0E0FF,
              .Font = {.Name = "Arial", .Size = 12, .Bold = true}}),
      Label2(*this, "Label2", {930, 2760, 4410, 255},
             {.Caption = std::string("Visit us at ") + addresses::kMakerSite, .Alignment = forms::alignment::Center,
              .BackStyle = forms::backstyle::Transparent, .ForeColor = kLinkColour,
              .Font = {.Name = "Arial", .Size = 9, .Underline = true}, .UseMnemonic = false}),
      Label3(*this, "Label3", {150, 1860, 6195, 255},
             {.Caption = "Browse, view, capture and keep your pictures in order.",
              .Alignment = forms::alignment::Center, .BackStyle = forms::backstyle::Transparent,
              .ForeColor = 0xFFFFFF, .Font = {.Name = "Arial", .Size = 9, .Italic = true}}),
      Label5(*this, "Label5", {150, 3480, 6195, 255},
             {.Caption = "Written and tested by the Quillview team.", .Alignment = forms::alignment::Center,
              .BackStyle = forms::backstyle::Transparent, .ForeColor = 0xE0E0E0,
              .Font = {.Name = "Arial", .Size = 8}}),
      Label7(*this, "Label7", {330, 2130, 5835, 615},
             {.Caption = "Orvane Solutions is happy to offer free technical support to any user of this program and "
                         "will welcome any feedback and suggestions you might have for future versions.",
              .Alignment = forms::alignment::Center, .BackStyle = forms::backstyle::Transparent,
              .ForeColor = 0xFFFFFF, .Font = {.Name = "Arial", .Size = 8}}),
      Label8(*this, "Label8", {1845, 4020, 2400, 210},
             {.Alignment = forms::alignment::Center, .BackStyle = forms::backstyle::Transparent,
              .ForeColor = 0xFFFFFF, .Font = {.Name = "Arial", .Size = 8}}),
      Line1(*this, "Line1", {}, {.X1 = 150, .Y1 = 3360, .X2 = 6345, .Y2 = 3360, .BorderColor = 0xC0E0FF}),
      cmdUpdate(*this, "cmdUpdate", {4800, 3960, 1575, 345}, {.Caption = "Quillview Update"}),
      Command1(*this, "Command1", {150, 3960, 1275, 345}, {.Caption = "OK", .Default = true, .Cancel = true}) {
    cmdUpdate.Click = [this] { cmdUpdate_Click(); };
    Command1.Click = [this] { Command1_Click(); };
    Label2.Click = [this] { Label2_Click(); };
    Label2.MouseMove = [this](int, int, float, float) { Label2.SetForeColor(kLinkHotColour); };
    Label7.MouseMove = [this](int, int, float, float) { Label2.SetForeColor(kLinkColour); };
}

std::string frmAbout::VersionText() {
    return "Quillview " + std::to_string(forms::App::Major()) + "." + std::to_string(forms::App::Minor()) + "." +
           std::to_string(forms::App::Revision());
}

SIZE frmAbout::RegionSize(float widthTwips, float heightTwips, float twipsPerPixelX, float twipsPerPixelY) {
    return {forms::IntDiv(widthTwips, twipsPerPixelX), forms::IntDiv(heightTwips, twipsPerPixelY)};
}

void frmAbout::SetRoundRegion(std::int32_t Mode) {
    if (Mode != 1) {
        SetWindowRgn(hWnd(), nullptr, TRUE);
        return;
    }
    const SIZE size = RegionSize(Width(), Height(), forms::Screen().TwipsPerPixelX(), forms::Screen().TwipsPerPixelY());
    forms::UniqueRegion region(CreateRoundRectRgn(0, 0, size.cx, size.cy, kCornerPixels, kCornerPixels));
    if (!region) return;
    // The window owns a region it took; one it refused stays ours and is freed.
    if (SetWindowRgn(hWnd(), region.get(), TRUE) != 0) region.release();
}

void frmAbout::Form_Load() {
    Image1.ZOrder(1);  // the banner behind the line written on it
    dialogOpen_.Follow(hWnd());
    SetRoundRegion(1);
    Image1.SetPicture(forms::LoadResPicture(windows_res::kAboutBanner, forms::res_kind::Bitmap));
    Label8.SetCaption(VersionText());
}

void frmAbout::Form_Activate() {
    SetRoundRegion(1);
}

void frmAbout::Form_Unload(int&) { dialogOpen_.Release(); }

void frmAbout::Form_MouseMove(int, int, float, float) { Label2.SetForeColor(kLinkColour); }

void frmAbout::cmdUpdate_Click() { Module1::LaunchUpdateTool(0); }

void frmAbout::Command1_Click() { Unload(); }

// A shell that cannot open the page has nothing to tell the user here.
void frmAbout::Label2_Click() {
    forms::ShellOpen({.verb = "Open", .file = addresses::kMakerSite, .directory = forms::App::Path(),
                      .show = SW_SHOWNORMAL, .owner = hWnd()});
}
