#pragma once
// The full-screen viewer: the main window's picture over the whole monitor that holds the main window, with
// a pop-out panel of folder and file lists and mouse navigation through the folder. Shown modally by the main
// window; one object for the run, and every opening starts again from the design below.
// Its behaviour is split by concern: frmFullscn.cpp (design, opening, menus, lifecycle),
// frmFullscnPicture.cpp (showing a file, fitting, scroll bars, keys), frmFullscnNavigation.cpp (mouse
// navigation, hot strips, panel and lists).

#include "main/windows/ShownHold.h"
#include "platform/foldertree/FolderTree.h"
#include "platform/forms/Form.h"
#include "platform/forms/Menu.h"
#include "platform/forms/Timer.h"
#include "platform/forms/controls/CommandButton.h"
#include "platform/forms/controls/DirListBox.h"
#include "platform/forms/controls/DriveListBox.h"
#include "platform/forms/controls/FileListBox.h"
#include "platform/forms/controls/Frame.h"
#include "platform/forms/controls/HScrollBar.h"
#include "platform/forms/controls/Image.h"
#include "platform/forms/controls/Label.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/controls/Shape.h"
#include "platform/forms/controls/VScrollBar.h"

#include <windows.h>

#include <initializer_list>
#include <string>

namespace fullscn {

// Back colours by their stored word: the viewing area and window, and the info line's text.
struct BackColour {
    const char* stored;
    forms::OleColor back;
    forms::OleColor text;
};

// The size of a picture against the screen in one dimension, all in twips: where the picture goes, how large
// the viewing area is, and whether its scroll bar shows with which Max.
struct AxisFit {
    float imagePos = 0;
    float areaSize = 0;
    bool barVisible = false;
    std::int32_t barMax = 0;
};
AxisFit FitAxis(float imageSize, float screenSize);

// The monitor a window is on (the nearest one), in pixels; the primary monitor without a window.
RECT MonitorRectOf(HWND window);

}  // namespace fullscn

class frmFullscn : public forms::Form {
public:
    frmFullscn();

    // Shows the viewer (the main window: modally, without owner). Its window is made per-monitor DPI aware,
    // so that it covers its monitor pixel for pixel whatever that monitor's DPI. An opening that fails has
    // unloaded the viewer again: nothing is shown then.
    void Show(forms::ShowMode mode = forms::ShowMode::Modeless, forms::Form* owner = nullptr);

    // Removes the check from the seven back-colour entries.
    void ColReset();

    // ======== Design ========
    forms::PictureBox Picture1{*this, "Picture1", {0, -45, 15000, 9015},
                               {.BorderStyle = 0, .BackColor = 0xFF0000}};
    // In Picture1: the info line and the hot strips, with the picture behind them (see StackFrontToBack).
    forms::Label Label1{Picture1, "Label1", {100, 50, 10515, 255},
                        {.BackStyle = forms::backstyle::Transparent, .ForeColor = 0x00FF00,
                         .Font = {.Name = "Arial", .Size = 9}, .UseMnemonic = false}};
    forms::Label Label2{Picture1, "Label2", {0, 0, 19995, 480}, {.BackStyle = forms::backstyle::Transparent}};
    forms::Label Label4{Picture1, "Label4", {0, 1080, 10275, 570}, {.BackStyle = forms::backstyle::Transparent}};
    forms::Label lblMiniOn{Picture1, "lblMiniOn", {45, 45, 195, 8160}, {.BackStyle = forms::backstyle::Transparent}};
    forms::Label lblMiniOff{Picture1, "lblMiniOff", {4575, 390, 1770, 8295},
                            {.BackStyle = forms::backstyle::Transparent}};
    forms::Image Image1{Picture1, "Image1", {30, -75, 6135, 5325}, {}};

