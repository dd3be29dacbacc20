#include "platform/runtime/Shell.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/OwnedHandles.h"

namespace forms {
namespace {

int ShowCommand(int style) {
    switch (style) {
    case shell_style::Hide: return SW_HIDE;
    case shell_style::NormalFocus: return SW_SHOWNORMAL;
    case shell_style::MinimizedFocus: return SW_SHOWMINIMIZED;
    case shell_style::MaximizedFocus: return SW_SHOWMAXIMIZED;
    case shell_style::NormalNoFocus: return SW_SHOWNOACTIVATE;
    case shell_style::MinimizedNoFocus: return SW_SHOWMINNOACTIVE;
    default: throw RuntimeError(err::InvalidProcedureCall);
    }
}

std::string WindowCaption(HWND window) {
    const int length = GetWindowTextLengthA(window);
    if (length <= 0) return {};
    std::string caption(static_cast<std::size_t>(length) + 1, '\0');
    caption.resize(static_cast<std::size_t>(GetWindowTextA(window, caption.data(), length + 1)));
    return caption;
}

struct TitleSearch {
    std::string_view title;
    HWND exact = nullptr;
    HWND prefix = nullptr;
};

BOOL CALLBACK VisitWindow(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<TitleSearch*>(data);
    if (!IsWindowVisible(window)) return TRUE;
    const std::string caption = WindowCaption(window);
    if (TextEquals(caption, search.title)) {
        search.exact = window;
        return FALSE;
    }
    if (!search.prefix && caption.size() > search.title.size() &&
        TextEquals(std::string_view(caption).substr(0, search.title.size()), search.title)) {
        search.prefix = window;
    }
    return TRUE;
}

class SystemShellOpener final : public ShellOpener {
public:
    bool Open(const ShellOpenRequest& request) override {
        const auto text = [](const std::string& value) { return value.empty() ? nullptr : value.c_str(); };
        const auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(request.owner, text(request.verb),
                                                                    request.file.c_str(), text(request.parameters),
                                                                    text(request.directory), request.show));
        return result > 32;  // documented: greater than 32 on success
    }
};

ShellOpener*& CurrentOpener() {
    static SystemShellOpener system;
    static ShellOpener* current = &system;
    return current;
}

}  // namespace

bool ShellOpen(const ShellOpenRequest& request) {
    if (request.file.empty()) return false;
    return CurrentOpener()->Open(request);
}

ScopedShellOpener::ScopedShellOpener(ShellOpener& opener) noexcept : previous_(CurrentOpener()) {
    CurrentOpener() = &opener;
}

ScopedShellOpener::~ScopedShellOpener() { CurrentOpener() = previous_; }

std::uint32_t Shell(std::string_view command, int style) {
    const int show = ShowCommand(style);
    if (Trim(command).empty()) throw RuntimeError(err::InvalidProcedureCall);
    std::string line(command);  // CreateProcessA may write into the command line
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) throw RuntimeError(err::FileNotFound);
        throw RuntimeError(err::InvalidProcedureCall);
    }
    const UniqueKernelHandle processHandle(process.hProcess);
    const UniqueKernelHandle threadHandle(process.hThread);
    return process.dwProcessId;
}

bool AppActivate(std::string_view title) {
    if (title.empty()) return false;
    TitleSearch search{title};
    EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&search));
    HWND window = search.exact ? search.exact : search.prefix;
    if (!window) return false;
    SetForegroundWindow(window);
    return true;
}

void Beep() { MessageBeep(MB_OK); }

}  // namespace forms
