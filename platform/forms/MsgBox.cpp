#include "platform/forms/MsgBox.h"

#include "platform/forms/Answerer.h"
#include "platform/forms/Program.h"

namespace forms {

int MsgBox(const std::string& prompt, int buttons, const std::string& title) {
    return CurrentAnswerer().MsgBox(prompt, buttons, title.empty() ? AppTitle() : title);
}

std::string InputBox(const std::string& prompt, const std::string& title, const std::string& defaultText) {
    return CurrentAnswerer().InputBox(prompt, title.empty() ? AppTitle() : title, defaultText);
}

}  // namespace forms