    forms::HScrollBar HScroll1{*this, "HScroll1", {0, 10645, 14895, 200}, {.SmallChange = 300, .LargeChange = 1500}};
    forms::VScrollBar VScroll1{*this, "VScroll1", {14580, 0, 200, 10665}, {.SmallChange = 300, .LargeChange = 1500}};
    forms::Timer Tim{*this, "Tim", {.Interval = 0, .Enabled = false}};

    // The panel, in front of everything else when shown.
    forms::Frame Frame1{*this, "Frame1", {165, 1755, 2880, 6010},
                        {.BorderStyle = 0, .BackColor = 0xC0E0FF}, {.Visible = false}};
    forms::Label Label5{Frame1, "Label5", {435, 120, 1395, 210},
                        {.Caption = "MiniBrowser", .BackStyle = forms::backstyle::Transparent,
                         .ForeColor = forms::color::CaptionText, .Font = Bold()}};
    forms::Image Image3{Frame1, "Image3", {105, 105, 255, 255}, {.Stretch = true}, {.ToolTipText = "Click"}};
    forms::Image Image2{Frame1, "Image2", {2190, 120, 225, 225}, {.Stretch = true}, {.ToolTipText = "Click me!"}};
    forms::Shape shpPinOn{Frame1, "shpPinOn", {2205, 105, 240, 240},
                          {.BackStyle = forms::backstyle::Opaque, .BackColor = 0xC0C0C0, .BorderColor = 0xE0E0E0,
                           .BorderWidth = 2},
                          {.Visible = false}};
    forms::CommandButton cmdExit{Frame1, "cmdExit", {2520, 105, 240, 240}, {.Caption = "X", .Font = Bold()},
                                 {.ToolTipText = "Close"}};
    forms::DriveListBox Drive1{Frame1, "Drive1", {90, 420, 2730, 315}, {.BackColor = 0xFFFFC0}, {.Visible = false}};
    forms::DirListBox Dir1{Frame1, "Dir1", {90, 765, 2720, 2340}, {.BackColor = 0xFFFFC0}, {.Visible = false}};
    // The tree covers the places of the two hidden lists, which keep the viewer's drive and folder.
    forms::FolderTree ftvDirs{Frame1, "ftvDirs", {90, 420, 2715, 2670}};
    forms::FileListBox File1{Frame1, "File1", {90, 3135, 2720, 2565},
                             {.Pattern = "*.bmp;*.wmf;*.ico;*.gif;*.jpg", .BackColor = 0xFFFFFF}};
    forms::Label Label3{Frame1, "Label3", {330, 5740, 1275, 210},
                        {.Caption = "Viewing Image", .BackColor = 0xC0E0FF, .Font = Bold()}};
    forms::Label lblNumber{Frame1, "lblNumber", {1575, 5740, 345, 210},
                           {.Caption = "000", .Alignment = forms::alignment::Right, .BackColor = 0xC0E0FF,
                            .Font = Bold()}};
    forms::Label Label6{Frame1, "Label6", {1950, 5740, 180, 210}, {.Caption = "of", .BackColor = 0xC0E0FF, .Font = Bold()}};
    forms::Label lblCount{Frame1, "lblCount", {2160, 5740, 315, 210},
                          {.Caption = "000", .BackColor = 0xC0E0FF, .Font = Bold()}};
    forms::Shape Shape1{Frame1, "Shape1", {75, 60, 2730, 330},
                        {.BackStyle = forms::backstyle::Opaque, .BackColor = forms::color::ActiveCaption,
                         .BorderColor = forms::color::ActiveCaption}};
    forms::Shape Shape2{Frame1, "Shape2", {0, 0, 2895, 6030}, {.BorderWidth = 2}};

