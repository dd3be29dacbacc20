#include "platform/runtime/App.h"

#include <optional>
#include <vector>

#include "platform/runtime/FileVersion.h"
#include "platform/runtime/Paths.h"

namespace forms {
namespace {

struct Version {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

struct AppState {
    std::optional<std::string> title;
    std::optional<Version> version;
};

AppState& State() {
    static AppState state;
    return state;
}

std::string ModuleFileName(HMODULE module) {
    std::string name(MAX_PATH, '\0');
    for (;;) {
        const DWORD n = GetModuleFileNameA(module, name.data(), static_cast<DWORD>(name.size()));
        if (n == 0) return {};
        if (n < name.size()) {
            name.resize(n);
            return name;
        }
        name.resize(name.size() * 2);  // truncated: try a larger buffer
    }
}

Version ReadVersionResource() {
    Version version;
    const std::optional<VS_FIXEDFILEINFO> info = FixedFileVersion(ModuleFileName(App::hInstance()));
    if (!info) return version;
    version.major = HIWORD(info->dwFileVersionMS);
    version.minor = LOWORD(info->dwFileVersionMS);
    version.revision = LOWORD(info->dwFileVersionLS);
    return version;
}

const Version& CurrentVersion() {
    auto& version = State().version;
    if (!version) version = ReadVersionResource();
    return *version;
}

}  // namespace

HINSTANCE App::hInstance() {
    // The module that holds this code: the program, or the library this runtime is linked into.
    static const char marker = 0;
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       &marker, &module);
    return module;
}

std::string App::FileName() { return ModuleFileName(hInstance()); }
std::string App::Path() { return FolderOf(FileName()); }
std::string App::EXEName() { return BaseNameOf(FileName()); }

std::string App::Title() {
    const auto& title = State().title;
    return title ? *title : EXEName();
}

void App::SetTitle(std::string title) { State().title = std::move(title); }

int App::Major() { return CurrentVersion().major; }
int App::Minor() { return CurrentVersion().minor; }
int App::Revision() { return CurrentVersion().revision; }

void App::SetVersion(int major, int minor, int revision) { State().version = Version{major, minor, revision}; }

}  // namespace forms
