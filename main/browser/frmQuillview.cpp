#include "main/browser/frmQuillview.h"

#include "main/browser/Artwork.h"
#include "main/core/Module1.h"
#include "main/core/clsIface.h"
#include "platform/forms/Screen.h"
#include "platform/runtime/App.h"
#include "platform/runtime/ErrorSteps.h"
#include "platform/runtime/Paths.h"
#include "platform/runtime/UserPaths.h"

namespace browser {

forms::Extent OnWindow(float left, float top, float width, float height) {
    const float tx = forms::Screen().TwipsPerPixelX();
    const float ty = forms::Screen().TwipsPerPixelY();
    return {left / tx, top / ty, width / tx, height / ty};
}

}  // namespace browser

namespace {

using browser::OnWindow;

constexpr const char* kToolbarTips[] = {"Navigate Back", "Navigate Forward", "Go Home",       "Refresh",
                                        "Directories Toggle", "Full Screen", "Display Mode Toggle", "Options",
                                        "Help Contents", "Capture Screen"};
constexpr float kToolbarLefts[] = {60, 660, 1260, 1860, 2460, 3840, 4440, 5820, 6420, 3240};

std::vector<std::pair<int, forms::SoftButton::Blueprint>> ToolbarDesign() {
    std::vector<std::pair<int, forms::SoftButton::Blueprint>> design;
    for (int i = 0; i < 10; ++i) {
        design.push_back({i, {OnWindow(kToolbarLefts[i], 120, 585, 555), {}, {.ToolTipText = kToolbarTips[i]}}});
    }
    return design;
}

std::vector<std::pair<int, forms::SoftButton::Blueprint>> FileButtonsDesign() {
    constexpr const char* tips[] = {"Delete File", "Copy File", "Move File", "Rename File"};
    std::vector<std::pair<int, forms::SoftButton::Blueprint>> design;
    for (int i = 0; i < 4; ++i) {
        design.push_back({i, {{browser::kFileButtonLeft + static_cast<float>(i) * browser::kFileButtonStep, 60,
                                browser::kFileButtonWidth, 540},
                               {},
                               {.ToolTipText = tips[i]}}});
    }
    return design;
}

forms::Line::Blueprint SeparatorDesign(forms::OleColor colour) {
    const forms::Extent y = OnWindow(0, 60, 10005, 0);
    return {{}, {.X1 = 0, .Y1 = y.Top, .X2 = y.Width, .Y2 = y.Top, .BorderColor = colour}, {}};
}

}  // namespace

