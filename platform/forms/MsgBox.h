#pragma once
// Message boxes and input boxes of the program, answered by the current Answerer.

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

// Without a title the box carries the program's title (AppTitle()).
int MsgBox(const std::string& prompt, int buttons = mb::OkOnly, const std::string& title = {});
// The text typed, or "" on Cancel.
std::string InputBox(const std::string& prompt, const std::string& title = {},
                     const std::string& defaultText = {});

}  // namespace forms
