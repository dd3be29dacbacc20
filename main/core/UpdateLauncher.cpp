#include "main/core/Addresses.h"
#include "main/core/Module1.h"
#include "main/core/clsHelp.h"

#include "platform/runtime/MsgBox.h"
#include "platform/runtime/ErrorSteps.h"
#include "platform/runtime/FileSystem.h"
#include "platform/runtime/Paths.h"
#include "platform/runtime/Shell.h"
#include "platform/runtime/UserPaths.h"

namespace Module1 {
namespace {

constexpr char kHelpFile[] = "qv23hlp.chm";

std::string HelpFilePath() { return forms::ProgramFolder() + "\\" + kHelpFile; }

bool HtmlHelpInstalled() { return !forms::Dir(forms::JoinPath(GetSystemDir(), "hhctrl.ocx")).empty(); }

void OpenSupportPage() {
    forms::ShellOpen({.verb = "Open",
                      .file = std::string("http://") + addresses::kSupportHost +
                              "/support/quillview23/qv_htmlhelp_notsupported.htm",
                      .directory = forms::ProgramFolder()});
}

}  // namespace

clsHelp& gHelp() {
    static clsHelp* const help = new clsHelp();  // lives for the run
    return *help;
}

void LaunchUpdateTool(std::int32_t Mode) {
    const std::string program = forms::JoinPath(forms::ProgramFolder(), "qvupdate.exe");
    std::string word;
    switch (Mode) {
    case 1: word = "links"; break;
    case 2: word = "qvupdate"; break;
    case 3: word = "submitweb"; break;
    default: break;
    }
    if (forms::Dir(program).empty()) {
        forms::MsgBox("The Quillview Update executable file 'qvupdate.exe' could not be found!\r\n\r\nPlease "
                      "reinstall Quillview!",
                      forms::mb::Critical, "Quillview Update cannot launch!");
        return;
    }
    // Quoted, so that a folder with blanks ("C:\Program Files\...") starts this program and no other.
    forms::IgnoringErrors([&] { forms::Shell("\"" + program + "\" " + word, forms::shell_style::NormalFocus); });
}

void ShowHelpContents() {
    const std::string file = HelpFilePath();
    if (forms::Dir(file).empty()) {
        forms::MsgBox("The Helpfile 'qv23hlp.chm' is missing, please reinstall Quillview", forms::mb::Critical,
                      "Help File Not Found");
        return;
    }
    if (!HtmlHelpInstalled()) {
        const int answer = forms::MsgBox(
            "You do not have HTML Help support installed! You may wish to go to Quillview support and retrieve the "
            "plain HTML version; would you like to visit the support page for this now?",
            forms::mb::YesNo | forms::mb::Critical, "HTML Help Support not installed");
        if (answer != forms::answer::Yes) return;
        OpenSupportPage();
    }
    forms::ShellOpen({.verb = "Open", .file = file, .directory = forms::ProgramFolder()});
}

void ShowContextHelp(std::int32_t ContextID) {
    if (!HtmlHelpInstalled()) {
        const int answer = forms::MsgBox(
            "Unfortunately context-sensitive help cannot be initiated because you do not have HTML Help installed "
            "on your system, would you like to visit a webpage on the Quillview Support website for further help?",
            forms::mb::YesNo | forms::mb::Exclamation, "HTML Help not installed");
        if (answer == forms::answer::Yes) OpenSupportPage();
        return;
    }
    gHelp().Show(HelpFilePath(), "popup", ContextID);
}

}  // namespace Module1
