// Commands on the current folder, from the folder popup: create a folder in it, copy, move or delete it.
#include "main/browser/FileCommands.h"
#include "main/browser/frmQuillview.h"
#include "main/core/Module1.h"
#include "main/core/clsFileManager.h"
#include "platform/forms/InputBox.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Paths.h"
#include "platform/runtime/Strings.h"

#include <windows.h>

#include <array>

namespace {

constexpr const char* kRootRefused = "The root folder of a drive cannot be moved or deleted.";

std::string SystemReason(DWORD code) {
    char buffer[512] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                        0, buffer, sizeof buffer, nullptr);
    std::string text(buffer, length);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text.empty() ? "Error " + std::to_string(code) + "." : text;
}

// The device names every folder has: a folder of that name cannot be made or reached, extension or not.
bool IsDeviceName(const std::string& name) {
    const std::string base = forms::UCase(forms::RTrim(name.substr(0, name.find('.'))));
    static constexpr std::array<const char*, 4> kPlain{"CON", "PRN", "AUX", "NUL"};
    for (const char* device : kPlain) {
        if (base == device) return true;
    }
    return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) && base[3] >= '1' &&
           base[3] <= '9';
}

// The folder a command moves to after its folder went: "C:\a\b" -> "C:\a", "C:\a" -> "C:\".
std::string ParentFolder(const std::string& folder) { return forms::FolderOf(folder); }

// Goes to the folder a copy or move put the folder in.
void Follow(frmQuillview& w, const std::string& destination) {
    const std::string root = forms::RootOf(destination);
    // A share has no drive to choose.
    if (root.size() == 3) w.Drive1.SetDrive(root);
    w.Dir1.SetPath(destination);
}

}  // namespace

void frmQuillview::mnuCreateDir_Click() {
    const std::string answer = forms::InputBox("Please enter the name of the new directory.", "Create New Directory");
    if (answer.find_first_of("\\/?|\"<>*:") != std::string::npos) {
        forms::MsgBox("Directory Names cannot include the characters: \\, /, ?, |, \", <,>, *, :");
        return;
    }
    if (forms::Trim(answer).empty()) return;
    const std::string folder = forms::JoinPath(Dir1.Path(), answer);
    std::string reason;
    if (answer == "." || answer == "..") {
        reason = SystemReason(ERROR_INVALID_NAME);
    } else if (IsDeviceName(answer)) {
        reason = "\"" + answer + "\" is a name the system keeps for a device.";
    } else if (!CreateDirectoryA(folder.c_str(), nullptr)) {
        reason = SystemReason(GetLastError());
    }
    if (!reason.empty()) {
        forms::MsgBox("Cannot create the folder " + answer + ".\r\n\r\n" + reason, forms::mb::Exclamation);
        return;
    }
    Dir1.Refresh();
}

void frmQuillview::mnuCopyDir_Click() {
    std::string destination;
    std::string chosen;
    if (!Module1::gFileManager().CopyDirectory(Dir1.Path(), this, &destination, &chosen)) {
        browser::ReportFileFailure("Cannot copy the folder " + Dir1.Path() + ".");
        return;
    }
    if (FollowOperations) {
        Follow(*this, chosen);
    } else {
        Dir1.Refresh();
    }
}

void frmQuillview::mnuMoveDir_Click() {
    const std::string folder = Dir1.Path();
    if (forms::IsRootFolder(folder)) {
        forms::MsgBox(kRootRefused, forms::mb::Exclamation);
        return;
    }
    std::string destination;
    std::string chosen;
    if (!Module1::gFileManager().MoveDirectory(folder, this, &destination, &chosen)) {
        browser::ReportFileFailure("Cannot move the folder " + folder + ".");
        return;
    }
    if (FollowOperations) {
        Follow(*this, chosen);
        // The shown picture may have moved with the folder.
        if (!Module1::gCurrentImagePath.empty() && !browser::ShownFileExists()) ShowLogo();
    } else {
        Dir1.SetPath(ParentFolder(folder));
        ShowLogo();
    }
}

void frmQuillview::mnuDelDir_Click() {
    const std::string folder = Dir1.Path();
    if (forms::IsRootFolder(folder)) {
        forms::MsgBox(kRootRefused, forms::mb::Exclamation);
        return;
    }
    if (!Module1::gFileManager().DeleteDirectory(folder, this, browser::RecycleDeletions())) {
        browser::ReportFileFailure("Cannot delete the folder " + folder + ".");
        return;
    }
    Dir1.SetPath(ParentFolder(folder));
    if (!LogoShown_) ShowLogo();
}
