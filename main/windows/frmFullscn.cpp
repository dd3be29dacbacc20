// The viewer's design, its opening, its menus and its lifecycle.

#include "main/windows/frmFullscn.h"

#include "main/core/MainWindowView.h"
#include "main/core/Module1.h"
#include "main/core/SettingsNames.h"
#include "main/windows/PerMonitorDpi.h"
#include "main/windows/WindowResources.h"
#include "main/windows/frmAbout.h"
#include "platform/forms/EventErrorBoundary.h"
#include "platform/forms/StdPicture.h"
#include "platform/forms/Screen.h"
#include "platform/forms/controls/DirListBox.h"
#include "platform/forms/controls/FileListBox.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/ErrorSteps.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Settings.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace fullscn {
namespace {

using settingsnames::kApp;

// In the order the opening compares the stored word.
constexpr std::array<BackColour, 7> kBackColours{{
    {"Black", 0x000000, 0x00FF00},
    {"White", 0xFFFFFF, 0x000000},
    {"Yellow", 0x00FFFF, 0x0000FF},
    {"Green", 0x00FF00, 0xFF0000},
    {"Blue", 0xFF0000, 0x00FFFF},
    {"Red", 0x0000FF, 0xFF0000},
    {"Grey", 0xC0C0C0, 0x000000},
}};

const BackColour& Colour(const char* stored) {
    for (const BackColour& c : kBackColours)
        if (std::string(c.stored) == stored) return c;
    throw forms::RuntimeError(5);
}

// A setting that the opening takes as a number: a word that is no number is a type mismatch, as it was
// always reported to the user.
double NumberSetting(const char* section, const char* key) {
    const std::string text = forms::GetSetting(kApp, section, key, "0");
    if (!forms::IsNumeric(text)) throw forms::RuntimeError(13);
    return forms::ToDouble(text);
}

}  // namespace

RECT MonitorRectOf(HWND window) {
    HMONITOR monitor = window ? MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)
                              : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (monitor && GetMonitorInfoA(monitor, &info)) return info.rcMonitor;
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

}  // namespace fullscn

frmFullscn::frmFullscn()
    : Form({.Caption = "Full Screen", .Width = 15000, .Height = 10800, .Border = forms::BorderStyle::None,
            .ControlBox = false, .MinButton = false, .MaxButton = false, .ShowInTaskbar = false,
            .StartUp = forms::StartUpPosition::Manual, .WindowState = forms::windowstate::Maximized,
            .BackColor = 0x808080, .KeyPreview = true}) {
    BindEvents();
}

void frmFullscn::Show(forms::ShowMode mode, forms::Form* owner) {
    {
        const PerMonitorDpiScope perMonitor;
        Load();
    }
    if (IsLoaded()) Form::Show(mode, owner);
}

void frmFullscn::BindEvents() {
    using fullscn::Colour;
    const std::vector<std::pair<forms::Menu*, const char*>> colours{
        {&mnuBBlack, "Black"}, {&mnuBWhite, "White"}, {&mnuBGrey, "Grey"},     {&mnuBGreen, "Green"},
        {&mnuBBlue, "Blue"},   {&mnuBRed, "Red"},     {&mnuBYellow, "Yellow"},
    };
    for (const auto& [entry, stored] : colours)
        entry->Click = [this, entry, &c = Colour(stored)] { BackColour_Click(*entry, c); };
    mnuInfo.Click = [this] { mnuInfo_Click(); };
    mnuContents.Click = [this] { mnuContents_Click(); };
    mnuAbout.Click = [this] { mnuAbout_Click(); };
    mnuExit.Click = [this] { mnuExit_Click(); };
    mnuExit2.Click = [this] { mnuExit_Click(); };

    Tim.Tick = [this] { Tim.SetEnabled(false); };
    File1.Click = [this] { File1_Click(); };
    Dir1.Change = [this] { Dir1_Change(); };
    Drive1.Change = [this] { Drive1_Change(); };
    Image2.Click = [this] { Image2_Click(); };

    HScroll1.Change = HScroll1.Scroll = [this] { Image1.SetLeft(-static_cast<float>(HScroll1.Value())); };
    VScroll1.Change = VScroll1.Scroll = [this] { Image1.SetTop(-static_cast<float>(VScroll1.Value())); };
    // A scroll bar never keeps the focus, so that the keys keep reaching the window.
    HScroll1.GotFocus = VScroll1.GotFocus = [this] { Picture1.SetFocus(); };

    const auto navigate = [this](int Button, int, float, float) { Navigate(Button); };
    Image1.MouseUp = Picture1.MouseUp = lblMiniOn.MouseUp = lblMiniOff.MouseUp = navigate;

    Label2.MouseMove = [this](int, int, float, float) { ShowMenuBar(true); };
    Image1.MouseMove = Picture1.MouseMove = Label4.MouseMove = [this](int, int, float, float) { ShowMenuBar(false); };
    lblMiniOff.MouseMove = [this](int, int, float, float) {
        ShowMenuBar(false);
        if (!shpPinOn.Visible()) Frame1.SetVisible(false);
    };
    lblMiniOn.MouseMove = [this](int, int, float, float) {
        if (!shpPinOn.Visible()) Frame1.SetVisible(true);
    };

    cmdExit.Click = [this] {
        Module1::gStartedFullScreen = false;
        Module1::gFullScreenOpen = false;
        Unload();
    };
    cmdExit.MouseUp = [this](int, int, float, float) {
        if (IsLoaded()) Dir1.SetFocus();
    };
    Label1.Click = Label4.Click = Image3.DblClick = [this] { Unload(); };
    Image3.MouseDown = [this](int Button, int, float, float) {
        if (Button == forms::button::Left) PopupMenu(mnuIcon, 4);
    };
    Dir1.MouseUp = File1.MouseUp = ftvDirs.MouseUp = [this](int Button, int, float, float) { PopupFavourites(Button); };
    ftvDirs.FolderChange = [this](const forms::FolderItem& item) { ftvDirs_FolderChange(item); };
}

