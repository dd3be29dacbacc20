#include "main/windows/frmCap.h"

#include "main/browser/frmQuillview.h"
#include "main/core/SettingsNames.h"
#include "main/core/clsHotkeys.h"
#include "main/core/clsScreen.h"
#include "main/windows/PerMonitorDpi.h"
#include "main/windows/WindowResources.h"
#include "main/windows/frmCrop.h"
#include "platform/forms/MessageLoop.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/Strings.h"

#include <dwmapi.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <system_error>

namespace {

using settingsnames::kApp;
constexpr char kTitle[] = "Screen Capture";
constexpr std::int32_t kHelpContext = 10008;
constexpr std::int32_t kF1 = 112;
constexpr std::int32_t kCtrl = 2;

bool AllDigits(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

// The box's number, when it holds digits only (large numbers saturate: only their side of 1..300 counts).
std::optional<long long> DigitsValue(const std::string& text) {
    if (!AllDigits(text)) return std::nullopt;
    long long v = 0;
    for (const char c : text) v = std::min<long long>(v * 10 + (c - '0'), 1'000'000);
    return v;
}

std::string Flag(bool on) { return on ? "True" : "False"; }

// The main window while it is there: touching a control of an unloaded form would load it, start-up and all.
frmQuillview* LoadedMainWindow() {
    frmQuillview& main = forms::Default<frmQuillview>();
    return main.IsLoaded() ? &main : nullptr;
}

void EnableCaptureButton(bool enabled) {
    if (frmQuillview* main = LoadedMainWindow()) main->Toolbar(9).SetEnabled(enabled);
}

}  // namespace

frmCap::frmCap()
    : Form({.Caption = "Setup Capture",
            .Width = 5280,
            .Height = 3930,
            .Border = forms::BorderStyle::FixedDialog,
            .ShowInTaskbar = false,
            .StartUp = forms::StartUpPosition::CenterScreen}),
      Frame1(*this, "Frame1", {120, 60, 2415, 1575}, {.Caption = "Capture"}),
      OptCapfull(Frame1, "OptCapfull", {120, 270, 2175, 255}, {.Caption = "Capture all the screen", .Value = true}),
      optCapClient(Frame1, "optCapClient", {120, 570, 2175, 255}, {.Caption = "Client area"}),
      optCapCust(Frame1, "optCapCust", {120, 870, 2175, 255}, {.Caption = "Custom area"}),
      OptCapActWnd(Frame1, "OptCapActWnd", {120, 1170, 2175, 255}, {.Caption = "Capture active window"}),
      Frame2(*this, "Frame2", {2640, 60, 2415, 2175}, {.Caption = "Activation"}),
      optTimer(Frame2, "optTimer", {120, 270, 2175, 255}, {.Caption = "Timer", .Value = true}),
      optHotkey(Frame2, "optHotkey", {120, 540, 2175, 255}, {.Caption = "Hotkey"}),
      optSystray(Frame2, "optSystray", {120, 810, 2175, 255}, {.Caption = "System tray icon"}),
      FraTimer(Frame2, "FraTimer", {120, 1110, 2175, 975}, {.Caption = "Timer"}),
      lblAfter(FraTimer, "lblAfter", {120, 270, 1935, 255}, {.Caption = "Activate Capture after"}),
      Text1(FraTimer, "Text1", {120, 570, 615, 285}, {.Text = "1"}),
      UpDown1(FraTimer, "UpDown1", {735, 570, 255, 285}, {.Min = 1, .Max = 300, .Value = 1}),
      lblSeconds(FraTimer, "lblSeconds", {1080, 600, 855, 255}, {.Caption = "seconds"}),
      FraHotkeys(Frame2, "FraHotkeys", {120, 1110, 2175, 975}, {.Caption = "Hotkey"}, {.Visible = false}),
      lblActivateOn(FraHotkeys, "lblActivateOn", {120, 270, 1935, 255}, {.Caption = "Activate on press"}),
      lblCtrl(FraHotkeys, "lblCtrl", {120, 600, 615, 255}, {.Caption = "CTRL +"}),
      cboKeys(FraHotkeys, "cboKeys", {780, 570, 1000, 315},
              {.List = {"F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12"}}),
      Frasys(Frame2, "Frasys", {120, 1110, 2175, 975}, {.Caption = "System tray icon"}, {.Visible = false}),
      lblDoubleClick(Frasys, "lblDoubleClick", {120, 270, 1935, 255}, {.Caption = "Double click the icon"}),
      imgTray(Frasys, "imgTray", {120, 540, 240, 240}),
      lblToActivate(Frasys, "lblToActivate", {480, 570, 1455, 255}, {.Caption = "to activate."}),
      chkQVinvis(*this, "chkQVinvis", {120, 1740, 2415, 435}, {.Caption = "Make Quillview completely invisible"}),
      cmdOK(*this, "cmdOK", {120, 2400, 1215, 375}, {.Caption = "OK", .Default = true}, {.ToolTipText = "Initiate Capture"}),
      cmdCancel(*this, "cmdCancel", {1440, 2400, 1215, 375}, {.Caption = "&Cancel", .Cancel = true},
                {.ToolTipText = "Cancel Capture"}),
      cmdHelp(*this, "cmdHelp", {3840, 2400, 1215, 375}, {.Caption = "&Help"},
              {.ToolTipText = "View help on screen capture"}),
      Timer1(*this, "Timer1", {.Interval = 1000, .Enabled = false}),
      Rec(*this, "Rec", {.Interval = 1000, .Enabled = false}),
      sysCapture(*this, "sysCapture", {.ToolTip = "Quillview Capture"}) {
    optTimer.Click = [this] { optTimer_Click(); };
    optHotkey.Click = [this] { optHotkey_Click(); };
    optSystray.Click = [this] { optSystray_Click(); };
    Text1.KeyPress = [this](int& KeyAscii) { Text1_KeyPress(KeyAscii); };
    Text1.KeyUp = [this](int& KeyCode, int Shift) { Text1_KeyUp(KeyCode, Shift); };
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
    cmdHelp.Click = [this] { cmdHelp_Click(); };
    Timer1.Tick = [this] { Timer1_Timer(); };
    Rec.Tick = [this] { Rec_Timer(); };
    sysCapture.DblClick = [this](int Button) { sysCapture_TrayClick(Button); };
}

frmCap::~frmCap() = default;

std::string frmCap::GetCapSetting(const std::string& key, const std::string& defaultValue) {
    return forms::GetSetting(kApp, "ScreenCapture", key, defaultValue.empty() ? "0" : defaultValue);
}

void frmCap::SaveCapSetting(const std::string& key, const std::string& value) {
    forms::SaveSetting(kApp, "ScreenCapture", key, value);
}

std::int16_t frmCap::SecondsFrom(const std::string& text) {
    const auto v = DigitsValue(forms::Trim(text));
    if (!v) return 1;
    return static_cast<std::int16_t>(std::clamp<long long>(*v, 1, 300));
}

RECT frmCap::ActiveWindowArea(const RECT& frame, bool zoomed, const RECT& monitor) {
    if (!zoomed) return frame;
    RECT visible{};
    if (!IntersectRect(&visible, &frame, &monitor)) return RECT{};
    return visible;
}

HWND frmCap::RecoveryHandleFrom(const std::string& text) {
    // The whole pointer-sized number, as the recovery program writes it; anything else is no handle.
    LONG_PTR value = 0;
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end) return nullptr;
    return reinterpret_cast<HWND>(value);
}