frmQuillview::frmQuillview()
    : Form({.Caption = "Quillview",
            .Width = 8690,
            .Height = 6050,
            .Scale = forms::ScaleMode::Pixels,
            .KeyPreview = true}),
      Toolbar{*this, "Toolbar", ToolbarDesign()},
      TilePic{*this, "TilePic", OnWindow(7020, 120, 585, 555), {}, {.ToolTipText = "Tile Mode Toggle"}},
      Picture1{*this, "Picture1", OnWindow(60, 690, 5895, 5160),
               {.AutoRedraw = true, .BorderStyle = 1, .Scale = forms::ScaleMode::Pixels, .BackColor = 0}},
      Image1{Picture1, "Image1", {0, 0, 10, 10},
             {.AutoRedraw = true, .BorderStyle = 0, .Scale = forms::ScaleMode::Pixels, .BackColor = 0}},
      Shape1{Image1, "Shape1", {0, 0, 10, 10}, {.BorderStyle = forms::borderstyle::Dash}, {.Visible = false}},
      lblSelSize{Image1, "lblSelSize", {0, 0, 60, 16}, {.Caption = "size", .BackColor = 0xE0E0E0}, {.Visible = false}},
      aniImg{Picture1, "aniImg", {0, 0, 10, 10}, {}, {.Visible = false}},
      VScroll1{*this, "VScroll1", OnWindow(6795, 750, 210, 5640), {.Min = 0, .SmallChange = 20, .LargeChange = 60}},
      HScroll1{*this, "HScroll1", OnWindow(60, 6420, 6930, 210), {.Min = 0, .SmallChange = 20, .LargeChange = 60}},
      Line2{*this, "Line2", {{1, SeparatorDesign(0xFFFFFF)}}},
      Line9{*this, "Line9", {{1, SeparatorDesign(forms::color::ButtonShadow)}}},
      Image2{*this, "Image2", OnWindow(7695, 255, 1425, 300), {}, {.ToolTipText = "About Quillview..."}},
      imgSplitter{*this, "imgSplitter", OnWindow(7395, 870, 150, 6075), {}, {.MousePointer = forms::pointer::SizeWE}},
      picSplitter{*this, "picSplitter", OnWindow(7290, 750, 60, 5730), {.BorderStyle = 0, .BackColor = 0x808080},
                  {.Visible = false}},
      Drive1{*this, "Drive1", OnWindow(0, 0, 1500, 300), {}, {.Visible = false}},
      Dir1{*this, "Dir1", OnWindow(0, 0, 1500, 1500), {}, {.Visible = false}},
      Text1{*this, "Text1", OnWindow(0, 0, 600, 285), {}, {.Visible = false}},
      FraFiles{*this, "FraFiles", OnWindow(7545, 690, 2595, 9480), {.BorderStyle = 0}},
      lblBTfiles{FraFiles, "lblBTfiles", {45, 0, 2520, 270}, {.BackColor = forms::color::InactiveCaption}},
      imgBrowserTools{FraFiles, "imgBrowserTools",
                      {{0, {{105, 30, 240, 240}, {}, {}}},
                       {1, {{105, 30, 240, 240}, {}, {.Visible = false}}},
                       {2, {{105, 5880, 240, 240}, {}, {}}}}},
      lblBTCap{FraFiles, "lblBTCap", {405, 30, 1500, 225},
               {.Caption = "Directories", .BackStyle = forms::backstyle::Transparent,
                .ForeColor = forms::color::CaptionText}},
      SoftBttn1{FraFiles, "SoftBttn1", {2340, 30, 195, 195}, {}, {.ToolTipText = "Close"}},
      stbBTRefresh{FraFiles, "stbBTRefresh", {1920, 30, 195, 195}, {},
                   {.ToolTipText = "Refresh Browser Tools"}},
      sbtToggleDock{FraFiles, "sbtToggleDock", {2130, 30, 195, 195}, {}, {.ToolTipText = "Toggle Docking"}},
      ftvDirs{FraFiles, "ftvDirs", {45, 285, 2475, 2610}, {}},
      FavList{FraFiles, "FavList", {60, 285, 2460, 2610}, {}, {.Visible = false}},
      File1{FraFiles, "File1", {45, 2895, 2520, 2235},
            {.Pattern = "*.bmp;*.wmf;*.ico;*.gif;*.jpg;*.emf;*.cur", .MultiSelect = forms::multiselect::Extended}},
      Picture2{FraFiles, "Picture2", {30, 5160, 2535, 660}, {.BorderStyle = 0}},
      Fbts{Picture2, "Fbts", FileButtonsDesign()},
      lblBTFiles2{FraFiles, "lblBTFiles2", {45, 5850, 2520, 270}, {.BackColor = forms::color::InactiveCaption}},
      Label3{FraFiles, "Label3", {405, 5880, 1410, 210},
             {.Caption = "Fileseek", .BackStyle = forms::backstyle::Transparent,
              .ForeColor = forms::color::CaptionText}},
      sbtCloseFileseek{FraFiles, "sbtCloseFileseek", {2340, 5880, 195, 195}, {}, {.ToolTipText = "Close"}},
      txtSearch{FraFiles, "txtSearch", {45, 6135, 2520, 240}, {.Text = "Enter search here"}},
      List1{FraFiles, "List1", {45, 6390, 2520, 2670}},
      SB1{*this, "SB1", OnWindow(0, 7000, 9675, 330), {}},
      morwen{*this, "morwen", {.InTray = false}} {
    BindEvents();
}

frmQuillview::~frmQuillview() = default;

void frmQuillview::BindEvents() {
    File1.Click = [this] { File1_Click(); };
    TilePic.Click = [this] { TilePic_Click(); };
    Toolbar.OnEach([this](forms::SoftButton& b) { b.Click = [this, i = b.Index()] { Toolbar_Click(i); }; });
    mnuNorm.Click = [this] { mnuNorm_Click(); };
    mnuCrop.Click = [this] { mnuCrop_Click(); };
    mnuZoommode.Click = [this] { mnuZoommode_Click(); };
    mnuDrag.Click = [this] { mnuDrag_Click(); };
    mnuShowQV.Click = [this] { mnuShowQV_Click(); };
    mnuSave.Click = [this] { mnuSave_Click(); };
    mnuFullscrn.Click = [this] { mnuFullscrn_Click(); };
    mnuExit.Click = [this] { mnuExit_Click(); };
    mnuImages.Click = [this] { mnuImages_Click(); };
    mnuFTs.OnEach([this](forms::Menu& m) { m.Click = [this, i = m.Index()] { mnuFTs_Click(i); }; });
    Dir1.Change = [this] { Dir1_Change(); };
    BindNavigation();
    BindFileCommands();
    BindMenuCommands();
    BindWindowEvents();
}

void frmQuillview::LoadWithoutStartUp() {
    withoutStartUp_ = true;
    Load();
}

void frmQuillview::EnablePictureMenus() {
    mnuClose.SetEnabled(true);
    mnuStatus.SetEnabled(true);
    mnuBackCol.SetEnabled(true);
    mnuTips.SetEnabled(true);
    mnuTips.SetChecked(false);
}

void frmQuillview::PictureShown() {
    Shape1.SetVisible(false);
    lblSelSize.SetVisible(false);
    mnuFullscrn.SetEnabled(true);
}

std::string frmQuillview::ProgramFile() {
    return forms::ProgramFolder() + "\\" + forms::App::EXEName() + ".exe";
}

void frmQuillview::SetToolbarIcon(int button, int iconId) {
    Toolbar(button).SetPicture(browser::ProgramIcon(iconId));
}
