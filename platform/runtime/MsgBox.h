#pragma once
// Message boxes of the program, answered by the installed Answerer or the system's message box.

#include <string>

namespace forms {

namespace mb {
inline constexpr int OkOnly = 0;
inline constexpr int OkCancel = 1;
inline constexpr int AbortRetryIgnore = 2;
inline constexpr int YesNoCancel = 3;
inline constexpr int YesNo = 4;
inline constexpr int RetryCancel = 5;
inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
inline constexpr int DefaultButton2 = 256;
inline constexpr int DefaultButton3 = 512;
inline constexpr int SystemModal = 4096;
}  // namespace mb

// Answers of MsgBox.
namespace answer {
inline constexpr int Ok = 1;
inline constexpr int Cancel = 2;
inline constexpr int Abort = 3;
inline constexpr int Retry = 4;
inline constexpr int Ignore = 5;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
}  // namespace answer

// Without a title the box carries the program's title (App::Title()). The buttons, icon and modality values
// are the system's own MB_ values, and the answers its ID values.
int MsgBox(const std::string& prompt, int buttons = mb::OkOnly, const std::string& title = {});

}  // namespace forms
