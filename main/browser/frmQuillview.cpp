#include "main/browser/frmQuillview.h"

#include "lib/services/Client.h"
#include "main/core/Addresses.h"
#include "main/core/Module1.h"
#include "main/core/clsIface.h"
#include "main/core/modInstances.h"
#include "main/windows/frmSettingUp.h"
#include "platform/runtime/ErrorSteps.h"
#include "platform/runtime/FileSystem.h"
#include "platform/forms/MessageLoop.h"
#include "platform/forms/MsgBox.h"
#include "platform/runtime/Paths.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Shell.h"
#include "platform/subclass/Subclasser.h"

#include <functional>

namespace {

// A failed step of the hand-in is reported in two boxes, then the hand-in goes on with its next step.
void HandInStep(const std::function<void()>& step) {
    try {
        step();
    } catch (const forms::RuntimeError& e) {
        forms::MsgBox(std::string("An error has occured in reactivating Quillview after a command line was passed "
                                  "from another instance (of Quillview). You are encouraged to report this error "
                                  "to ") +
                          addresses::kSupportAddress + "\r\n" +
                          "If you report the error, in your email please quote 'INSTERR45' as the reference code "
                          "AND the error number which is " +
                          std::to_string(e.Number()) + ". We'd appreciate your report!",
                      forms::mb::Critical, "INSTERR45 - Instancing Error");
        forms::MsgBox("Error description: " + e.Description(), forms::mb::Critical,
                      "Error " + std::to_string(e.Number()));
    }
}

}  // namespace

frmQuillview::frmQuillview()
    : Form({.Caption = "Quillview",
            .Width = 8690,
            .Height = 6050,
            .Scale = forms::ScaleMode::Pixels,
            .KeyPreview = true}) {}

frmQuillview::~frmQuillview() = default;

void frmQuillview::Form_Load() {
    forms::Form::SetMainForm(this);
    forms::IgnoringErrors([&] { subclass::SubscribeMessage(*this, hWnd(), WM_COPYDATA); });
    forms::IgnoringErrors([&] { modInstances::MarkInstanceWindow(hWnd()); });
    forms::IgnoringErrors([&] {
        mInterface = std::make_unique<clsIface>();
        mInterface->Change = [this] { mInterface_Change(); };
    });
    Module1::gImageSaved = true;
    forms::IgnoringErrors([&] { ProcessCmdLine(); });
    forms::IgnoringErrors([&] { Show(); });
    forms::IgnoringErrors([&] { forms::Default<frmSettingUp>().Unload(); });
}

void frmQuillview::Form_Unload(int&) {
    // Only a close that goes ahead gives up the single-instance role.
    forms::IgnoringErrors([&] { subclass::UnsubscribeMessage(*this, hWnd(), WM_COPYDATA); });
    modInstances::ReleaseInstanceMutex();
    // The interface state stores its keys when it is released here, not when the process ends.
    forms::IgnoringErrors([&] {
        if (mInterface) mInterface->Release();
    });
    mInterface.reset();
    forms::IgnoringErrors([&] { forms::Default<frmSettingUp>().Unload(); });
}

void frmQuillview::mInterface_Change() {}

void frmQuillview::ProcessCmdLine(const std::string& sCommand) {
    const bool startUp = sCommand.empty();
    const std::string text = startUp ? Module1::gCommandLine : sCommand;
    bool selected = false;
    if (!text.empty() && text != "\"\"") {
        if (startUp) forms::IgnoringErrors([] { Module1::SetLoadingStatus("Loading Image..."); });
        std::string path = text;
        if (!path.empty() && path.back() == '"') path.pop_back();
        if (!path.empty() && path.front() == '"') path.erase(0, 1);
        if (!path.empty() && !forms::Dir(path).empty()) {
            SetCaption("Quillview - " + forms::FileNameOf(path));
            selected = true;
        }
    }
    if (!selected) Module1::gCommandLine.clear();
}

LRESULT frmQuillview::WindowProc(HWND, UINT iMsg, WPARAM, LPARAM lParam) {
    if (iMsg != WM_COPYDATA || lParam == 0) return 0;
    const auto* record = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    std::string text;
    if (record->cbData > 0 && record->lpData) {
        text.assign(static_cast<const char*>(record->lpData), record->cbData);
    }
    // A later start sends one zero byte for an empty command line: that is no picture to open.
    if (text == std::string(1, '\0')) text.clear();
    ReceiveCommandLine(text);
    return 0;
}

void frmQuillview::ReceiveCommandLine(const std::string& text) {
    const HWND self = hWnd();
    if (text.empty()) {
        SetForegroundWindow(self);
        modInstances::RestoreAndActivate(self);
        return;
    }
    HandInStep([&] {
        forms::AppActivate(Caption());
        SetForegroundWindow(self);
        modInstances::RestoreAndActivate(self);
        // Topmost and at once not topmost again: the window comes to the front even over other programs.
        const auto form = GetDispatch();
        Module1::gShell().FormStayOnTop(form.Get(), true);
        forms::DoEvents();
        Module1::gShell().FormStayOnTop(form.Get(), false);
    });
    HandInStep([&] {
        ProcessCmdLine(text);
        forms::DoEvents();
    });
}
