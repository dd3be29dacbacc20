#pragma once
// The capture settings window: what to capture, what fires it, whether the main window hides meanwhile.
// At OK it hides itself but stays loaded and armed until its trigger fires; the capture then goes to the
// main window's hand-over, which unloads this window. CapturedPicture outlives the unload.

#include "main/core/Module1.h"
#include "main/windows/ShownHold.h"
#include "platform/comctl/TrayIcon.h"
#include "platform/comctl/UpDown.h"
#include "platform/forms/Form.h"
#include "platform/forms/StdPicture.h"
#include "platform/forms/Timer.h"
#include "platform/forms/controls/CheckBox.h"
#include "platform/forms/controls/ComboBox.h"
#include "platform/forms/controls/CommandButton.h"
#include "platform/forms/controls/Frame.h"
#include "platform/forms/controls/Image.h"
#include "platform/forms/controls/Label.h"
#include "platform/forms/controls/OptionButton.h"
#include "platform/forms/controls/TextBox.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class clsHotkeys;

class frmCap : public forms::Form {
public:
    frmCap();
    ~frmCap() override;

    // The last capture; read by the main window's hand-over after this window has gone.
    forms::StdPicture CapturedPicture;

    // The seconds of a count-down from the box's text: empty or not a whole number 1, else clamped to 1..300.
    static std::int16_t SecondsFrom(const std::string& text);
    // The part of a window a capture of it takes: its visible frame, on its monitor when maximised.
    static RECT ActiveWindowArea(const RECT& frame, bool zoomed, const RECT& monitor);
    // The recovery program's window handle from its stored decimal text; nullptr for anything else.
    static HWND RecoveryHandleFrom(const std::string& text);
    // Whether a window belongs to the recovery program.
    static bool IsRecoveryWindow(HWND hwnd);
    // CapturedPicture to the main window, its tray icon back first when the capture hid it. The main window's
    // hand-over unloads this window and the custom-area window.
    void HandOver();

    forms::Frame Frame1;
    forms::OptionButton OptCapfull;
    forms::OptionButton optCapClient;
    forms::OptionButton optCapCust;
    forms::OptionButton OptCapActWnd;
    forms::Frame Frame2;
    forms::OptionButton optTimer;
    forms::OptionButton optHotkey;
    forms::OptionButton optSystray;
    forms::Frame FraTimer;
    forms::Label lblAfter;
    forms::TextBox Text1;
    forms::UpDown UpDown1;
    forms::Label lblSeconds;
    forms::Frame FraHotkeys;
    forms::Label lblActivateOn;
    forms::Label lblCtrl;
    forms::ComboBox cboKeys;
    forms::Frame Frasys;
    forms::Label lblDoubleClick;
    forms::Image imgTray;
    forms::Label lblToActivate;
    forms::CheckBox chkQVinvis;
    forms::CommandButton cmdOK;
    forms::CommandButton cmdCancel;
    forms::CommandButton cmdHelp;
    forms::Timer Timer1;
    forms::Timer Rec;
    forms::TrayIcon sysCapture;

    bool HotkeyArmed = false;
    bool TrayWasShown = false;
    std::int16_t CaptureSeconds = 0;
    std::int16_t TickCount = 0;

protected:
    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

private:
    static std::string GetCapSetting(const std::string& key, const std::string& defaultValue);
    static void SaveCapSetting(const std::string& key, const std::string& value);
    void optTimer_Click();
    void optHotkey_Click();
    void optSystray_Click();
    void Text1_KeyPress(int& KeyAscii);
    void Text1_KeyUp(int& KeyCode, int Shift);
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdHelp_Click();
    void Timer1_Timer();
    void Rec_Timer();
    void Hk_HotKeyPress(const std::string& sName, std::int32_t eModifiers, std::int32_t eKey);
    void sysCapture_TrayClick(int Button);
    // False (the user told) when the key cannot be registered.
    bool ArmHotkey();
    // The picture of the kind selected (empty or Nothing when it could not be taken); none without a kind.
    std::optional<forms::StdPicture> TakeShot() const;
    void DoCapture();
    void RestoreMainWindow();
    // The main window and its tray icon back, the reason told, this window gone.
    void CaptureFailed();

    std::unique_ptr<clsHotkeys> Hk;
    ShownHold dialogOpen_;
};
