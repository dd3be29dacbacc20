#pragma once
// Input boxes of the program, answered by the installed Answerer (platform/runtime/Answerer.h) or the
// input dialog.

#include <string>

namespace forms {

// Without a title the box carries the program's title. The text typed, or "" on Cancel.
std::string InputBox(const std::string& prompt, const std::string& title = {},
                     const std::string& defaultText = {});

}  // namespace forms
