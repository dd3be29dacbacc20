#include "update/frmWV.h"

#include "platform/runtime/ErrorSteps.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/Shell.h"
#include "update/Config.h"
#include "update/Module1.h"

namespace {

void OpenPage(const std::string& address) {
    forms::ShellOpen({.verb = "open", .file = address, .show = SW_SHOWNORMAL});
}

}  // namespace

forms::StdPicture frmWV::WarningIcon() {
    // A copy: the shared system icon must not be destroyed with the picture.
    return forms::StdPicture::FromIcon(CopyIcon(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_WARNING))));
}

frmWV::frmWV()
    : Form({.Caption = "Warning - Runtime Files Out of Date", .Width = 6000, .Height = 3360,
            .Border = forms::BorderStyle::FixedDialog, .MinButton = false, .MaxButton = false,
            .StartUp = forms::StartUpPosition::CenterScreen}) {
    cmdDownload.Click = [this] { cmdDownload_Click(); };
    Command1.Click = [this] { Command1_Click(); };
    cmdIgnore.Click = [this] { cmdIgnore_Click(); };
    Check1.Click = [this] { Check1_Click(); };
}

void frmWV::Form_Load() { Label2.SetCaption("Your version number is: " + update::Module1::gRuntimeVersion); }

void frmWV::cmdDownload_Click() {
    using namespace update::config;
    OpenPage(std::string(kSite) + std::string(kDownloadScript) + "?file=" + std::string(kSecondaryHost) +
             std::string(kRuntimePack));
    update::Module1::EndProgram();
}

void frmWV::Command1_Click() {
    OpenPage(std::string(update::config::kSite) + std::string(update::config::kSupportPages));
    update::Module1::EndProgram();
}

void frmWV::cmdIgnore_Click() { Unload(); }

void frmWV::Check1_Click() {
    forms::IgnoringErrors([this] {
        if (Check1.Value() == 1) {
            forms::SaveSetting(update::Module1::kTitle, "verig", "verig2", "1");
        } else {
            forms::DeleteSetting(update::Module1::kTitle, "verig", "verig2");
        }
    });
}