float frmFullscn::ScreenTwipsWidth() const {
    const RECT r = fullscn::MonitorRectOf(Module1::MainWindow().LoaderWindow().hWnd());
    return static_cast<float>(r.right - r.left) * forms::Screen().TwipsPerPixelX();
}

float frmFullscn::ScreenTwipsHeight() const {
    const RECT r = fullscn::MonitorRectOf(Module1::MainWindow().LoaderWindow().hWnd());
    return static_cast<float>(r.bottom - r.top) * forms::Screen().TwipsPerPixelY();
}

void frmFullscn::Form_Initialize() {}

void frmFullscn::Form_Load() {
    StackFrontToBack();
    shownHold_.Follow(hWnd());
    // A module without the panel's icons (a test of another window) still shows pictures.
    forms::IgnoringErrors([&] { Image2.SetPicture(forms::LoadResPicture(windows_res::kPinIcon, forms::res_kind::Icon)); });
    forms::IgnoringErrors(
        [&] { Image3.SetPicture(forms::LoadResPicture(windows_res::kViewerIcon, forms::res_kind::Icon)); });
    Tim.SetInterval(300);
    Tim.SetEnabled(true);
    Opening();
}

// Each step may fail on its own: a missing array element (381) is passed over, anything else ends the
// opening with the error's description and closes the viewer.
void frmFullscn::Opening() {
    Module1::MainWindowView& main = Module1::MainWindow();
    const std::vector<std::function<void()>> steps{
        [&] {
            const RECT r = fullscn::MonitorRectOf(main.LoaderWindow().hWnd());
            Move(static_cast<float>(r.left) * forms::Screen().TwipsPerPixelX(),
                 static_cast<float>(r.top) * forms::Screen().TwipsPerPixelY(), ScreenTwipsWidth(),
                 ScreenTwipsHeight());
        },
        [&] {
            const float sh = ScreenTwipsHeight();
            lblMiniOff.SetTop(0);
            lblMiniOff.SetHeight(sh);
            lblMiniOn.SetTop(0);
            lblMiniOn.SetHeight(sh);
            lblMiniOn.SetLeft(0);
            Label4.SetWidth(ScreenTwipsWidth());
        },
        [&] { Module1::gFullScreenOpen = true; },
        [&] {
            // The viewer takes the main window's place; nothing goes back while it does.
            mirroring_ = true;
            struct Done {
                bool& flag;
                ~Done() { flag = false; }
            } done{mirroring_};
            const std::string folder = main.FolderPath();
            Dir1.SetPath(folder);
            if (folder.size() >= 2 && folder[1] == ':') Drive1.SetDrive(folder.substr(0, 2));
            File1.SetPath(Dir1.Path());
        },
        [&] {
            const std::string stored = forms::GetSetting(fullscn::kApp, "FullScreen", "Colour", "Black");
            for (const fullscn::BackColour& c : fullscn::kBackColours) {
                if (stored != c.stored) continue;
                ApplyBackColour(c);
                for (forms::Menu* m : {&mnuBBlack, &mnuBWhite, &mnuBYellow, &mnuBGreen, &mnuBBlue, &mnuBRed, &mnuBGrey})
                    if (m->Caption() == c.stored) m->SetChecked(true);
                break;
            }
        },
        [&] {
            const std::string info = forms::GetSetting(fullscn::kApp, "FullScreen", "Info", "On");
            if (info == "On") {
                Label1.SetVisible(true);
                mnuInfo.SetChecked(true);
            } else if (info == "Off") {
                Label1.SetVisible(false);
                mnuInfo.SetChecked(false);
            }
        },
        [&] {
            if (fullscn::NumberSetting("Options", "fsmbal") == 1) {
                Image2_Click();
                Frame1.SetVisible(true);
            }
        },
        [&] {
            if (fullscn::NumberSetting("Options", "greymode") != 1) return;
            Frame1.SetBackColor(0x808080);
            Drive1.SetBackColor(0xE0E0E0);
            Dir1.SetBackColor(0xE0E0E0);
            File1.SetBackColor(0xE0E0E0);
            for (forms::Label* l : {&Label3, &Label6, &lblNumber, &lblCount}) l->SetBackColor(0x808080);
            for (forms::Label* l : {&Label3, &Label6, &lblCount, &lblNumber}) l->SetForeColor(0xFFFFFF);
        },
        [&] { Label1.SetCaption(Module1::gCurrentImagePath); },
        [&] {
            Picture1.SetWidth(ScreenTwipsWidth() - 200);
            Picture1.SetHeight(ScreenTwipsHeight() - 200);
        },
        // The same picture object as the main window's: no file is read.
        [&] { Image1.SetPicture(main.PictureHolder().Picture()); },
        [&] {
            // Placed from the corner like every later picture, so that it agrees with scroll values of 0.
            Picture1.Move(0, 0, Picture1.Width(), Picture1.Height());
            Image1.Move(0, 0, Image1.Width(), Image1.Height());
            FitPicture();
        },
        [&] {
            Frame1.SetLeft(lblMiniOn.Width());
            if (Frame1.Top() + Frame1.Height() > ScreenTwipsHeight()) Frame1.SetTop(Frame1.Top() / 4);
        },
        [&] { File1.SetPattern(main.FileList().Pattern()); },
        [&] {
            // The main window's current entry by name: the fresh list need not hold the same entries.
            Module1::gSuppressFileClick = true;
            struct Done {
                ~Done() { Module1::gSuppressFileClick = false; }
            } done;
            forms::FileListBox& theirs = main.FileList();
            const int index = theirs.ListIndex();
            const std::string name = index >= 0 ? theirs.List(index) : std::string();
            int found = -1;
            for (int i = 0; !name.empty() && i < File1.ListCount(); ++i)
                if (File1.List(i) == name) found = i;
            File1.SetListIndex(found);
        },
        [&] { UpdateCounters(); },
    };
    for (const auto& step : steps) {
        try {
            step();
        } catch (...) {
            // Any failure, of the runtime's kind or not, closes the viewer the same way.
            const forms::RuntimeError e = forms::CurrentError();
            if (e.Number() == 381) continue;
            Module1::gSuppressFileClick = false;
            forms::MsgBox(e.Description(), forms::mb::OkOnly, "Quillview Error");
            Unload();
            forms::Screen().SetMousePointer(forms::pointer::Default);
            return;
        }
    }
}

