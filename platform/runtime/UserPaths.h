#pragma once
// Where the programs' files are. The program folder is read-only for a user, so files written at run time
// live in the per-user folder (the application data folder & "\Quillview"); a copy shipped in the program
// folder is the default until the first save writes the per-user copy.

#include <optional>
#include <string>
#include <string_view>

namespace forms {

// The installation: App::Path(), unless a test set its own.
std::string ProgramFolder();
// The application data folder & "\Quillview" (not created here); the program folder when the shell has no
// application data folder.
std::string UserDataFolder();
// The per-user copy of `name` when it exists, else the program folder's (which may not exist either).
std::string UserFileToRead(std::string_view name);
// Where a save of `name` goes: in the per-user folder, which is created when missing.
std::string UserFileToWrite(std::string_view name);

// Tests: a program folder and a per-user folder of their own for the guard's lifetime (an empty optional
// keeps that one as it was).
class UserPathsOverride {
public:
    UserPathsOverride(std::optional<std::string> programFolder, std::optional<std::string> userFolder);
    ~UserPathsOverride();
    UserPathsOverride(const UserPathsOverride&) = delete;
    UserPathsOverride& operator=(const UserPathsOverride&) = delete;

private:
    std::optional<std::string> previousProgram_;
    std::optional<std::string> previousUser_;
};

}  // namespace forms
