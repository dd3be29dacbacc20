#include "platform/forms/InputBox.h"

#include <windows.h>

#include "platform/forms/InputDialog.h"
#include "platform/runtime/Answerer.h"
#include "platform/runtime/App.h"

namespace forms {

std::string InputBox(const std::string& prompt, const std::string& title, const std::string& defaultText) {
    const std::string& shown = title.empty() ? App::Title() : title;
    if (Answerer* answerer = InstalledAnswerer()) return answerer->InputBox(prompt, shown, defaultText);
    return InputDialog::Ask(GetActiveWindow(), prompt, shown, defaultText);
}

}  // namespace forms