void frmFullscn::UpdateCounters() {
    lblCount.SetCaption(std::to_string(File1.ListCount()));
    lblNumber.SetCaption(std::to_string(File1.ListIndex() + 1));
}

void frmFullscn::Form_Activate() { lblNumber.SetCaption(std::to_string(File1.ListIndex() + 1)); }

void frmFullscn::Form_Unload(int& /*Cancel*/) {
    Module1::gFullScreenOpen = false;
    shownHold_.Release();
}

void frmFullscn::Form_Terminate() { Module1::gFullScreenOpen = false; }

void frmFullscn::ApplyBackColour(const fullscn::BackColour& colour) {
    Picture1.SetBackColor(colour.back);
    SetBackColor(colour.back);
    Label1.SetForeColor(colour.text);
}

void frmFullscn::ColReset() {
    for (forms::Menu* m : {&mnuBGrey, &mnuBBlack, &mnuBWhite, &mnuBRed, &mnuBBlue, &mnuBYellow, &mnuBGreen})
        m->SetChecked(false);
}

void frmFullscn::BackColour_Click(forms::Menu& entry, const fullscn::BackColour& colour) {
    ApplyBackColour(colour);
    ColReset();
    entry.SetChecked(true);
    forms::SaveSetting(fullscn::kApp, "FullScreen", "Colour", colour.stored);
}

void frmFullscn::mnuInfo_Click() {
    const bool show = !Label1.Visible();
    Label1.SetVisible(show);
    mnuInfo.SetChecked(show);
    forms::SaveSetting(fullscn::kApp, "FullScreen", "Info", show ? "On" : "Off");
}

void frmFullscn::ShowMenuBar(bool shown) {
    if (mnuOptions.Visible() == shown && mnuHelp.Visible() == shown) return;
    mnuOptions.SetVisible(shown);
    mnuHelp.SetVisible(shown);
}

void frmFullscn::mnuContents_Click() {
    ShowMenuBar(false);
    Module1::ShowHelpContents();
}

void frmFullscn::mnuAbout_Click() {
    ShowMenuBar(false);
    forms::Default<frmAbout>().Show(forms::ShowMode::Modal);
}

void frmFullscn::mnuExit_Click() {
    Module1::gStartedFullScreen = false;
    Unload();
}

void frmFullscn::Image2_Click() { shpPinOn.SetVisible(!shpPinOn.Visible()); }