    // Front to back, as painted and as the mouse finds them, set at each opening: the panel covers the bars
    // and the viewing area; the path stays readable and the strips react over a picture of any size; the
    // panel's title, icons and pin marker lie on its title band.
    void StackFrontToBack() {
        // Each goes behind the ones before it in its container.
        for (forms::Control* c : std::initializer_list<forms::Control*>{
                 &Frame1, &HScroll1, &VScroll1, &Picture1,                      // on the window
                 &Label1, &Label2, &lblMiniOn, &lblMiniOff, &Label4, &Image1,   // in the viewing area
                 &Label5, &Image3, &Image2, &shpPinOn, &Shape1})                // on the panel
            c->ZOrder(1);
    }

    // ---- Menus: no bar until the top strip shows View and Help ----
    forms::Menu mnuOptions{*this, "mnuOptions", {.Caption = "View", .Visible = false}};
    forms::Menu mnuBackCol{mnuOptions, "mnuBackCol", {.Caption = "Back Colour"}};
    forms::Menu mnuBBlack{mnuBackCol, "mnuBBlack", {.Caption = "Black"}};
    forms::Menu mnuBWhite{mnuBackCol, "mnuBWhite", {.Caption = "White"}};
    forms::Menu mnuBGrey{mnuBackCol, "mnuBGrey", {.Caption = "Grey"}};
    forms::Menu mnuBGreen{mnuBackCol, "mnuBGreen", {.Caption = "Green"}};
    forms::Menu mnuBBlue{mnuBackCol, "mnuBBlue", {.Caption = "Blue"}};
    forms::Menu mnuBRed{mnuBackCol, "mnuBRed", {.Caption = "Red"}};
    forms::Menu mnuBYellow{mnuBackCol, "mnuBYellow", {.Caption = "Yellow"}};
    forms::Menu mnuInfo{mnuOptions, "mnuInfo", {.Caption = "Show Info", .Checked = true}};
    forms::Menu lin{mnuOptions, "lin", {.Caption = "-"}};
    forms::Menu mnuExit{mnuOptions, "mnuExit", {.Caption = "E&xit"}};
    forms::Menu mnuHelp{*this, "mnuHelp", {.Caption = "Help", .Visible = false}};
    forms::Menu mnuContents{mnuHelp, "mnuContents", {.Caption = "Help Contents"}};
    forms::Menu mnuAbout{mnuHelp, "mnuAbout", {.Caption = "About"}};
    forms::Menu mnuIcon{*this, "mnuIcon", {.Caption = "Icon", .Visible = false}};
    forms::Menu mnuExit2{mnuIcon, "mnuExit2", {.Caption = "E&xit"}};

    // The screen in twips: the monitor that holds the main window, read afresh at each use.
    float ScreenTwipsWidth() const;
    float ScreenTwipsHeight() const;

    // ---- Handlers (public so that the main window's tests and the viewer's own can drive them) ----
    void File1_Click();
    void Navigate(int Button);
    void Dir1_Change();
    void Drive1_Change();
    void ftvDirs_FolderChange(const forms::FolderItem& item);
    void Image2_Click();
    void mnuInfo_Click();
    void mnuContents_Click();
    void mnuAbout_Click();
    void mnuExit_Click();
    void BackColour_Click(forms::Menu& entry, const fullscn::BackColour& colour);
    void Form_KeyDown(int& KeyCode, int Shift) override;

protected:
    void Form_Initialize() override;
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(int& Cancel) override;
    void Form_Terminate() override;
    void Form_MouseUp(int Button, int Shift, float X, float Y) override;

private:
    static forms::FontSpec Bold() { return {.Name = "MS Sans Serif", .Size = 8.25f, .Bold = true}; }
    void BindEvents();
    void Opening();
    void ApplyBackColour(const fullscn::BackColour& colour);
    void FitPicture();
    void ShowMenuBar(bool shown);
    void UpdateCounters();
    void PopupFavourites(int Button);

    // Set while the viewer changes a list of the main window or its own, so that a change coming back
    // from the other side is not mirrored again.
    bool mirroring_ = false;
    // The viewer counts as an open secondary window while it is on the screen.
    ShownHold shownHold_;
};
