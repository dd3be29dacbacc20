#include "update/Module1.h"

#include "lib/services/Client.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/CommandLine.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/ErrorSteps.h"
#include "platform/runtime/FileVersion.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Settings.h"
#include "platform/forms/Program.h"
#include "update/frmFix.h"
#include "update/frmQVupd.h"
#include "update/frmWV.h"
#include "update/SaveDialogWarmUp.h"

#include <windows.h>

#include <vector>

namespace update::Module1 {

namespace {

// Kept for the whole run and never destroyed: by the time static destructors run, COM and the server
// module may be gone, and releasing into them would fault.
template <class T>
std::optional<T>& Slot() {
    static auto* slot = new std::optional<T>();
    return *slot;
}

template <class T>
T& Get() {
    auto& slot = Slot<T>();
    if (!slot) slot.emplace(T::Create());
    return *slot;
}

std::function<void()>& EndAction() {
    static std::function<void()> action;
    return action;
}

// The stored version part handed to the wizard: a number becomes plain digits, anything else stays.
std::string VersionPart(const char* key) {
    std::string value = forms::GetSetting("Quillview", "current_version", key, "");
    if (forms::IsNumeric(value)) {
        try {
            value = std::to_string(forms::CLng(value));
        } catch (const forms::RuntimeError&) {
            // Too large for a whole number: handed over as it is.
        }
    }
    return value;
}

void ShowFixModal() { forms::Default<frmFix>().Show(forms::ShowMode::Modal); }

// One step of Main: a run-time error other than 429 is passed over, and Main goes on with its next step;
// 429 goes to Main's own handler.
template <class Step>
void PassedOver(Step&& step) {
    try {
        step();
    } catch (const forms::RuntimeError& e) {
        if (e.Number() == forms::err::CannotCreateObject) throw;
    }
}

}  // namespace

services::client::Shell& gShell() { return Get<services::client::Shell>(); }
services::client::CommonDialogs& gComdlg() { return Get<services::client::CommonDialogs>(); }
services::client::StdFunctions& gStdFunctions() { return Get<services::client::StdFunctions>(); }

void CreateShell() { Slot<services::client::Shell>().emplace(services::client::Shell::Create()); }

void CreateServices() {
    CreateShell();
    Slot<services::client::CommonDialogs>().emplace(services::client::CommonDialogs::Create());
    Slot<services::client::StdFunctions>().emplace(services::client::StdFunctions::Create());
}

void EndProgram() {
    // No transfer may outlive the program, nor leave a temporary file behind.
    for (forms::Form* form : forms::Form::AllForms()) {
        if (auto* wizard = dynamic_cast<frmQVupd*>(form)) wizard->EndTransfers();
    }
    SaveDialogWarmUp::Abandon();
    if (EndAction()) {
        EndAction()();
        return;
    }
    forms::End();
}

EndHook::EndHook(std::function<void()> hook) : previous_(std::move(EndAction())) { EndAction() = std::move(hook); }
EndHook::~EndHook() { EndAction() = std::move(previous_); }

std::optional<protocol::FourWords> GetProductVersionWords(const std::string& path) {
    const std::optional<VS_FIXEDFILEINFO> info = forms::FixedFileVersion(path);
    if (!info) return std::nullopt;
    return protocol::FourWords{HIWORD(info->dwProductVersionMS), LOWORD(info->dwProductVersionMS),
                               HIWORD(info->dwProductVersionLS), LOWORD(info->dwProductVersionLS)};
}

std::optional<std::string> GetFileVersionString(const std::string& path) {
    DWORD handle = 0;
    if (GetFileVersionInfoSizeA(path.c_str(), &handle) < 1) return std::nullopt;
    const auto words = GetProductVersionWords(path);
    if (!words) return std::string("N/A");
    return protocol::JoinedVersionText(*words);
}

void Main() {
    try {
        PassedOver([] { CreateServices(); });

        // The runtime warning: an unreadable version never warns.
        forms::IgnoringErrors([] {
            const auto words = GetProductVersionWords(gShell().GetSystemPath() + "\\msvbvm60.dll");
            if (!words || !protocol::IsOlderRuntime(*words)) return;
            gRuntimeVersion = protocol::JoinedVersionText(*words);
            // A value that is not a number counts as unset.
            const std::string never = forms::GetSetting(kTitle, "verig", "verig2", "0");
            double n = 0;
            if (forms::IsNumeric(never)) n = forms::ToDouble(never);
            if (n == 0) forms::Default<frmWV>().Show(forms::ShowMode::Modal);
        });

        bool neverRan = false;
        PassedOver([&] { neverRan = forms::GetSetting("Quillview", "current_version", "major", "").empty(); });
        if (neverRan) {
            PassedOver([] {
                const int answer = forms::MsgBox(
                    "Quillview Update can only be run after you have run the latest version of Quillview installed "
                    "on your system at least once.\r\nIf you are having problems starting the program, would you "
                    "like to run Quillview Fix to analyse the installation and check for missing settings/files?",
                    forms::mb::YesNo | forms::mb::Critical, "Quillview Update");
                if (answer == forms::answer::Yes) ShowFixModal();
            });
            EndProgram();
            return;
        }

        auto& wizard = forms::Default<frmQVupd>();
        PassedOver([&] { wizard.QVMajVer = VersionPart("major"); });
        PassedOver([&] { wizard.QVMinVer = VersionPart("minor"); });
        PassedOver([&] { wizard.QVRevVer = VersionPart("rev"); });

        PassedOver([&] {
            const std::string word = forms::Command();
            if (word == "links") {
                wizard.UpdateLinksCmd();
            } else if (word == "submitweb") {
                wizard.SubmitWebCmd();
            } else if (word == "qvupdate") {
                wizard.UpdateQVcmd();
            } else if (word == "fix") {
                forms::Default<frmFix>().Show();
            } else {
                wizard.ShowWizard();
            }
        });
    } catch (const forms::RuntimeError& e) {
        if (e.Number() != forms::err::CannotCreateObject) return;  // passed over: Main has no step left
        const int answer = forms::MsgBox(
            "Quillview Update has detected that one or more Quillview components are not properly installed\r\n"
            "A feature of Quillview Update is to detect missing files and reinstall certain components, would you "
            "like to run 'Quillview Fix' now?",
            forms::mb::YesNo | forms::mb::Critical, "Quillview Update");
        if (answer == forms::answer::Yes) ShowFixModal();
        EndProgram();
    }
}

}  // namespace update::Module1
