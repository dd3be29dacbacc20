#pragma once
// Answers the real save dialog the wizard shows: types a name and confirms, and says Yes to the dialog's
// own "replace the file?" question, each window once. The dialog is answered when its modal loop first
// goes idle (the WM_ENTERIDLE a dialog's loop sends its owner once its queue is empty), so it is set up and
// the answer costs no waiting of the driver's own. The question, whose loop need not send that, is
// answered once it has handled WM_INITDIALOG: its buttons exist by then, and the answer waits in its queue.
// Activation would not do: a program in the background may not get its box activated.

#include <windows.h>
#include <dlgs.h>

#include <set>
#include <string>

namespace updtest {

class SaveDialog {
public:
    // An empty name cancels the dialog.
    explicit SaveDialog(std::string name) : name_(std::move(name)) {
        current_ = this;
        idle_ = SetWindowsHookExA(WH_CALLWNDPROC, &SaveDialog::Sent, nullptr, GetCurrentThreadId());
        initialised_ = SetWindowsHookExA(WH_CALLWNDPROCRET, &SaveDialog::Handled, nullptr, GetCurrentThreadId());
    }
    ~SaveDialog() {
        UnhookWindowsHookEx(initialised_);
        UnhookWindowsHookEx(idle_);
        current_ = nullptr;
    }
    SaveDialog(const SaveDialog&) = delete;
    SaveDialog& operator=(const SaveDialog&) = delete;

    const std::string& Title() const { return title_; }
    int Shown() const { return shown_; }

private:
    static LRESULT CALLBACK Sent(int code, WPARAM wParam, LPARAM lParam) {
        const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && current_ && sent->message == WM_ENTERIDLE && sent->wParam == MSGF_DIALOGBOX)
            current_->Answer(reinterpret_cast<HWND>(sent->lParam));
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static LRESULT CALLBACK Handled(int code, WPARAM wParam, LPARAM lParam) {
        const auto* handled = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (code == HC_ACTION && current_ && handled->message == WM_INITDIALOG && GetDlgItem(handled->hwnd, IDYES))
            current_->Answer(handled->hwnd);
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    void Answer(HWND dialog) {
        if (!dialog || done_.count(dialog)) return;
        done_.insert(dialog);
        if (HWND yes = GetDlgItem(dialog, IDYES)) {
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), reinterpret_cast<LPARAM>(yes));
            return;
        }
        ++shown_;
        char title[256] = {};
        GetWindowTextA(dialog, title, sizeof title);
        title_ = title;
        if (name_.empty()) {
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            return;
        }
        HWND edit = GetDlgItem(dialog, cmb13);
        if (!edit) edit = GetDlgItem(dialog, edt1);
        SetWindowTextA(edit, name_.c_str());
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    }

    static inline SaveDialog* current_ = nullptr;
    std::string name_;
    HHOOK idle_ = nullptr;
    HHOOK initialised_ = nullptr;
    std::set<HWND> done_;
    std::string title_;
    int shown_ = 0;
};

}  // namespace updtest
