// Mouse navigation through the folder, the panel's lists and their mirroring into the main window.

#include "main/windows/frmFullscn.h"

#include "main/core/Addresses.h"
#include "main/core/MainWindowView.h"
#include "main/core/Module1.h"
#include "main/core/SettingsNames.h"
#include "platform/forms/controls/DirListBox.h"
#include "platform/forms/controls/FileListBox.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/ErrorSteps.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/Strings.h"
#include "platform/forms/controls/DriveListBox.h"

#include <cctype>
#include <string>

namespace {

// Read afresh at each click: on when the stored text is numerically 1.
bool OptionOn(const char* key) {
    const std::string text = forms::GetSetting(settingsnames::kApp, "Options", key, "0");
    return forms::IsNumeric(text) && forms::ToDouble(text) == 1;
}

constexpr const char* kToLast =
    "There are no more images to view in the current directory, switching to last image.";
constexpr const char* kToFirst =
    "There are no more images to view in the current directory, switching to first image.";

}  // namespace

void frmFullscn::Form_MouseUp(int Button, int /*Shift*/, float /*X*/, float /*Y*/) { Navigate(Button); }

void frmFullscn::Navigate(int Button) {
    if (Tim.Enabled()) return;
    if (OptionOn("disfsnav")) {
        Unload();
        return;
    }
    if (OptionOn("closeafter1") && Module1::gStartedFullScreen) {
        Unload();
        return;
    }
    if (OptionOn("fsnav")) Button = Button == forms::button::Left ? forms::button::Right
                                    : Button == forms::button::Right ? forms::button::Left
                                                                      : Button;
    try {
        const int count = File1.ListCount();
        if (count == 0) return;
        const int index = File1.ListIndex();
        if (Button == forms::button::Left) {
            if (index == -1) {
                File1.SetListIndex(0);
            } else if (index == 0) {
                forms::MsgBox(kToLast, forms::mb::Information, "Quillview 2");
                File1.SetListIndex(count - 1);
            } else {
                File1.SetListIndex(index - 1);
            }
        } else if (Button == forms::button::Right) {
            if (index == count - 1) {
                forms::MsgBox(kToFirst, forms::mb::Information, "Quillview 2");
                File1.SetListIndex(0);
            } else {
                File1.SetListIndex(index + 1);
            }
        }
    } catch (const forms::RuntimeError& e) {
        // Reported, and the routine goes no further.
        forms::MsgBox(std::string("An error has occurred in the 'Nav' Procedure of the Full screen mode, please "
                                  "report this error to ") +
                          addresses::kSupportAddress + " and please quote the error number just about to come up.",
                      forms::mb::Critical, "Error Occurred");
        forms::MsgBox(e.Description() + " Error Number:" + std::to_string(e.Number()), forms::mb::Critical, "Error");
    }
}

namespace {

// The drive letter of a path or of a drive list's text ("c: [SYSTEM]"), upper case; 0 for none.
char DriveLetter(const std::string& text) {
    if (text.size() < 2 || text[1] != ':') return 0;
    return static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
}

}  // namespace

void frmFullscn::ftvDirs_FolderChange(const forms::FolderItem& item) {
    // A node outside the file system (the Desktop, My Computer) is no folder to show.
    if (item.Path.empty() || forms::TextEquals(item.Path, Dir1.Path())) return;
    Dir1.SetPath(item.Path);
}

void frmFullscn::Dir1_Change() {
    const std::string path = Dir1.Path();
    Module1::MainWindowView& main = Module1::MainWindow();
    if (!forms::TextEquals(ftvDirs.Path(), path)) {
        // A folder the tree cannot show leaves the tree where it is; the lists still follow.
        forms::IgnoringErrors([&] { ftvDirs.SetPath(path); });
    }
    // Only a real difference goes across, and not while the other side is the one changing.
    const bool mirror = !mirroring_;
    mirroring_ = true;
    struct Done {
        bool& flag;
        bool restore;
        ~Done() { flag = restore; }
    } done{mirroring_, !mirror};
    // A folder chosen on another drive in the tree takes the drive lists along, the main window's before its
    // folder list, so that its drive change cannot move it off the folder.
    const char letter = DriveLetter(path);
    if (letter && DriveLetter(Drive1.Drive()) != letter) forms::IgnoringErrors([&] { Drive1.SetDrive(path.substr(0, 2)); });
    if (mirror && letter && DriveLetter(main.DriveList().Drive()) != letter)
        main.DriveList().SetDrive(path.substr(0, 2));
    if (mirror && main.FolderList().Path() != path) main.FolderList().SetPath(path);
    if (File1.Path() != path) File1.SetPath(path);
    if (mirror && main.FileList().Path() != path) main.FileList().SetPath(path);
    UpdateCounters();
}

void frmFullscn::Drive1_Change() {
    if (mirroring_) return;
    const std::string folderDrive = Dir1.Path().substr(0, 2);
    try {
        Dir1.SetPath(Drive1.Drive());
        Module1::MainWindowView& main = Module1::MainWindow();
        if (DriveLetter(main.DriveList().Drive()) != DriveLetter(Drive1.Drive())) {
            mirroring_ = true;
            struct Done {
                bool& flag;
                ~Done() { flag = false; }
            } done{mirroring_};
            main.DriveList().SetDrive(Drive1.Drive());
        }
    } catch (const forms::RuntimeError& e) {
        if (e.Number() == 68) {
            forms::MsgBox("Drive unavailable", forms::mb::Exclamation, "Problem");
        } else {
            forms::MsgBox(e.Description(), forms::mb::Critical, std::to_string(e.Number()));
        }
        // The list goes back to the drive of the folder still shown.
        mirroring_ = true;
        struct Done {
            bool& flag;
            ~Done() { flag = false; }
        } done{mirroring_};
        try {
            Drive1.SetDrive(folderDrive);
        } catch (const forms::RuntimeError&) {
        }
    }
}

void frmFullscn::PopupFavourites(int Button) {
    if (Button != forms::button::Right) return;
    forms::Menu* favourites = Module1::MainWindow().FavouritesMenu()[0].Parent();
    if (favourites) PopupMenu(*favourites);
}
