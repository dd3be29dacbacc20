#pragma once
// Answers the real save dialog the wizard shows: types a name and confirms, and says Yes to the dialog's
// own "replace the file?" question, each window once. Runs from a thread timer, which the dialogs' modal
// loops pump.

#include <windows.h>
#include <dlgs.h>

#include <set>
#include <string>

namespace updtest {

class SaveDialog {
public:
    // An empty name cancels the dialog. The dialog is answered one tick after it was found.
    explicit SaveDialog(std::string name, UINT tickMs = 50) : name_(std::move(name)) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, tickMs, &SaveDialog::Tick);
    }
    ~SaveDialog() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    SaveDialog(const SaveDialog&) = delete;
    SaveDialog& operator=(const SaveDialog&) = delete;

    const std::string& Title() const { return title_; }
    int Shown() const { return shown_; }

private:
    static BOOL CALLBACK Find(HWND hwnd, LPARAM data) {
        char cls[32] = {};
        GetClassNameA(hwnd, cls, sizeof cls);
        if (IsWindowVisible(hwnd) && lstrcmpA(cls, "#32770") == 0 && !current_->done_.count(hwnd)) {
            *reinterpret_cast<HWND*>(data) = hwnd;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        SaveDialog* self = current_;
        if (!self) return;
        HWND dialog = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), Find, reinterpret_cast<LPARAM>(&dialog));
        if (!dialog) {
            self->seen_ = nullptr;
            return;
        }
        // Let the dialog finish its initialisation: act on the tick after the one that found it.
        if (self->seen_ != dialog) {
            self->seen_ = dialog;
            return;
        }
        self->done_.insert(dialog);
        if (HWND yes = GetDlgItem(dialog, IDYES)) {
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), reinterpret_cast<LPARAM>(yes));
            return;
        }
        ++self->shown_;
        char title[256] = {};
        GetWindowTextA(dialog, title, sizeof title);
        self->title_ = title;
        if (self->name_.empty()) {
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            return;
        }
        HWND edit = GetDlgItem(dialog, cmb13);
        if (!edit) edit = GetDlgItem(dialog, edt1);
        SetWindowTextA(edit, self->name_.c_str());
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    }

    static inline SaveDialog* current_ = nullptr;
    std::string name_;
    UINT_PTR timer_ = 0;
    HWND seen_ = nullptr;
    std::set<HWND> done_;
    std::string title_;
    int shown_ = 0;
};

}  // namespace updtest