bool frmCap::IsRecoveryWindow(HWND hwnd) {
    DWORD pid = 0;
    if (!IsWindow(hwnd) || !GetWindowThreadProcessId(hwnd, &pid) || pid == 0) return false;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return false;
    char path[MAX_PATH * 2] = {};
    DWORD size = sizeof(path);
    const bool named = QueryFullProcessImageNameA(process, 0, path, &size) != 0;
    CloseHandle(process);
    if (!named) return false;
    std::string name(path, size);
    if (const auto slash = name.find_last_of("\\/"); slash != std::string::npos) name.erase(0, slash + 1);
    return forms::LCase(name) == "qvrecover.exe";
}

void frmCap::Form_Load() {
    // One margin below the buttons, as on their left, whatever the frame's height at this DPI.
    SetHeight(Height() - ScaleHeight() + cmdOK.Top() + cmdOK.Height() + cmdOK.Left());
    dialogOpen_.Follow(hWnd());
    Hk = std::make_unique<clsHotkeys>();
    Hk->HotKeyPress = [this](const std::string& sName, std::int32_t eModifiers, std::int32_t eKey) {
        Hk_HotKeyPress(sName, eModifiers, eKey);
    };
    HotkeyArmed = false;
    TrayWasShown = false;
    const auto option = [](forms::OptionButton& button, const char* key, const char* defaultValue) {
        // Stored as "True"/"False"; the defaults are "1"/"0". A malformed value keeps the design.
        try {
            if (forms::ToBoolean(GetCapSetting(key, defaultValue))) button.SetValue(true);
        } catch (const forms::RuntimeError&) {
        }
    };
    option(OptCapfull, "fullscrn", "1");
    option(optCapClient, "client", "0");
    option(optCapCust, "custarea", "0");
    option(OptCapActWnd, "actwnd", "0");
    option(optTimer, "timer", "1");
    option(optHotkey, "hotkey", "0");
    option(optSystray, "systray", "0");
    const std::string keyIndex = GetCapSetting("cbokeys", "0");
    const auto index = DigitsValue(keyIndex);
    cboKeys.SetListIndex(index && *index < cboKeys.ListCount() ? static_cast<int>(*index) : 0);
    Text1.SetText(GetCapSetting("timerval", "1"));
    chkQVinvis.SetValue(GetCapSetting("qvinvis", "0") == "1" ? 1 : 0);
    UpDown1.SetBuddy(Text1.hWnd());
    sysCapture.SetIcon(forms::LoadResPicture(windows_res::kCaptureIcon, forms::res_kind::Icon));
    imgTray.SetPicture(sysCapture.Icon());
}

