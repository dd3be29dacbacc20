// The toolbar's ten buttons: moving through the file list, home, refresh, the panel and display-mode toggles,
// and the windows it opens.
#include "main/browser/Artwork.h"
#include "main/browser/FileSelection.h"
#include "main/browser/frmQuillview.h"
#include "main/core/Module1.h"
#include "main/core/SettingsNames.h"
#include "main/core/clsIface.h"
#include "main/settings/options.h"
#include "main/windows/frmCap.h"
#include "main/windows/frmFullscn.h"
#include "platform/runtime/ErrorSteps.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Paths.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/UserPaths.h"

#include <string>

void frmQuillview::Toolbar_Click(int Index) {
    try {
        switch (Index) {
        case 0: NavigateFiles(-1); break;
        case 1: NavigateFiles(1); break;
        case 2: GoHome(); break;
        case 3: RefreshBrowser(); break;
        case 4: ToggleDirectories(); break;
        case 5: forms::Default<frmFullscn>().Show(forms::ShowMode::Modal); break;
        case 6: ToggleDisplayMode(); break;
        case 7:
            Toolbar(7).ResetLook(0);
            forms::Default<options>().Show(forms::ShowMode::Modal);
            ApplyOptions();
            break;
        case 8:
            Toolbar(8).ResetLook(0);
            Module1::ShowHelpContents();
            break;
        case 9:
            Toolbar(9).ResetLook(0);
            forms::Default<frmCap>().Show(forms::ShowMode::Modal);
            break;
        default: break;
        }
    } catch (const forms::RuntimeError& error) {
        if (error.Number() == forms::err::Overflow) {
            forms::MsgBox("Sorry, the image you are trying to view is too large!", forms::mb::OkOnly, "Quillview Error");
        } else {
            forms::MsgBox(error.Description(), forms::mb::Critical,
                          "A Critical Error Occured: Number: " + std::to_string(error.Number()));
        }
    }
}

void frmQuillview::NavigateFiles(int step) {
    const int count = File1.ListCount();
    if (count == 0) return;
    const int current = File1.ListIndex();
    {
        const browser::SuppressFileClick quiet;
        if (current >= 0) File1.SetSelected(current, false);
    }
    int next = 0;
    if (current < 0) {
        // No current entry: Back starts from the end, Forward from the start.
        next = step < 0 ? count - 1 : 0;
    } else {
        next = (current + step + count) % count;
    }
    // The file list's Click shows the picture, with its save question.
    File1.SetListIndex(next);
}

void frmQuillview::GoHome() {
    const std::string stored = forms::GetSetting(settingsnames::kApp, "Interface", "Startdir", "");
    // Without a start folder, home is the root of the program's drive, as at start-up.
    const std::string folder = stored.empty() ? forms::RootOf(forms::ProgramFolder()) : stored;
    const std::string root = forms::RootOf(folder);
    const int reportsBefore = DriveUnavailableReports;
    try {
        // A share has no drive to choose.
        if (forms::IsDriveRoot(root)) Drive1.SetDrive(root);
        Dir1.SetPath(folder);
    } catch (const forms::RuntimeError& e) {
        // The drive list goes back to the folder's drive; the folder stays where it is.
        KeepDriveInStep();
        // The drive list's change has said it already.
        if (e.Number() == forms::err::DeviceUnavailable && DriveUnavailableReports != reportsBefore) return;
        throw;
    }
}

void frmQuillview::RefreshBrowser() {
    if (LogoShown_) return;
    if (Tiled_) {
        TileImage(false);
        return;
    }
    if (!Module1::gImageSaved) return;
    const std::string name = File1.FileName();
    if (name.empty()) return;
    const int current = File1.ListIndex();
    Dir1.Refresh();
    ftvDirs.Refresh();
    File1.Refresh();
    // The same file again, found by name: a file added or removed meanwhile moves the entries.
    int index = -1;
    if (current >= 0 && current < File1.ListCount() && forms::TextEquals(File1.List(current), name)) {
        index = current;
    } else {
        for (int i = 0; i < File1.ListCount(); ++i) {
            if (forms::TextEquals(File1.List(i), name)) {
                index = i;
                break;
            }
        }
    }
    // Current and selected at once: a selection without a current entry would load nothing.
    if (index >= 0) File1.SetListIndex(index);
}

// The button shows icon 104 while the favourites list is up, 103 while the folder tree is.
void frmQuillview::ToggleDirectories() {
    if (!mInterface) return;
    const std::int32_t mode = mInterface->BrowserMode();
    if (mode == 1) {
        FavList.Clear();
        mInterface->SetBrowserMode(0);
        for (int i = mnuFav1.LBound(); i <= mnuFav1.UBound(); ++i) {
            if (!mnuFav1.Exists(i)) continue;
            if (!mnuFav1(i).Caption().empty() && !mnuFav1(i).Tag().empty()) FavList.AddItem(mnuFav1(i).Caption());
        }
        FavList.ZOrder(0);
        imgBrowserTools(1).SetVisible(true);
        imgBrowserTools(0).SetVisible(false);
        lblBTCap.SetCaption("Favorites");
        FavList.SetVisible(true);
        Toolbar(4).SetPicture(browser::ProgramIcon(browser::kIconPanel));
    } else if (mode == 0) {
        Toolbar(4).SetPicture(browser::ProgramIcon(browser::kIconTray));
        mInterface->SetBrowserMode(1);
        ftvDirs.ZOrder(0);
        imgBrowserTools(0).SetVisible(true);
        imgBrowserTools(1).SetVisible(false);
        lblBTCap.SetCaption("Directories");
        FavList.SetVisible(false);
    }
}

void frmQuillview::ToggleDisplayMode() {
    TilePic.SetPicture(browser::ProgramIcon(browser::kIconTile));
    if (Tiled_) {
        Tiled_ = false;
        Picture1.Cls();
    }
    if (DisplayMode_ == 101) {
        DisplayMode_ = 102;
        SetToolbarIcon(6, browser::kIconActualSize);
    } else if (DisplayMode_ == 102) {
        DisplayMode_ = 101;
        SetToolbarIcon(6, browser::kIconBestFit);
    } else {
        return;
    }
    DisplayImage();
    ShowDisplayMode(DisplayMode_, Tiled_);
}
