#include "platform/runtime/MsgBox.h"

#include <windows.h>

#include "platform/runtime/Answerer.h"
#include "platform/runtime/App.h"

namespace forms {
namespace {

Answerer*& Installed() noexcept {
    static Answerer* installed = nullptr;
    return installed;
}

int SystemMsgBox(const std::string& prompt, int buttons, const std::string& title) {
    // Owned by the program's active window; without one the box still keeps the program's other windows.
    HWND owner = GetActiveWindow();
    UINT style = static_cast<UINT>(buttons) & (MB_TYPEMASK | MB_ICONMASK | MB_DEFMASK | MB_SYSTEMMODAL);
    if (!owner && !(style & MB_SYSTEMMODAL)) style |= MB_TASKMODAL;
    return MessageBoxA(owner, prompt.c_str(), title.c_str(), style | MB_SETFOREGROUND);
}

}  // namespace

Answerer* InstalledAnswerer() noexcept { return Installed(); }

ScopedAnswerer::ScopedAnswerer(Answerer& answerer) noexcept : previous_(Installed()) { Installed() = &answerer; }
ScopedAnswerer::~ScopedAnswerer() { Installed() = previous_; }

int MsgBox(const std::string& prompt, int buttons, const std::string& title) {
    const std::string& shown = title.empty() ? App::Title() : title;
    if (Answerer* answerer = InstalledAnswerer()) return answerer->MsgBox(prompt, buttons, shown);
    return SystemMsgBox(prompt, buttons, shown);
}

}  // namespace forms