void frmCap::Form_Unload(int&) {
    EnableCaptureButton(true);
    dialogOpen_.Release();
    // The object lives on: nothing of this arming may fire after the window has gone.
    Timer1.SetEnabled(false);
    Rec.SetEnabled(false);
    sysCapture.SetShown(false);
    Hk.reset();
    HotkeyArmed = false;
}

void frmCap::optTimer_Click() {
    FraTimer.SetVisible(true);
    FraHotkeys.SetVisible(false);
    Frasys.SetVisible(false);
}

void frmCap::optHotkey_Click() {
    FraTimer.SetVisible(false);
    FraHotkeys.SetVisible(true);
    Frasys.SetVisible(false);
}

void frmCap::optSystray_Click() {
    FraTimer.SetVisible(false);
    FraHotkeys.SetVisible(false);
    Frasys.SetVisible(true);
}

void frmCap::Text1_KeyPress(int& KeyAscii) {
    if (KeyAscii == 8) return;
    if (KeyAscii < '0' || KeyAscii > '9') KeyAscii = 0;
    const auto v = DigitsValue(Text1.Text());
    if (!v) return;
    if (*v > 300) {
        Text1.SetText("300");
        KeyAscii = 0;
    } else if (*v < 1) {
        Text1.SetText("1");
        KeyAscii = 0;
    }
}

void frmCap::Text1_KeyUp(int&, int) {
    const auto v = DigitsValue(Text1.Text());
    if (!v) return;
    if (*v > 300) {
        Text1.SetText("300");
        Text1.SetSelStart(0);
        Text1.SetSelLength(3);
        return;
    }
    const std::string whole = std::to_string(*v < 1 ? 1 : *v);
    if (Text1.Text() == whole) return;
    Text1.SetText(whole);
    Text1.SetSelStart(static_cast<int>(whole.size()));  // typing goes on after the number
}

