#pragma once
// The update program's start and the state its windows share: the system services library's objects,
// the runtime version found at start, and the program's end.

#include "update/protocol/RuntimeVersion.h"

#include <functional>
#include <optional>
#include <string>

namespace services::client {
class CommonDialogs;
class Shell;
class StdFunctions;
}  // namespace services::client

namespace update::Module1 {

// Created by Main (error 429 when the library cannot create them); the wizard makes a new gShell at load.
services::client::Shell& gShell();
services::client::CommonDialogs& gComdlg();
services::client::StdFunctions& gStdFunctions();
void CreateShell();
void CreateServices();

// The runtime library's version text when it is older than the suite needs; "" otherwise.
inline std::string gRuntimeVersion;

// The program's entry: services, runtime warning, the never-ran check, the version hand-over, dispatch.
void Main();

// The version text of a file: the product version's four words joined ("608495"), nullopt when the file has
// no version information, "N/A" when it cannot be read.
std::optional<std::string> GetFileVersionString(const std::string& path);
std::optional<protocol::FourWords> GetProductVersionWords(const std::string& path);

// Ends the program at once. Tests replace what it does for the scope of an EndHook (the hook returns, and
// so does the caller).
void EndProgram();
class EndHook {
public:
    explicit EndHook(std::function<void()> hook);
    ~EndHook();
    EndHook(const EndHook&) = delete;
    EndHook& operator=(const EndHook&) = delete;

private:
    std::function<void()> previous_;
};

// The program's title in its own boxes.
inline constexpr const char* kTitle = "QuillviewUpdate";

}  // namespace update::Module1
