#pragma once
// Drives the modal dialog a call is about to show: a thread timer, pumped by the dialog's own modal
// loop, finds the dialog window of this thread and acts on it once (fill in, then confirm or cancel).

#include <windows.h>

#include <functional>
#include <string>

class DialogDriver {
public:
    using Action = std::function<void(HWND dialog)>;
    explicit DialogDriver(Action action);
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    bool Acted() const noexcept { return acted_; }
    const std::string& Title() const noexcept { return title_; }

    // A visible dialog window of this thread, or null.
    static HWND ThreadDialog();

    // Common actions.
    static void Cancel(HWND dialog);
    static void Confirm(HWND dialog);
    // Types a file name into an open or save dialog and confirms.
    static Action EnterFileName(std::string name);

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    Action action_;
    UINT_PTR timer_ = 0;
    bool acted_ = false;
    int ticks_ = 0;
    std::string title_;
};
