#pragma once
// Starting other programs, opening documents and addresses through the shell, bringing a window forward
// by its title, and the default beep.

#include <windows.h>

#include <cstdint>
#include <string>
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

// One shell open of a document or an address (ShellExecute's arguments).
struct ShellOpenRequest {
    std::string verb;        // "Open"; empty: the default verb
    std::string file;        // a document, program or address
    std::string parameters;
    std::string directory;   // working folder; empty: the current one
    int show = SW_SHOWNORMAL;
    HWND owner = nullptr;
};

// Who carries out shell opens. Production asks the shell; a test installs a recorder.
class ShellOpener {
public:
    virtual ~ShellOpener() = default;
    // True when the open was started.
    virtual bool Open(const ShellOpenRequest& request) = 0;
};

// Every shell open of the programs goes through here, to the installed opener. Failure is the caller's to
// report or not; nothing is shown here.
bool ShellOpen(const ShellOpenRequest& request);

// Installs an opener for its lifetime and puts the previous one back afterwards.
class ScopedShellOpener {
public:
    explicit ScopedShellOpener(ShellOpener& opener) noexcept;
    ~ScopedShellOpener();
    ScopedShellOpener(const ScopedShellOpener&) = delete;
    ScopedShellOpener& operator=(const ScopedShellOpener&) = delete;

private:
    ShellOpener* previous_;
};

}  // namespace forms
