#include "update/frmFix.h"

#include "platform/forms/MessageLoop.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/OwnedHandles.h"
#include "platform/runtime/Paths.h"
#include "platform/runtime/UserPaths.h"
#include "update/Config.h"
#include "update/Module1.h"

#include <windows.h>

#include <array>

namespace {

// Waits up to `ms` for `handle` while the windows repaint and timers tick; input stays queued until the wait
// is over, so nothing re-enters the repair meanwhile.
bool WaitPaintingAndTicking(HANDLE handle, DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        const DWORD left = now >= end ? 0 : static_cast<DWORD>(end - now);
        const DWORD result = MsgWaitForMultipleObjects(1, &handle, FALSE, left, QS_PAINT | QS_TIMER | QS_SENDMESSAGE);
        if (result == WAIT_OBJECT_0) return true;
        if (result != WAIT_OBJECT_0 + 1) return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) forms::MessageLoop::Process(msg);
        while (PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) forms::MessageLoop::Process(msg);
    }
}

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

frmFix::frmFix()
    : Form({.Caption = "Quillview Fix", .Width = 5790, .Height = 3270, .Border = forms::BorderStyle::FixedDialog,
            .MinButton = false, .MaxButton = false, .StartUp = forms::StartUpPosition::CenterScreen}) {
    cmdStart.Click = [this] { cmdStart_Click(); };
    Command1.Click = [this] { Command1_Click(); };
}

std::string frmFix::GetSystemPath() const {
    char buffer[MAX_PATH] = {};
    const UINT n = GetSystemDirectoryA(buffer, MAX_PATH);
    return n == 0 || n >= MAX_PATH ? std::string() : std::string(buffer);
}

std::string frmFix::ComponentFolder() { return forms::ProgramFolder(); }

void frmFix::ReportMissing(const std::string& name) {
    forms::MsgBox("Cannot find a required component or support file. Filename: " + name +
                      ". You will need to reinstall Quillview by launching the original setup.",
                  forms::mb::OkOnly | forms::mb::Critical, update::Module1::kTitle);
    Command1.SetEnabled(true);
    error_ = true;
}

bool frmFix::Register(const std::string& tool, const std::string& library) {
    std::string command = "\"" + tool + "\" /s \"" + library + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWMINIMIZED;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(tool.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    const forms::UniqueKernelHandle process(pi.hProcess);
    const forms::UniqueKernelHandle thread(pi.hThread);
    // The window keeps painting while it waits, with its buttons off so that no click lands in the middle.
    const bool start = cmdStart.Enabled();
    const bool cancel = Command1.Enabled();
    cmdStart.SetEnabled(false);
    Command1.SetEnabled(false);
    const bool ended = WaitPaintingAndTicking(pi.hProcess, 30000);
    cmdStart.SetEnabled(start);
    Command1.SetEnabled(cancel);
    if (!ended) return false;
    DWORD code = 1;
    return GetExitCodeProcess(pi.hProcess, &code) && code == 0;
}

void frmFix::cmdStart_Click() {
    Command1.SetEnabled(true);
    const std::string system = GetSystemPath();
    const std::string program = forms::ProgramFolder();
    const std::string components = ComponentFolder();
    const auto stage = [this](const char* text, int position) {
        lblStatus.SetCaption(text);
        lblStatus.Refresh();
        ProgressBar1.SetPosition(position);
    };

    stage("Checking presence of necessary components...", 20);
    const std::string tool = forms::JoinPath(system, "regsvr32.exe");
    if (!FileExists(tool)) {
        forms::MsgBox("The file regsvr32.exe could not be found in the Windows\\System directory. Quillview Fix needs "
                      "this! Please reinstall Quillview.",
                      forms::mb::OkOnly | forms::mb::Critical, update::Module1::kTitle);
        update::Module1::EndProgram();
        return;
    }
    constexpr std::array<const char*, 2> kComponents{"orcmcls.dll", "rvimgctl.dll"};
    for (const char* name : kComponents) {
        if (!FileExists(forms::JoinPath(components, name))) ReportMissing(name);
    }
    stage("Checking presence of necessary executables...", 40);
    for (const char* name : {"Quillview23.exe", "qvupdate.exe"}) {
        if (!FileExists(forms::JoinPath(program, name))) ReportMissing(name);
    }
    stage("Checking presence of support files...", 60);
    for (const char* name : {"qv23hlp.chm", "Readme.txt", "QVTIPS.QVR"}) {
        if (!FileExists(forms::JoinPath(program, name))) ReportMissing(name);
    }
    stage("Re-registering ActiveX components...", 80);
    for (const char* name : kComponents) {
        const std::string library = forms::JoinPath(components, name);
        if (!FileExists(library)) continue;  // already reported
        if (!Register(tool, library)) {
            forms::MsgBox("Cannot register a required component. Filename: " + std::string(name) +
                              ". You will need to reinstall Quillview by launching the original setup.",
                          forms::mb::OkOnly | forms::mb::Critical, update::Module1::kTitle);
            error_ = true;
        }
    }
    ProgressBar1.SetPosition(100);
    const std::string email(update::config::kSupportEmail);
    if (!error_) {
        forms::MsgBox("Quillview Fix has re-registered all components and checked all the necessary files are "
                      "present.\r\n\r\nIf you still get problems please contact: " + email,
                      forms::mb::OkOnly, update::Module1::kTitle);
    } else {
        forms::MsgBox("Errors were detected by Quillview Fix that cannot be resurrected without a FULL RE-INSTALL. "
                      "Please re-run the original setup package! For support please contact us; " + email,
                      forms::mb::OkOnly | forms::mb::Critical, "Critical Installation Errors Detected");
        error_ = false;
    }
    Unload();
}

void frmFix::Command1_Click() { Unload(); }
