// A command line to the picture it names, the hand-in of a later start's command line, and the screen check.
#include "main/browser/Artwork.h"
#include "main/browser/FileSelection.h"
#include "main/browser/frmQuillview.h"
#include "main/core/SettingsNames.h"
#include "main/windows/Dialog.h"
#include "platform/runtime/Resources.h"
#include "main/core/Addresses.h"
#include "main/core/Module1.h"
#include "main/core/modInstances.h"
#include "lib/services/Client.h"
#include "platform/forms/EventErrorBoundary.h"
#include "platform/forms/MessageLoop.h"
#include "platform/runtime/ErrorSteps.h"
#include "platform/runtime/FileSystem.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Paths.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/Shell.h"

#include <algorithm>
#include <functional>
#include <optional>

namespace browser {

// The full long form of a path, for comparing names: an 8.3 name and a long one give the same text. A path
// that cannot be converted gives nothing, and so matches nothing.
std::optional<std::string> LongFullPath(const std::string& path) {
    char full[MAX_PATH * 4];
    const DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    if (n == 0 || n >= sizeof full) return std::nullopt;
    char longer[MAX_PATH * 4];
    const DWORD m = GetLongPathNameA(full, longer, sizeof longer);
    if (m == 0 || m >= sizeof longer) return std::nullopt;
    return std::string(longer, m);
}

bool SamePath(const std::optional<std::string>& a, const std::optional<std::string>& b) {
    if (!a || !b) return false;
    return CompareStringOrdinal(std::wstring(a->begin(), a->end()).c_str(), -1,
                                std::wstring(b->begin(), b->end()).c_str(), -1, TRUE) == CSTR_EQUAL &&
           a->size() == b->size();
}

}  // namespace browser

namespace {

// A failed step of the hand-in is reported in two boxes, then the hand-in goes on with its next step. The hand-in
// is where the system calls the program: whatever a step lets out is reported as the runtime's error.
void HandInStep(const std::function<void()>& step) {
    try {
        step();
    } catch (...) {
        const forms::RuntimeError e = forms::CurrentError();
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

// Set while hand-ins are handled, and cleared however the handling ends: a flag left set would queue every
// later hand-in for good.
class HandingIn {
public:
    explicit HandingIn(bool& flag) noexcept : flag_(flag) { flag_ = true; }
    ~HandingIn() { flag_ = false; }
    HandingIn(const HandingIn&) = delete;
    HandingIn& operator=(const HandingIn&) = delete;

private:
    bool& flag_;
};

}  // namespace

void frmQuillview::ProcessCmdLine(const std::string& sCommand) {
    using forms::IgnoringErrors;
    const bool startUp = sCommand.empty();
    const std::string text = startUp ? Module1::gCommandLine : sCommand;
    if (!text.empty() && text != "\"\"") {
        if (startUp) IgnoringErrors([] { Module1::SetLoadingStatus("Loading Image..."); });
        std::string path = text;
        if (!path.empty() && path.back() == '"') path.pop_back();
        if (!path.empty() && path.front() == '"') path.erase(0, 1);
        const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            IgnoringErrors([&] { Image1.SetVisible(false); });
            const std::string folder = forms::FolderOf(path);
            IgnoringErrors([&] { Drive1.SetDrive(folder.substr(0, 3)); });
            IgnoringErrors([&] { Dir1.SetPath(folder); });
            IgnoringErrors([&] { File1.SetPath(folder); });
            IgnoringErrors([&] {
                const auto wanted = browser::LongFullPath(path);
                for (int i = 0; i < File1.ListCount(); ++i) {
                    const auto entry = browser::LongFullPath(forms::JoinPath(Dir1.Path(), File1.List(i)));
                    if (!browser::SamePath(entry, wanted)) continue;
                    DisplayMode_ = 101;
                    IgnoringErrors([&] { SetToolbarIcon(6, browser::kIconBestFit); });
                    forms::DoEvents();
                    File1.SetListIndex(i);
                    break;
                }
            });
            // Whatever happened above: a file the list hides must not leave the view blank.
            IgnoringErrors([&] { Image1.SetVisible(true); });
            IgnoringErrors([] { forms::DoEvents(); });
        }
    }
    const int current = File1.ListIndex();
    if (current < 0 || !File1.Selected(current)) Module1::gCommandLine.clear();
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
    // The sender is released at once; a hand-in that comes while another runs waits its turn.
    pendingHandIns_.push_back(text);
    if (handingIn_) return;
    const HandingIn handing(handingIn_);
    while (!pendingHandIns_.empty()) {
        const std::string next = pendingHandIns_.front();
        pendingHandIns_.pop_front();
        HandIn(next);
    }
}

void frmQuillview::HandIn(const std::string& text) {
    const HWND self = hWnd();
    // 3: out of the tray first; the caption rule before the command, so a stale caption cannot minimise.
    HandInStep([&] {
        if (Visible() || !morwen.Shown()) return;
        // A window hidden in the tray is to be shown whatever its state says.
        mnuShowQV.SetCaption("Show Quillview");
        mnuShowQV_Click();
        forms::DoEvents();
        forms::DoEvents();
    });
    // 4
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
    if (text.empty()) return;
    // 5: nothing stays selected, and clearing it loads nothing.
    HandInStep([&] {
        const browser::SuppressFileClick quiet;
        forms::IgnoringErrors([&] {
            for (int i = 0; i < File1.ListCount(); ++i) {
                if (File1.Selected(i)) File1.SetSelected(i, false);
            }
        });
    });
    // 6
    HandInStep([&] {
        ProcessCmdLine(text);
        forms::DoEvents();
    });
}

void frmQuillview::CheckScreenResolution() {
    const auto metric = [this](int index) { return ScreenMetric ? ScreenMetric(index) : GetSystemMetrics(index); };
    ScreenWidth = metric(SM_CXSCREEN);
    ScreenHeight = metric(SM_CYSCREEN);
    if (ScreenWidth >= 641 || ScreenHeight >= 481) return;
    if (forms::GetSettingNumber(settingsnames::kApp, "Resolution", "nowarn", 0) == 1) return;
    bool dontShowAgain = false;
    forms::Default<Dialog>().ShowMessage(forms::LoadResString(101), "Screen Resolution", this, dontShowAgain);
    if (dontShowAgain) forms::SaveSetting(settingsnames::kApp, "Resolution", "nowarn", "1");
}

void frmQuillview::mnuShowQV_Click() {
    if (Module1::DialogOpen()) return;
    if (mnuShowQV.Caption() == "Show Quillview") {
        SetWindowState(0);
        SetVisible(true);
        forms::AppActivate(Caption());
    } else {
        SetWindowState(1);
    }
}
