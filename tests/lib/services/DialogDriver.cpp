#include "DialogDriver.h"

#include <dlgs.h>

namespace {

thread_local DialogDriver* g_driver = nullptr;

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM data) {
    char cls[32] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (IsWindowVisible(hwnd) && lstrcmpA(cls, "#32770") == 0) {
        *reinterpret_cast<HWND*>(data) = hwnd;
        return FALSE;
    }
    return TRUE;
}

void Click(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

}  // namespace

DialogDriver::DialogDriver(Action action) : action_(std::move(action)) {
    g_driver = this;
    timer_ = SetTimer(nullptr, 0, 50, &DialogDriver::Tick);
}

DialogDriver::~DialogDriver() {
    KillTimer(nullptr, timer_);
    g_driver = nullptr;
}

void CALLBACK DialogDriver::Tick(HWND, UINT, UINT_PTR, DWORD) {
    DialogDriver* self = g_driver;
    if (!self || self->acted_) return;
    const HWND dialog = ThreadDialog();
    // Let the dialog finish its initialisation first: act on the tick after the one that found it.
    if (!dialog || ++self->ticks_ < 2) return;
    char title[256] = {};
    GetWindowTextA(dialog, title, sizeof title);
    self->title_ = title;
    self->acted_ = true;
    self->action_(dialog);
}

HWND DialogDriver::ThreadDialog() {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
    return dialog;
}

void DialogDriver::Cancel(HWND dialog) { Click(dialog, IDCANCEL); }

void DialogDriver::Confirm(HWND dialog) { Click(dialog, IDOK); }

DialogDriver::Action DialogDriver::EnterFileName(std::string name) {
    return [name](HWND dialog) {
        HWND edit = GetDlgItem(dialog, cmb13);
        if (!edit) edit = GetDlgItem(dialog, edt1);
        SetWindowTextA(edit, name.c_str());
        Click(dialog, IDOK);
    };
}
