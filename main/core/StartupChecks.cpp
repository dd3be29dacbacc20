#include "main/core/Addresses.h"
#include "main/core/Module1.h"
#include "main/core/SettingsNames.h"

#include "platform/forms/MessageLoop.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/OwnedHandles.h"
#include "platform/runtime/App.h"
#include "platform/runtime/Dates.h"
#include "platform/runtime/ErrorSteps.h"
#include "platform/runtime/FileSystem.h"
#include "platform/runtime/Paths.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/Shell.h"
#include "platform/runtime/UserPaths.h"

#include <windows.h>

#include <array>
#include <cstdint>

namespace Module1 {
namespace {

std::optional<std::string>& SystemFolderForTest() {
    static std::optional<std::string> folder;
    return folder;
}

// The registration of the system services library that this start began, while it may still run.
forms::UniqueKernelHandle& Registration() {
    static forms::UniqueKernelHandle process;
    return process;
}

// The suite's own files beside the program; what the build links in is not looked for.
constexpr std::array<const char*, 3> kSupportFiles{"orcmcls.dll", "rvimgctl.dll", "qvupdate.exe"};

}  // namespace

SystemFolderOverride::SystemFolderOverride(std::string folder) : previous_(SystemFolderForTest()) {
    SystemFolderForTest() = std::move(folder);
}

SystemFolderOverride::~SystemFolderOverride() { SystemFolderForTest() = std::move(previous_); }

std::string GetSystemDir() {
    if (SystemFolderForTest()) return *SystemFolderForTest();
    char buffer[260] = {};
    const UINT n = GetSystemDirectoryA(buffer, sizeof buffer);
    if (n == 0 || n >= sizeof buffer) return {};
    return buffer;
}

void PauseLoop() {
    // Kept, so that the loop is not optimised away.
    volatile int counter = 0;
    for (int i = 1; i <= 20000; ++i) counter = i;
    static_cast<void>(counter);
}

void ReportMissingComponent(const std::string& FileName) {
    forms::MsgBox("Cannot find a required component or support file. Filename: " + FileName +
                      ". You will need to reinstall Quillview.\r\n"
                      "This normally happens when a file in the installation package has failed to install, please "
                      "contact " +
                      addresses::kSupportAddress + " if problems persist.",
                  forms::mb::Critical);
}

void CheckComponents() {
    const std::string major = std::to_string(forms::App::Major());
    const std::string minor = std::to_string(forms::App::Minor());
    const std::string revision = std::to_string(forms::App::Revision());
    bool same = false;
    forms::IgnoringErrors([&] {
        same = forms::GetSetting("Quillview", "current_version", "major") == major &&
               forms::GetSetting("Quillview", "current_version", "minor") == minor &&
               forms::GetSetting("Quillview", "current_version", "rev") == revision;
    });
    if (same) return;
    forms::IgnoringErrors([&] {
        forms::SaveSetting("Quillview", "current_version", "major", major);
        forms::SaveSetting("Quillview", "current_version", "minor", minor);
        forms::SaveSetting("Quillview", "current_version", "rev", revision);
    });
    forms::IgnoringErrors([] {
        forms::MsgBox(
            "Quillview Update's job is to work in conjunction with the Windows Installer set-up package you "
            "downloaded and make sure Quillview is updated and maintained on your system. You can use Quillview "
            "Update to detect missing files and fix problems, or you can choose 'repair' from the context menu of "
            "the set-up package you downloaded. This support is to ensure you have reliable running of the "
            "software and have instant diagnostics, this and the support website should make sure if you have "
            "problems - you'll find answers fast!",
            forms::mb::Information | forms::mb::OkOnly | forms::mb::SystemModal, "Information");
    });
    forms::IgnoringErrors([] { forms::SaveSetting(settingsnames::kApp, "v2.3", "Path", forms::ProgramFolder()); });
    forms::IgnoringErrors([] { SetLoadingStatus("Checking Quillview components are present..."); });
    PauseLoop();
    std::string systemFolder;
    forms::IgnoringErrors([&] { systemFolder = GetSystemDir(); });
    const std::string program = forms::ProgramFolder();
    for (const char* file : kSupportFiles) {
        forms::IgnoringErrors([&] {
            if (forms::Dir(forms::JoinPath(program, file)).empty()) ReportMissingComponent(file);
        });
    }
    forms::IgnoringErrors([] { SetLoadingStatus("Checking Quillview components are registered"); });
    // A library is registered by the system's tool, never "run"; the start is not waited on and a failure
    // not reported.
    forms::IgnoringErrors([&] {
        const std::string library = forms::JoinPath(program, "orcmcls.dll");
        if (forms::Dir(library).empty()) return;
        const std::uint32_t id =
            forms::Shell("\"" + forms::JoinPath(systemFolder, "regsvr32.exe") + "\" /s \"" + library + "\"",
                         forms::shell_style::MinimizedNoFocus);
        Registration().reset(OpenProcess(SYNCHRONIZE, FALSE, id));
    });
    forms::IgnoringErrors([] { forms::DoEvents(); });
    PauseLoop();
    PauseLoop();
    forms::IgnoringErrors([] { SetLoadingStatus("Components registered."); });
}

bool WaitForComponentRegistration() {
    forms::UniqueKernelHandle& process = Registration();
    if (!process) return false;
    constexpr DWORD kLongestMs = 15000;
    const ULONGLONG end = GetTickCount64() + kLongestMs;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        if (now >= end) break;
        const HANDLE handle = process.get();
        const DWORD woken = MsgWaitForMultipleObjects(1, &handle, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
        if (woken != WAIT_OBJECT_0 + 1) break;
        forms::DoEvents();
    }
    process.reset();
    return true;
}

void CheckUpdateReminder() {
    forms::IgnoringErrors([] {
        const std::string stored = forms::GetSetting("QuillviewUpdate", "Options", "lastqvupdate");
        const forms::Date today = forms::Today();
        forms::Date last = today;
        if (!stored.empty()) {
            const auto read = forms::ParseDate(stored);
            // A value that is no date counts as nothing stored, and is left for the update program.
            if (!read) return;
            last = *read;
        }
        const long days = forms::DaysBetween(last, today);
        if (days < 0) forms::IgnoringErrors([] { forms::DeleteSetting("QuillviewUpdate", "Options", "lastqvupdate"); });
        if (days < 35) return;
        const int answer = forms::MsgBox(
            "Quillview Update last checked for a new version of Quillview on the " + forms::ShortDateText(last) +
                ", it is recommended that you check once a month.\r\n\r\nWould you like to run Quillview Update now?",
            forms::mb::YesNo | forms::mb::Information);
        if (answer == forms::answer::Yes) forms::IgnoringErrors([] { LaunchUpdateTool(2); });
        forms::SaveSetting("QuillviewUpdate", "Options", "lastqvupdate", forms::ShortDateText(forms::Today()));
    });
}

}  // namespace Module1
