#include "main/windows/frmCrop.h"

#include "lib/services/client/ShellClient.h"
#include "main/core/Module1.h"
#include "main/core/SettingsNames.h"
#include "main/windows/Dialog.h"
#include "main/windows/PerMonitorDpi.h"
#include "main/windows/WindowResources.h"
#include "main/windows/frmCap.h"
#include "platform/forms/Screen.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/OwnedHandles.h"
#include "platform/runtime/Resources.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/Shell.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

constexpr char kQuestionTitle[] = "Capture Error";

// A screen shot's size in pixels.
SIZE BitmapSize(const forms::StdPicture& picture) {
    BITMAP bm{};
    if (!picture.Handle() || !GetObjectA(picture.Handle(), sizeof(bm), &bm)) return {0, 0};
    return {bm.bmWidth, bm.bmHeight};
}

}  // namespace

frmCrop::frmCrop()
    : Form({.Caption = "Custom Capture",
            .Border = forms::BorderStyle::None,
            .ShowInTaskbar = false,
            .Scale = forms::ScaleMode::Pixels,
            .BackColor = 0,
            .KeyPreview = true,
            .MousePointer = forms::pointer::Cross}),
      Record(*this, "Record", {6, 7, 13, 13},
             {.Shape = forms::shapekind::Circle, .FillStyle = forms::fillstyle::Solid, .FillColor = 0x0000FF,
              .BorderColor = 0},
             {.Visible = false}),
      Shape1(*this, "Shape1", {0, 0, 1, 1},
             {.BorderStyle = forms::borderstyle::Dash, .DrawMode = forms::drawmode::Invert}, {.Visible = false}),
      Size(*this, "Size", {0, 0, 80, 16},
           {.Caption = "100x100", .BackColor = 0xE0E0E0, .ForeColor = 0, .Font = {.Bold = true}},
           {.Visible = false}),
      Picture1(*this, "Picture1", {0, 0, 1, 1},
               {.AutoRedraw = true, .BorderStyle = 0, .Scale = forms::ScaleMode::Pixels}, {.Visible = false}),
      Captim(*this, "Captim", {.Interval = 500, .Enabled = false}),
      Timer1(*this, "Timer1", {.Interval = 2000, .Enabled = false}) {
    Captim.Tick = [this] { Captim_Timer(); };
    Timer1.Tick = [this] { Timer1_Timer(); };
}

RECT frmCrop::Selection(POINT press, POINT pointer) {
    return {std::min(press.x, pointer.x), std::min(press.y, pointer.y), std::max(press.x, pointer.x),
            std::max(press.y, pointer.y)};
}

// Loading alone (the main window's copies use Picture1) shows nothing and puts nothing on top.
void frmCrop::Form_Load() {
    Size.ZOrder(0);  // the read-out in front of the selection and the recording dot
    PressX = PressY = 0;
    WholeScreen = false;
    BlinkCount = 0;
}

void frmCrop::Cover(const forms::StdPicture& Pic) {
    SetPicture(Pic);
    // The shot is of the whole desktop: the window covers that same rectangle, pixel for pixel.
    const float tx = forms::Screen().TwipsPerPixelX();
    const float ty = forms::Screen().TwipsPerPixelY();
    const SIZE size = BitmapSize(Pic);
    const PerMonitorDpiScope perMonitor;  // the desktop's real pixels, as the shot has them
    Move(static_cast<float>(GetSystemMetrics(SM_XVIRTUALSCREEN)) * tx,
         static_cast<float>(GetSystemMetrics(SM_YVIRTUALSCREEN)) * ty, static_cast<float>(size.cx) * tx,
         static_cast<float>(size.cy) * ty);
}

void frmCrop::SetPic(const forms::StdPicture& Pic) {
    Cover(Pic);
    ShowCustomCaptureHint();
    Module1::gShell().FormStayOnTop(GetDispatch().Get(), true);
}

