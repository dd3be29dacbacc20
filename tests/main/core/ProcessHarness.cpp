#include "tests/main/core/ProcessHarness.h"

#include "main/core/modInstances.h"
#include "platform/runtime/FileVersion.h"
#include "platform/runtime/Settings.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace qvtest {

std::string ModuleFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p = path;
    return p.substr(0, p.find_last_of('\\'));
}

namespace {

// A start of the program in the prefix's own settings store: the version check and the update reminder are
// quiet when the store already holds this version and no date of a last update check.
void QuietStartUpChecks() {
    StoreAnEarlierStart();
    forms::DeleteSetting("QuillviewUpdate", "Options", "lastqvupdate");
}

}  // namespace

void StoreAnEarlierStart() {
    const auto [major, minor, revision] = ProgramVersion();
    forms::SaveSetting("Quillview", "current_version", "major", major);
    forms::SaveSetting("Quillview", "current_version", "minor", minor);
    forms::SaveSetting("Quillview", "current_version", "rev", revision);
    // The desktop question was answered on an earlier start.
    forms::SaveSetting("Quillview2", "options", "deskicon232", "1");
}

std::string BuiltProgram() { return ModuleFolder() + "\\" + QV_PROGRAM_RELPATH; }

std::array<std::string, 3> ProgramVersion() {
    const std::string program = BuiltProgram();
    const std::optional<VS_FIXEDFILEINFO> info = forms::FixedFileVersion(program);
    if (!info) {
        ADD_FAILURE() << "no version of " << program;
        return {};
    }
    return {std::to_string(HIWORD(info->dwFileVersionMS)), std::to_string(LOWORD(info->dwFileVersionMS)),
            std::to_string(LOWORD(info->dwFileVersionLS))};
}

ProgramFolder::ProgramFolder() : temp_(std::in_place), folder_(temp_->Path()) {
    QuietStartUpChecks();
    EXPECT_TRUE(CopyFileA(BuiltProgram().c_str(), Program().c_str(), FALSE)) << BuiltProgram();
}

ProgramFolder::ProgramFolder(std::string folder) : folder_(std::move(folder)) {
    QuietStartUpChecks();
    EXPECT_TRUE(CopyFileA(BuiltProgram().c_str(), Program().c_str(), FALSE)) << BuiltProgram();
}

ProgramFolder::~ProgramFolder() {
    // A folder of our own goes with everything in it; in the caller's, only our copy of the program.
    if (!temp_) DeleteFileA(Program().c_str());
}

std::string ProgramFolder::File(const std::string& name) const {
    return folder_.back() == '\\' ? folder_ + name : folder_ + "\\" + name;
}

std::string ProgramFolder::Program() const { return File("Quillview23.exe"); }

Process::Process(const std::string& program, const char* arguments) {
    std::string line = "\"" + program + "\"";
    if (arguments) line += std::string(" ") + arguments;
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const BOOL ok = CreateProcessA(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                   &si, &pi);
    EXPECT_TRUE(ok) << "cannot start " << program;
    if (ok) {
        CloseHandle(pi.hThread);
        process_.reset(pi.hProcess);
        id_ = pi.dwProcessId;
    }
}

Process::~Process() {
    if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), 5000);
    }
}

bool Process::WaitForExit(DWORD timeoutMs) {
    if (!process_) return true;
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0;
        const HANDLE h = process_.get();
        const DWORD r = MsgWaitForMultipleObjects(1, &h, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
        if (r == WAIT_OBJECT_0) return true;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

DWORD Process::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_) GetExitCodeProcess(process_.get(), &code);
    return code;
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!condition()) {
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return condition();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 50)),
                                  QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return true;
}

namespace {
struct FindArgs {
    DWORD pid;
    const char* cls;
    HWND found;
};
BOOL CALLBACK FindProc(HWND hwnd, LPARAM lParam) {
    auto* a = reinterpret_cast<FindArgs*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (pid == a->pid && IsWindowVisible(hwnd) && std::string(cls) == a->cls) {
        a->found = hwnd;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

HWND FindProcessWindow(DWORD processId, const char* className) {
    FindArgs a{processId, className, nullptr};
    EnumWindows(&FindProc, reinterpret_cast<LPARAM>(&a));
    return a.found;
}

std::string WindowText(HWND hwnd) {
    char text[1024] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

std::string BoxText(HWND box) {
    char text[2048] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return text;
}

HWND WaitForBox(const Process& p, const std::string& title, DWORD timeoutMs) {
    HWND box = nullptr;
    PumpUntil(
        [&] {
            box = FindProcessWindow(p.Id(), "#32770");
            return box && WindowText(box) == title;
        },
        timeoutMs);
    return box && WindowText(box) == title ? box : nullptr;
}

HWND MarkedWindowOf(DWORD processId) {
    modInstances::FindRunningInstance();
    const HWND found = modInstances::FoundWindow();
    DWORD owner = 0;
    if (found) GetWindowThreadProcessId(found, &owner);
    return owner == processId ? found : nullptr;
}

HWND WaitForMarkedWindow(const Process& p, DWORD timeoutMs) {
    HWND hwnd = nullptr;
    PumpUntil([&] { return (hwnd = MarkedWindowOf(p.Id())) != nullptr; }, timeoutMs);
    return hwnd;
}

}  // namespace qvtest
