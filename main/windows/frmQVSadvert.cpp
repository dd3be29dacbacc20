#include "main/windows/frmQVSadvert.h"

#include "main/core/Addresses.h"
#include "main/windows/WindowResources.h"
#include "platform/forms/StdPicture.h"
#include "platform/runtime/App.h"
#include "platform/runtime/Shell.h"

namespace {

constexpr forms::OleColor kHeadingColour = 0x91501D;
constexpr forms::OleColor kTextColour = 0x333333;
const forms::FontSpec kTextFont{.Name = "Arial", .Size = 9};

}  // namespace

frmQVSadvert::frmQVSadvert()
    : Form({.Caption = "Quillview Studio",
            .Width = 6600,
            .Height = 4800,
            .Border = forms::BorderStyle::None,
            .ShowInTaskbar = false,
            .StartUp = forms::StartUpPosition::CenterScreen,
            .BackColor = 0xFFFFFF}),
      lblHeading(*this, "lblHeading", {240, 180, 6120, 375},
                 {.Caption = "Coming soon: Quillview Studio", .BackStyle = forms::backstyle::Transparent,
                  .ForeColor = kHeadingColour, .Font = {.Name = "Arial", .Size = 14, .Bold = true}}),
      Line1(*this, "Line1", {}, {.X1 = 240, .Y1 = 660, .X2 = 6360, .Y2 = 660, .BorderColor = kHeadingColour}),
      Shape1(*this, "Shape1", {240, 840, 6120, 1620}, {.BorderColor = 0xE0C8A8}),
      lblFeatures(*this, "lblFeatures", {360, 930, 5880, 1440},
                  {.Caption = "The studio will add to your picture browser:\r\n"
                              "  -  layers and masks, with undo as far back as you like\r\n"
                              "  -  colour balance, sharpening and red-eye tools\r\n"
                              "  -  batch conversion and resizing of whole folders\r\n"
                              "  -  slide shows and web albums made in a few clicks",
                   .BackStyle = forms::backstyle::Transparent, .ForeColor = kTextColour, .Font = kTextFont,
                   .UseMnemonic = false}),
      lblRelease(*this, "lblRelease", {240, 2640, 6120, 615},
                 {.Caption = "This preview shows what is planned for the first release; the features and the "
                             "release date may still change.",
                  .BackStyle = forms::backstyle::Transparent, .ForeColor = kTextColour,
                  .Font = {.Name = "Arial", .Size = 8, .Italic = true}}),
      lblInvite(*this, "lblInvite", {240, 3330, 6120, 495},
                {.Caption = "Visit the web site for news, pictures of the work so far and the date of the release.",
                 .BackStyle = forms::backstyle::Transparent, .ForeColor = kTextColour, .Font = kTextFont}),
      cmdQVWebsite(*this, "cmdQVWebsite", {3600, 4110, 1335, 375}, {.Caption = "Visit Website", .Default = true},
                   {.ToolTipText = "Preview QVS 2000"}),
      cmdCancel(*this, "cmdCancel", {5025, 4110, 1335, 375}, {.Caption = "Exit Preview", .Cancel = true},
                {.ToolTipText = "Exit this dialog"}) {
    cmdCancel.Click = [this] { cmdCancel_Click(); };
    cmdQVWebsite.Click = [this] { cmdQVWebsite_Click(); };
}

void frmQVSadvert::Form_Load() {
    Shape1.ZOrder(1);  // the frame behind the list of features it holds
    dialogOpen_.Follow(hWnd());
    SetPicture(forms::LoadResPicture(windows_res::kAdvertPicture, forms::res_kind::Bitmap));
}

void frmQVSadvert::Form_Unload(int&) { dialogOpen_.Release(); }

void frmQVSadvert::cmdCancel_Click() { Unload(); }

// A shell that cannot open the site has nothing to tell the user here; the box closes either way.
void frmQVSadvert::cmdQVWebsite_Click() {
    forms::ShellOpen({.verb = "Open", .file = addresses::kImagingSite, .directory = forms::App::Path(),
                      .show = SW_SHOWNORMAL, .owner = hWnd()});
    Unload();
}
