#pragma once
// Runs the real program in a program folder of the test's own and waits on it while pumping this thread's
// messages, so that windows of the test can receive what the program sends.

#include "platform/runtime/OwnedHandles.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <string>

namespace qvtest {

// The folder of the running test program.
std::string ModuleFolder();
// The built Quillview23.exe.
std::string BuiltProgram();
// Its major, minor and revision numbers as decimal text, as the start-up checks store them.
std::array<std::string, 3> ProgramVersion();
// Stores this version as started before and the desktop question as answered: a start skips the first-run
// checks.
void StoreAnEarlierStart();

// A fresh program folder under the temporary folder, holding a copy of the program; removed at the end.
class ProgramFolder {
public:
    ProgramFolder();
    explicit ProgramFolder(std::string folder);  // an existing folder of the caller's (e.g. a drive root)
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    const std::string& Folder() const { return folder_; }
    std::string Program() const;
    std::string File(const std::string& name) const;

private:
    std::optional<qvtest::TempFolder> temp_;
    std::string folder_;
};

class Process {
public:
    // Starts "program" with the arguments after one blank (none when arguments is null).
    Process(const std::string& program, const char* arguments);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    DWORD Id() const { return id_; }
    // Pumps messages until the process ends or the time is up; true when it ended.
    bool WaitForExit(DWORD timeoutMs);
    DWORD ExitCode() const;

private:
    forms::UniqueKernelHandle process_;
    DWORD id_ = 0;
};

// Pumps this thread's messages until the condition holds or the time is up; the condition's last value.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// The first visible top-level window of the process whose class is the given one (nullptr: none).
HWND FindProcessWindow(DWORD processId, const char* className);
std::string WindowText(HWND hwnd);

// The prompt of a message box.
std::string BoxText(HWND box);
// The process's message box with that title, once it shows (nullptr: none in time).
HWND WaitForBox(const Process& p, const std::string& title, DWORD timeoutMs);

// The window the process marked as the running instance's (nullptr: none yet).
HWND MarkedWindowOf(DWORD processId);
HWND WaitForMarkedWindow(const Process& p, DWORD timeoutMs);

}  // namespace qvtest