void frmCrop::ShowCustomCaptureHint() {
    if (forms::GetSettingNumber(settingsnames::kApp, "Options", "scrnnowarn", 0) == 1) return;
    bool ticked = false;
    forms::Default<Dialog>().ShowMessage(forms::LoadResString(windows_res::kCustomCaptureHint), "Custom Capture",
                                         forms::Form::MainForm(), ticked);
    if (ticked) forms::SaveSetting(settingsnames::kApp, "Options", "scrnnowarn", "1");
}

void frmCrop::Form_Activate() { Captim.SetEnabled(true); }

void frmCrop::Captim_Timer() {
    switch (BlinkCount) {
    case 0: case 2: Record.SetVisible(true); break;
    case 1: case 3: Record.SetVisible(false); break;
    case 4: break;
    default:
        Record.SetVisible(false);
        Captim.SetEnabled(false);
        BlinkCount = 0;
        return;
    }
    ++BlinkCount;
}

void frmCrop::Form_MouseDown(int, int, float X, float Y) {
    PressX = X;
    PressY = Y;
    Shape1.SetVisible(false);
    Size.SetVisible(false);
    Shape1.Move(X, Y, 0, 0);
}

void frmCrop::Form_MouseMove(int Button, int, float X, float Y) {
    if (Button != forms::button::Left) return;
    const RECT r = Selection({static_cast<LONG>(PressX), static_cast<LONG>(PressY)},
                             {static_cast<LONG>(X), static_cast<LONG>(Y)});
    const float w = static_cast<float>(r.right - r.left);
    const float h = static_cast<float>(r.bottom - r.top);
    Shape1.Move(static_cast<float>(r.left), static_cast<float>(r.top), w, h);
    Shape1.SetVisible(true);
    Size.SetCaption(std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top));
    Size.Move(static_cast<float>(r.right) + 9, static_cast<float>(r.bottom) + 9, Size.Width(), Size.Height());
    Size.SetVisible(true);
}

// A rectangle the user cannot see is no area: a key never captures what was not shown.
bool frmCrop::AreaDrawn() const { return Shape1.Visible() && Shape1.Width() >= 1 && Shape1.Height() >= 1; }

void frmCrop::Form_KeyDown(int&, int) {
    if (!AreaDrawn()) {
        Timer1.SetEnabled(true);
        const int answer = forms::MsgBox("No area has been selected, would you like to capture the whole screen?",
                                         forms::mb::YesNo | forms::mb::Question | forms::mb::SystemModal,
                                         kQuestionTitle);
        if (IsLoaded()) Timer1.SetEnabled(false);
        if (answer != forms::answer::Yes) return;
        WholeScreen = true;
    }
    FinishCrop();
}

void frmCrop::Timer1_Timer() { forms::AppActivate(kQuestionTitle); }

void frmCrop::FinishCrop() {
    auto& cap = forms::Default<frmCap>();
    if (WholeScreen) {
        cap.CapturedPicture = Picture();
    } else {
        // Exactly the drawn area, clipped to the shot.
        const SIZE shot = BitmapSize(Picture());
        const int left = static_cast<int>(Shape1.Left());
        const int top = static_cast<int>(Shape1.Top());
        const int w = std::min(static_cast<int>(Shape1.Width()), static_cast<int>(shot.cx) - left);
        const int h = std::min(static_cast<int>(Shape1.Height()), static_cast<int>(shot.cy) - top);
        Picture1.Move(0, 0, static_cast<float>(std::max(w, 1)), static_cast<float>(std::max(h, 1)));
        forms::UniqueDC source(CreateCompatibleDC(Picture1.hDC()));
        const HGDIOBJ old = SelectObject(source.get(), reinterpret_cast<HBITMAP>(Picture().Handle()));
        BitBlt(Picture1.hDC(), 0, 0, w, h, source.get(), left, top, SRCCOPY);
        SelectObject(source.get(), old);
        Picture1.SetPicture(Picture1.Image());
        cap.CapturedPicture = Picture1.Picture();
    }
    cap.HandOver();
    Unload();
}
