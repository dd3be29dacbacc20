#include "platform/runtime/UserPaths.h"

#include <windows.h>
#include <shlobj.h>

#include <utility>

#include "platform/runtime/App.h"
#include "platform/runtime/Paths.h"

namespace forms {
namespace {

struct Overrides {
    std::optional<std::string> program;
    std::optional<std::string> user;
};

Overrides& State() {
    static Overrides overrides;
    return overrides;
}

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::string ProgramFolder() {
    if (State().program) return *State().program;
    return App::Path();
}

std::string UserDataFolder() {
    if (State().user) return *State().user;
    // Asked once: the shell reads several registry keys each time, and the user files are read at start-up
    // one after another.
    static std::string appData;
    if (appData.empty()) {
        char base[MAX_PATH] = {};
        if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, base)) || !base[0]) {
            return ProgramFolder();
        }
        appData = base;
    }
    return JoinPath(appData, "Quillview");
}

std::string UserFileToRead(std::string_view name) {
    std::string own = JoinPath(UserDataFolder(), name);
    if (FileExists(own)) return own;
    return JoinPath(ProgramFolder(), name);
}

std::string UserFileToWrite(std::string_view name) {
    const std::string folder = UserDataFolder();
    // Creates the missing levels too; an existing folder is no failure, and a real failure shows when the
    // caller's write fails.
    SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
    return JoinPath(folder, name);
}

UserPathsOverride::UserPathsOverride(std::optional<std::string> programFolder, std::optional<std::string> userFolder)
    : previousProgram_(State().program), previousUser_(State().user) {
    if (programFolder) State().program = std::move(programFolder);
    if (userFolder) State().user = std::move(userFolder);
}

UserPathsOverride::~UserPathsOverride() {
    State().program = std::move(previousProgram_);
    State().user = std::move(previousUser_);
}

}  // namespace forms
