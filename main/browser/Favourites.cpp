// Going to a favourite from the panel's list or the Favourites menu, adding or deleting the current folder,
// and the favourites manager. The store rebuilds the menu; the list follows it.
#include "main/browser/frmQuillview.h"
#include "main/core/Module1.h"
#include "main/settings/frmFavEd.h"
#include "main/windows/frmFullscn.h"
#include "platform/forms/InputBox.h"
#include "platform/runtime/ErrorSteps.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Paths.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Strings.h"

namespace {

constexpr char kNoFavourites[] = "No Favourites";

// The drive list's step: skipped for a folder on a share, which has no drive letter.
std::string DriveOf(const std::string& folder) {
    std::string root = forms::RootOf(folder);
    return root.size() == 3 && root[1] == ':' ? root : std::string{};
}

}  // namespace

void frmQuillview::FavList_Click() {
    const std::string chosen = FavList.Text();
    if (chosen == kNoFavourites) return;
    int found = -1;
    for (const int i : mnuFav1.Indexes()) {
        if (mnuFav1(i).Caption() == chosen) {
            found = i;
            break;
        }
    }
    if (found < 0) return;
    const std::string caption = mnuFav1(found).Caption();
    const std::string folder = mnuFav1(found).Tag();
    const int reportsBefore = DriveUnavailableReports;
    try {
        if (const std::string drive = DriveOf(folder); !drive.empty()) {
            Drive1.SetDrive(drive);
            if (Module1::gFullScreenOpen) forms::Default<frmFullscn>().Drive1.SetDrive(Drive1.Drive());
        }
        Dir1.SetPath(folder);
    } catch (const forms::RuntimeError& e) {
        KeepDriveInStep();
        if (e.Number() == forms::err::DeviceUnavailable) {
            // Said once: the drive list's change may have said it already.
            if (DriveUnavailableReports == reportsBefore) {
                ++DriveUnavailableReports;
                forms::MsgBox("Drive unavailable", forms::mb::Exclamation, "Problem");
            }
        } else if (e.Number() == forms::err::PathNotFound) {
            // A folder that is gone gets the offer the menu makes.
            if (forms::MsgBox("This favourite is invalid, delete it?", forms::mb::YesNo, "Delete Favourite?") ==
                forms::answer::Yes) {
                Module1::RemoveFavourite(caption, folder);
                FillFavouritesList();
            }
        }
    }
}

void frmQuillview::FavList_MouseUp(int Button, int, float, float) {
    if (Button == forms::button::Right) PopupMenu(mnuFav);
}

void frmQuillview::mnuFav1_Click(int Index) {
    const std::string caption = mnuFav1(Index).Caption();
    const std::string folder = mnuFav1(Index).Tag();
    const bool reached = forms::IgnoringErrors([&] {
        if (const std::string drive = DriveOf(folder); !drive.empty()) Drive1.SetDrive(drive);
        Dir1.SetPath(folder);
        File1.Refresh();
    });
    if (reached) {
        // Chosen from the viewer's popup: the viewer goes to the folder with the main window, whatever drive
        // its own lists were moved to on the way.
        if (frmFullscn& viewer = forms::Default<frmFullscn>(); Module1::gFullScreenOpen && viewer.IsLoaded())
            viewer.Dir1.SetPath(Dir1.Path());
        return;
    }
    KeepDriveInStep();
    if (forms::MsgBox("This favourite is invalid, delete it?", forms::mb::YesNo, "Delete Favourite?") ==
        forms::answer::Yes) {
        Module1::RemoveFavourite(caption, folder);
        FillFavouritesList();
    }
}

void frmQuillview::mnuAdd_Click() {
    const std::string caption = mnuAdd.Caption();
    const std::string folder = Dir1.Path();
    if (caption == "Add current Folder...") {
        const std::size_t slash = folder.rfind('\\');
        const std::string suggested = slash == std::string::npos ? std::string{} : folder.substr(slash + 1);
        // Trimmed before the tests: a blank name adds nothing, and "No Favourites " is the reserved name too.
        const std::string name =
            forms::Trim(forms::InputBox("Please input a name for this favourite", "Enter Name", suggested));
        if (name.empty()) return;
        if (name == kNoFavourites) {
            forms::MsgBox("Illegal Favourites name, please choose another name", forms::mb::Exclamation,
                          "Illegal Name");
            return;
        }
        Module1::AddFavourite(name, folder);
        SetAddFavouriteCaption();
    } else if (caption == "Delete this Favourite...") {
        if (forms::MsgBox("Are you sure you wish to delete this favourite?", forms::mb::YesNo, "Delete Favourite?") ==
            forms::answer::Yes) {
            std::string name;
            for (const int i : mnuFav1.Indexes()) {
                if (mnuFav1(i).Tag() == folder) {
                    name = mnuFav1(i).Caption();
                    break;
                }
            }
            Module1::RemoveFavourite(name, folder);
            SetAddFavouriteCaption();
        }
    }
    FillFavouritesList();
}

void frmQuillview::mnuFavMan_Click() {
    forms::Default<frmFavEd>().Show(forms::ShowMode::Modal);
    // The editor may have deleted the current folder's favourite: the command must not offer to delete it.
    SetAddFavouriteCaption();
    FillFavouritesList();
}
