#pragma once
// Starting other programs, bringing a window forward by its title, and the default beep.

#include <cstdint>
#include <string_view>

namespace forms {

// Window styles of a started program.
namespace shell_style {
inline constexpr int Hide = 0;
inline constexpr int NormalFocus = 1;
inline constexpr int MinimizedFocus = 2;
inline constexpr int MaximizedFocus = 3;
inline constexpr int NormalNoFocus = 4;
inline constexpr int MinimizedNoFocus = 6;
}  // namespace shell_style

// Starts `command` (program path, then its arguments) and returns its process id without waiting.
// 53 when the program cannot be found, 5 for an unknown style, an empty command or a file that cannot run.
std::uint32_t Shell(std::string_view command, int style = shell_style::MinimizedFocus);

// Brings forward the top-level window whose caption is `title` (else one whose caption begins with it; case
// is ignored). Its minimised or maximised state is left alone. No such window: nothing happens, false.
bool AppActivate(std::string_view title);

void Beep();

}  // namespace forms
