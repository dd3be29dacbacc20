// Drives and folders: the folder list is the master, and its change brings the file list, the Fileseek
// results, the favourite command and the back and forward buttons into line.
#include "main/browser/frmQuillview.h"
#include "main/core/Module1.h"
#include "main/windows/frmFullscn.h"
#include "platform/runtime/ErrorSteps.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Paths.h"
#include "platform/runtime/RuntimeError.h"

namespace {

// Sets a flag for a scope and gives back the value it had, also when a step fails.
class HoldFlag {
public:
    explicit HoldFlag(bool& flag) noexcept : flag_(flag), before_(flag) { flag = true; }
    ~HoldFlag() { flag_ = before_; }
    HoldFlag(const HoldFlag&) = delete;
    HoldFlag& operator=(const HoldFlag&) = delete;

private:
    bool& flag_;
    bool before_;
};

void Highlight(forms::Control& control, forms::Label& caption) {
    control.GotFocus = [&caption] { caption.SetBackColor(forms::color::ActiveCaption); };
    control.LostFocus = [&caption] { caption.SetBackColor(forms::color::InactiveCaption); };
}

}  // namespace

void frmQuillview::BindNavigation() {
    Drive1.Change = [this] { Drive1_Change(); };
    Dir1.MouseUp = [this](int b, int s, float x, float y) { Dir1_MouseUp(b, s, x, y); };
    ftvDirs.FolderChange = [this](const forms::FolderItem& item) { ftvDirs_FolderChange(item); };
    ftvDirs.MouseUp = [this](int b, int s, float x, float y) { ftvDirs_MouseUp(b, s, x, y); };
    Highlight(ftvDirs, lblBTfiles);
    FavList.Click = [this] { FavList_Click(); };
    FavList.MouseUp = [this](int b, int s, float x, float y) { FavList_MouseUp(b, s, x, y); };
    mnuFav1.OnEach([this](forms::Menu& m) { m.Click = [this, i = m.Index()] { mnuFav1_Click(i); }; });
    mnuAdd.Click = [this] { mnuAdd_Click(); };
    mnuFavMan.Click = [this] { mnuFavMan_Click(); };
    File1.MouseDown = [this](int b, int s, float x, float y) { File1_MouseDown(b, s, x, y); };
    File1.MouseUp = [this](int b, int s, float x, float y) { File1_MouseUp(b, s, x, y); };
    Fbts.OnEach([this](forms::SoftButton& b) { b.Click = [this, i = b.Index()] { Fbts_Click(i); }; });
    txtSearch.Click = [this] { txtSearch_Click(); };
    txtSearch.GotFocus = [this] { txtSearch_GotFocus(); };
    txtSearch.KeyPress = [this](int& KeyAscii) { txtSearch_KeyPress(KeyAscii); };
    txtSearch.LostFocus = [this] { txtSearch_LostFocus(); };
    List1.Click = [this] { List1_Click(); };
    List1.KeyPress = [this](int& KeyAscii) { List1_KeyPress(KeyAscii); };
    Highlight(List1, lblBTFiles2);
    Highlight(File1, lblBTfiles);
    Highlight(FavList, lblBTfiles);
    Fbts.OnEach([this](forms::SoftButton& b) { Highlight(b, lblBTfiles); });
}

void frmQuillview::Drive1_Change() {
    if (KeepingDriveInStep) return;
    try {
        Dir1.SetPath(Drive1.Drive());
        if (Module1::gFullScreenOpen) forms::Default<frmFullscn>().Drive1.SetDrive(Drive1.Drive());
    } catch (const forms::RuntimeError& e) {
        if (e.Number() == forms::err::DeviceUnavailable) {
            ++DriveUnavailableReports;
            forms::MsgBox("Drive unavailable", forms::mb::Exclamation, "Problem");
        }
        KeepDriveInStep();
    }
}

void frmQuillview::KeepDriveInStep() {
    const std::string root = forms::RootOf(Dir1.Path());
    if (root.size() != 3 || root[1] != ':') return;
    const HoldFlag keeping(KeepingDriveInStep);
    forms::IgnoringErrors([&] { Drive1.SetDrive(root); });
}

void frmQuillview::Dir1_Change() {
    // One step at a time: a folder whose files cannot be listed still empties the results and recomputes the
    // caption and the buttons.
    using forms::IgnoringErrors;
    // The tree, a favourite or the viewer may have moved the folder to another drive: a later drive change
    // by code must see the drive really shown.
    IgnoringErrors([&] { KeepDriveInStep(); });
    IgnoringErrors([&] {
        // The tree may spell the folder in other letter case; handing that back would make another change.
        const HoldFlag following(TreeFollowingFolder);
        ftvDirs.SetPath(Dir1.Path());
    });
    IgnoringErrors([&] { File1.SetPath(Dir1.Path()); });
    IgnoringErrors([&] { List1.Clear(); });
    IgnoringErrors([&] { SetAddFavouriteCaption(); });
    IgnoringErrors([&] {
        const bool any = File1.ListCount() > 0;
        Toolbar(0).SetEnabled(any);
        Toolbar(1).SetEnabled(any);
    });
}

void frmQuillview::SetAddFavouriteCaption() {
    const std::string folder = Dir1.Path();
    for (const int i : mnuFav1.Indexes()) {
        if (mnuFav1(i).Tag() == folder) {
            mnuAdd.SetCaption("Delete this Favourite...");
            return;
        }
    }
    mnuAdd.SetCaption("Add current Folder...");
}

void frmQuillview::ftvDirs_FolderChange(const forms::FolderItem& item) {
    if (TreeFollowingFolder) return;
    if (!item.IsFileSystem) {
        forms::MsgBox("This folder is not valid!");
        forms::IgnoringErrors([&] { ftvDirs.Refresh(); });
    }
    if (!forms::IgnoringErrors([&] { Dir1.SetPath(item.Path); })) KeepDriveInStep();
}

void frmQuillview::ftvDirs_MouseUp(int Button, int Shift, float X, float Y) { Dir1_MouseUp(Button, Shift, X, Y); }

void frmQuillview::Dir1_MouseUp(int Button, int, float, float) {
    if (Button != forms::button::Right) return;
    forms::Menu* const folderCommands[] = {&lin882, &mnuCreateDir, &mnuDelDir, &mnuCopyDir, &mnuMoveDir};
    for (forms::Menu* item : folderCommands) item->SetVisible(true);
    // The menu bar's Favourites menu never shows them, also when a command in the popup fails.
    struct HideAfter {
        forms::Menu* const (&items)[5];
        ~HideAfter() {
            for (forms::Menu* item : items) forms::IgnoringErrors([&] { item->SetVisible(false); });
        }
    } hide{folderCommands};
    PopupMenu(mnuFav);
}