void frmCap::cmdOK_Click() {
    if (optSystray.Value() && (optCapClient.Value() || OptCapActWnd.Value())) {
        forms::MsgBox("You cannot initiate a capture of a client area, or an active window with the System Tray "
                      "Icon activation method. More information is in the Offline Help in the Features Guide.",
                      forms::mb::OkOnly | forms::mb::Exclamation, kTitle);
        return;
    }
    if (Text1.Text().empty()) Text1.SetText("1");
    forms::SaveSetting(kApp, "Options", "qvrec", "0");
    forms::SaveSetting(kApp, "Options", "qvrechwnd", "0");
    SaveCapSetting("fullscrn", Flag(OptCapfull.Value()));
    SaveCapSetting("client", Flag(optCapClient.Value()));
    SaveCapSetting("custarea", Flag(optCapCust.Value()));
    SaveCapSetting("actwnd", Flag(OptCapActWnd.Value()));
    SaveCapSetting("timer", Flag(optTimer.Value()));
    SaveCapSetting("hotkey", Flag(optHotkey.Value()));
    SaveCapSetting("systray", Flag(optSystray.Value()));
    SaveCapSetting("cbokeys", std::to_string(cboKeys.ListIndex()));
    SaveCapSetting("timerval", Text1.Text());
    SaveCapSetting("qvinvis", std::to_string(chkQVinvis.Value()));
    CaptureSeconds = SecondsFrom(Text1.Text());
    // A key another program holds is told before anything is hidden, and the window stays for another choice.
    if (optHotkey.Value() && !ArmHotkey()) return;

    Hide();  // gives the dialog-open hold back
    Rec.SetEnabled(true);
    if (chkQVinvis.Value() == 1) {
        if (frmQuillview* main = LoadedMainWindow()) {
            TrayWasShown = main->morwen.Shown();
            main->SetVisible(false);
            main->morwen.SetShown(false);
        }
    }
    if (optTimer.Value()) {
        TickCount = 0;
        Timer1.SetEnabled(true);
    } else if (optSystray.Value()) {
        sysCapture.SetShown(true);
    }
    EnableCaptureButton(false);
}

bool frmCap::ArmHotkey() {
    try {
        Hk->Attach(hWnd());
        Hk->RegisterKey("cap", kF1 + cboKeys.ListIndex(), kCtrl);
        HotkeyArmed = true;
        return true;
    } catch (const forms::RuntimeError& e) {
        forms::MsgBox(e.Description(), forms::mb::OkOnly | forms::mb::Exclamation, kTitle);
        return false;
    }
}

void frmCap::Timer1_Timer() {
    ++TickCount;
    if (TickCount != CaptureSeconds) return;
    TickCount = 0;
    Timer1.SetEnabled(false);
    Rec.SetEnabled(false);
    DoCapture();
}

void frmCap::Hk_HotKeyPress(const std::string&, std::int32_t, std::int32_t) {
    Hk->UnregisterKey("cap");
    HotkeyArmed = false;
    Rec.SetEnabled(false);
    DoCapture();
}

void frmCap::sysCapture_TrayClick(int Button) {
    if (Button != 1) return;
    sysCapture.SetShown(false);
    Rec.SetEnabled(false);
    forms::MessageLoop::DoEvents();
    DoCapture();
}

