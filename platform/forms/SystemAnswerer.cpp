#include "platform/forms/SystemAnswerer.h"

#include "platform/forms/InputDialog.h"

#include <windows.h>

namespace forms {
namespace {

SystemAnswerer& SystemInstance() {
    static SystemAnswerer answerer;
    return answerer;
}

Answerer*& Installed() {
    static Answerer* installed = nullptr;
    return installed;
}

}  // namespace

Answerer& CurrentAnswerer() {
    Answerer* a = Installed();
    return a ? *a : SystemInstance();
}

ScopedAnswerer::ScopedAnswerer(Answerer& answerer) noexcept : previous_(Installed()) { Installed() = &answerer; }
ScopedAnswerer::~ScopedAnswerer() { Installed() = previous_; }

int SystemAnswerer::MsgBox(const std::string& prompt, int buttons, const std::string& title) {
    // The button, icon and modality values are the system's own MB_ values, and the answers its ID values.
    HWND owner = GetActiveWindow();
    UINT style = static_cast<UINT>(buttons) & (MB_TYPEMASK | MB_ICONMASK | MB_DEFMASK | MB_SYSTEMMODAL);
    if (!owner && !(style & MB_SYSTEMMODAL)) style |= MB_TASKMODAL;
    return MessageBoxA(owner, prompt.c_str(), title.c_str(), style | MB_SETFOREGROUND);
}

std::string SystemAnswerer::InputBox(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) {
    return InputDialog::Ask(GetActiveWindow(), prompt, title, defaultText);
}

}  // namespace forms
