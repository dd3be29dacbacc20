#pragma once
// The production input box: a modal dialog centred on the screen with the prompt, one single-line text
// field holding the default, OK and Cancel.

#include <windows.h>

#include <string>

namespace forms {

class InputDialog {
public:
    // The text on OK, "" on Cancel or close.
    static std::string Ask(HWND owner, const std::string& prompt, const std::string& title,
                           const std::string& defaultText);
};

}  // namespace forms