std::optional<forms::StdPicture> frmCap::TakeShot() const {
    const clsScreen& screen = Module1::gScreen();
    // Every read of the screen, and the rectangles it is read over, in the monitors' real pixels.
    const PerMonitorDpiScope perMonitor;
    // With the program made invisible nothing of another program may be active: no window to take then.
    const auto foreground = [] {
        const HWND h = GetForegroundWindow();
        return h && IsWindowVisible(h) ? h : nullptr;
    };
    if (optCapClient.Value()) {
        const HWND h = foreground();
        RECT client{};
        if (h && GetClientRect(h, &client) && client.right > 0 && client.bottom > 0)
            return screen.CaptureWindow(h, true, 0, 0, client.right, client.bottom);
        return forms::StdPicture();
    }
    if (OptCapfull.Value() || optCapCust.Value()) return screen.CaptureScreen();
    if (OptCapActWnd.Value()) {
        const HWND h = foreground();
        RECT frame{}, outer{};
        if (!h || !GetWindowRect(h, &outer)) return forms::StdPicture();
        if (FAILED(DwmGetWindowAttribute(h, DWMWA_EXTENDED_FRAME_BOUNDS, &frame, sizeof(frame)))) frame = outer;
        MONITORINFO monitor{sizeof(monitor)};
        GetMonitorInfoA(MonitorFromWindow(h, MONITOR_DEFAULTTONEAREST), &monitor);
        const RECT area = ActiveWindowArea(frame, IsZoomed(h) != 0, monitor.rcMonitor);
        if (area.right <= area.left || area.bottom <= area.top) return forms::StdPicture();
        return screen.CaptureWindow(h, false, area.left - outer.left, area.top - outer.top, area.right - area.left,
                                    area.bottom - area.top);
    }
    return std::nullopt;
}

void frmCap::DoCapture() {
    std::optional<forms::StdPicture> shot;
    bool taken = false;
    try {
        shot = TakeShot();
        if (!shot) return;  // no kind selected: nothing happens
        taken = *shot && shot->Handle();
    } catch (const forms::RuntimeError&) {
        // Told below like any capture that could not be taken.
    }
    if (!taken) {
        CaptureFailed();
        return;
    }
    CapturedPicture = *shot;
    if (optCapCust.Value()) {
        auto& crop = forms::Default<frmCrop>();
        {
            // The frozen shot maps 1:1 onto the crop window only when both count the same pixels.
            const PerMonitorDpiScope perMonitor;
            crop.Load();
        }
        crop.SetPic(*shot);
        // The hint (or any other secondary window) is finished before the frozen screen covers everything.
        forms::MessageLoop::RunUntil([] { return !Module1::DialogOpen(); }, INFINITE);
        crop.Show();
        return;
    }
    forms::MessageLoop::DoEvents();
    HandOver();
}

void frmCap::HandOver() {
    RestoreMainWindow();
    // The hand-over unloads this window; touching a control afterwards would load it again.
    if (frmQuillview* main = LoadedMainWindow()) main->GetCapture();
    else Unload();
}

void frmCap::RestoreMainWindow() {
    if (frmQuillview* main = LoadedMainWindow(); main && TrayWasShown) main->morwen.SetShown(true);
}

void frmCap::CaptureFailed() {
    forms::MsgBox("The screen could not be captured.", forms::mb::OkOnly | forms::mb::Exclamation, kTitle);
    if (frmQuillview* main = LoadedMainWindow()) main->SetVisible(true);
    RestoreMainWindow();
    Unload();
}

void frmCap::Rec_Timer() {
    const std::string handleText = forms::GetSetting(kApp, "Options", "qvrechwnd", "0");
    if (forms::GetSetting(kApp, "Options", "qvrec", "0") != "1") return;
    // Only the recovery program's own window is closed; any other handle is left alone.
    const HWND hwnd = RecoveryHandleFrom(handleText);
    if (hwnd && IsRecoveryWindow(hwnd)) PostMessageA(hwnd, WM_CLOSE, 0, 0);
    Rec.SetEnabled(false);
    forms::MsgBox("Quillview has been recovered.", forms::mb::OkOnly | forms::mb::Information | forms::mb::SystemModal,
                  "Recovered");
    if (HotkeyArmed) {
        Hk->UnregisterKey("cap");
        HotkeyArmed = false;
    }
    forms::SaveSetting(kApp, "Options", "qvrec", "0");
    forms::SaveSetting(kApp, "Options", "qvrechwnd", "0");
    if (frmQuillview* main = LoadedMainWindow(); main && !main->Visible()) main->SetVisible(true);
    RestoreMainWindow();
    Unload();
}

void frmCap::cmdCancel_Click() { Unload(); }

void frmCap::cmdHelp_Click() { Module1::ShowContextHelp(kHelpContext); }
