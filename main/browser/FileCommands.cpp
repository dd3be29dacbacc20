// Commands on the chosen files: delete, copy, move and rename. The disk work is the file service's, so the
// shell asks its own questions and recycles; this side decides what is passed and brings the list and the
// shown picture back in line afterwards.
#include "main/browser/FileCommands.h"

#include "main/browser/FileSelection.h"
#include "main/browser/frmQuillview.h"
#include "main/core/Module1.h"
#include "main/core/SettingsNames.h"
#include "main/core/clsFileManager.h"
#include "main/windows/frmBrowse.h"
#include "platform/forms/MessageLoop.h"
#include "platform/runtime/ErrorSteps.h"
#include "platform/runtime/FileSystem.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Paths.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/Strings.h"

#include <windows.h>

namespace browser {

std::vector<std::string> SelectedPaths(const forms::FileListBox& list, const std::string& folder) {
    std::vector<std::string> paths;
    const int count = list.ListCount();
    for (int i = 0; i < count; ++i) {
        if (list.Selected(i)) paths.push_back(forms::JoinPath(folder, list.List(i)));
    }
    return paths;
}

std::string JoinWithNul(const std::vector<std::string>& paths) {
    std::string joined;
    for (const std::string& path : paths) {
        if (!joined.empty()) joined.push_back('\0');
        joined += path;
    }
    return joined;
}

bool NamesFile(const std::vector<std::string>& paths, const std::string& fileName) {
    if (fileName.empty()) return false;
    for (const std::string& path : paths) {
        if (forms::TextEquals(forms::FileNameOf(path), fileName)) return true;
    }
    return false;
}

bool RecycleDeletions() { return forms::GetSettingNumber(settingsnames::kApp, "Options", "recyc", 1) == 1; }

void ReportFileFailure(const std::string& what) {
    const std::string& reason = Module1::gFileManager().LastOutcome().reason;
    if (reason.empty()) return;
    forms::MsgBox(what + "\r\n\r\n" + reason, forms::mb::Exclamation);
}

bool ShownFileExists() {
    const std::string& path = Module1::gCurrentImagePath;
    return !path.empty() && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace browser

namespace {

using browser::ShownFileExists;

// While held, the window takes no input: the shell's own windows are the ones to answer.
class DisabledWindow {
public:
    explicit DisabledWindow(forms::Form& window) : window_(window) { window_.SetEnabled(false); }
    ~DisabledWindow() { forms::IgnoringErrors([&] { window_.SetEnabled(true); }); }
    DisabledWindow(const DisabledWindow&) = delete;
    DisabledWindow& operator=(const DisabledWindow&) = delete;

private:
    forms::Form& window_;
};

// "a.jpg" for one file, "these 3 files" for more.
std::string Subject(const std::vector<std::string>& paths) {
    if (paths.size() == 1) return forms::FileNameOf(paths.front());
    return "these " + std::to_string(paths.size()) + " files";
}

// The entry with that name, letter case ignored unless two differ only by it; -1 when none.
int EntryNamed(const forms::FileListBox& list, const std::string& name) {
    int loose = -1;
    const int count = list.ListCount();
    for (int i = 0; i < count; ++i) {
        const std::string entry = list.List(i);
        if (entry == name) return i;
        if (loose < 0 && forms::TextEquals(entry, name)) loose = i;
    }
    return loose;
}

// Makes the entry with that name current and selected without loading it again.
void SelectQuietly(forms::FileListBox& list, const std::string& name) {
    const browser::SuppressFileClick suppress;
    const int index = EntryNamed(list, name);
    if (index >= 0) list.SetListIndex(index);
    forms::DoEvents();
}

void EnableBackAndForward(frmQuillview& w) {
    const bool any = w.File1.ListCount() > 0;
    w.Toolbar(0).SetEnabled(any);
    w.Toolbar(1).SetEnabled(any);
}

// After files went: the entry before the current one is chosen, else the one now in its place, else the logo.
// Without a current entry the list is only re-listed; the logo comes when the shown file is gone too.
void Reselect(frmQuillview& w) {
    const int position = w.File1.ListIndex();
    w.File1.Refresh();
    const int count = w.File1.ListCount();
    if (position < 0) {
        if (!ShownFileExists() || count == 0) w.ShowLogo();
        return;
    }
    if (position - 1 >= 0 && position - 1 < count) {
        w.File1.SetListIndex(position - 1);
    } else if (position < count) {
        w.File1.SetListIndex(position);
    } else {
        w.ShowLogo();
    }
}

// The chosen files to a folder the user picks, starting at the current one.
void CopyOrMoveFiles(frmQuillview& w, bool move) {
    const std::vector<std::string> selection = browser::SelectedPaths(w.File1, w.Dir1.Path());
    const std::string current = w.File1.FileName();
    const std::string verb = move ? "move" : "copy";
    const std::string prompt = selection.size() == 1
                                   ? "Please select where you would like to " + verb + " " +
                                         forms::FileNameOf(selection.front()) + " to."
                                   : "Please select where you would like to " + verb + " these " +
                                         std::to_string(selection.size()) + " files to.";
    std::string destination;
    if (forms::Default<frmBrowse>().ShowBrowse(&w, prompt, w.Dir1.Path(), &destination) && !destination.empty()) {
        if (Module1::gFileManager().MultipleFileOp(browser::JoinWithNul(selection), &w, move ? 0 : 1, destination)) {
            // The shown entry was not among them: the list follows the disk and the entry stays current.
            if (!browser::NamesFile(selection, current)) {
                w.File1.Refresh();
                if (!current.empty()) SelectQuietly(w.File1, current);
            }
        } else {
            browser::ReportFileFailure("Cannot " + verb + " " + Subject(selection) + " to " + destination + ".");
        }
    }
    if (!Module1::gCurrentImagePath.empty() && !ShownFileExists()) {
        w.File1.Refresh();
        w.ShowLogo();
    }
}

}  // namespace

void frmQuillview::BindFileCommands() {
    mnuDel.Click = [this] { mnuDel_Click(); };
    mnuCopyFile.Click = [this] { mnuCopyFile_Click(); };
    mnuMove.Click = [this] { mnuMove_Click(); };
    mnuRename.Click = [this] { mnuRename_Click(); };
    mnuCreateDir.Click = [this] { mnuCreateDir_Click(); };
    mnuCopyDir.Click = [this] { mnuCopyDir_Click(); };
    mnuMoveDir.Click = [this] { mnuMoveDir_Click(); };
    mnuDelDir.Click = [this] { mnuDelDir_Click(); };
    mnuCopy.Click = [this] { mnuCopy_Click(); };
    mnuOpen.Click = [this] { mnuOpen_Click(); };
}

void frmQuillview::mnuDel_Click() {
    const std::vector<std::string> selection = browser::SelectedPaths(File1, Dir1.Path());
    const std::string current = File1.FileName();
    {
        const DisabledWindow disabled(*this);
        if (!Module1::gFileManager().DeleteFile(browser::JoinWithNul(selection), this, browser::RecycleDeletions())) {
            browser::ReportFileFailure("Cannot delete " + Subject(selection) + ".");
        }
    }
    if (!browser::NamesFile(selection, current)) {
        if (!current.empty() && ShownFileExists()) {
            // The shown entry stayed: the deleted ones leave the list, and it stays current.
            File1.Refresh();
            SelectQuietly(File1, current);
        } else {
            Reselect(*this);
        }
    }
    if (!ShownFileExists() && !LogoShown_) Reselect(*this);
    EnableBackAndForward(*this);
}

void frmQuillview::mnuCopyFile_Click() { CopyOrMoveFiles(*this, false); }

void frmQuillview::mnuMove_Click() {
    CopyOrMoveFiles(*this, true);
    EnableBackAndForward(*this);
}

void frmQuillview::mnuRename_Click() {
    const std::string folder = Dir1.Path();
    const std::string oldName = File1.FileName();
    // Without a current entry the service would be handed the folder itself.
    if (oldName.empty()) return;
    std::string answer;
    bool renamed = false;
    forms::IgnoringErrors([&] { renamed = Module1::gFileManager().Rename(folder, oldName, this, &answer); });
    if (renamed) {
        const std::string newName = RenamedFileName(oldName, answer);
        forms::IgnoringErrors([&] { File1.Refresh(); });
        forms::IgnoringErrors([&] { SelectQuietly(File1, newName); });
        // The shown picture is the renamed file: what names it follows, so the next command finds it.
        if (forms::TextEquals(Module1::gCurrentImagePath, forms::JoinPath(folder, oldName))) {
            Module1::gCurrentImagePath = forms::JoinPath(folder, newName);
            forms::IgnoringErrors([&] { SetCaption("Quillview - " + newName); });
            forms::IgnoringErrors([&] { SB1.SetPanelText("fname", newName); });
        }
    } else {
        forms::IgnoringErrors([&] { browser::ReportFileFailure("Cannot rename " + oldName + "."); });
    }
    forms::DoEvents();
    forms::IgnoringErrors([&] { Fbts(3).ResetLook(0); });
}
