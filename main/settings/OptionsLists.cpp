// The Editors and Links pages edit the main window's live menus through their editable-menu objects; the Main
// page's home folder comes from the main window's folder, a folder browser or a favourite; the Links page
// makes the two desktop shortcuts. Each row of the lists names the menu item it stands for, also when the
// menu holds an item with an empty name or address.
#include "main/settings/options.h"

#include "lib/services/client/ComdlgClient.h"
#include "lib/services/client/ShellClient.h"
#include "main/core/MainWindowView.h"
#include "main/core/Module1.h"
#include "main/core/clsVarMenus.h"
#include "platform/forms/InputBox.h"
#include "platform/runtime/App.h"
#include "platform/runtime/ErrorSteps.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Paths.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/UserPaths.h"

#include <algorithm>
#include <cctype>

namespace {

forms::ControlArray<forms::Menu>& MenuOf(clsVarMenus& list) {
    if (!list.MenuItems) throw forms::RuntimeError(forms::err::ObjectNotSet);
    return *list.MenuItems;
}

// The menu items that are list entries: the empty placeholder of an empty menu is none.
std::vector<int> EntriesOf(clsVarMenus& list) {
    std::vector<int> entries;
    auto& menu = MenuOf(list);
    for (const int index : menu.Indexes())
        if (!menu(index).Caption().empty() || !menu(index).Tag().empty()) entries.push_back(index);
    return entries;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Selecting a row the list lacks selects nothing.
void SelectRow(forms::ListBox& list, int row) {
    forms::IgnoringErrors([&] { list.SetListIndex(row); });
}

}  // namespace

std::string options::FriendlyEditorName(const std::string& fileName) {
    static constexpr std::pair<const char*, const char*> known[] = {
        {"psp.exe", "Paint Shop Pro"},         {"photoed.exe", "Microsoft Photo Editor"},
        {"anim.exe", "Animation Shop"},        {"pictureviewer.exe", "Picture Viewer"},
        {"i_view32.exe", "Irfan View"},        {"photoshp.exe", "Adobe Photoshop"},
        {"bryce2.exe", "Bryce 2"},
    };
    const std::string lower = Lower(fileName);
    for (const auto& [file, name] : known)
        if (lower == file) return name;
    return fileName;
}

void options::FillEditors() {
    editorRows_.clear();
    EditorsList.Clear();
    auto& list = Module1::gEditorsMenu();
    for (const int index : EntriesOf(list)) {
        EditorsList.AddItem(MenuOf(list)(index).Tag());
        editorRows_.push_back(index);
    }
}

void options::FillLinks() {
    linkRows_.clear();
    lstWebname.Clear();
    lstWebAddr.Clear();
    auto& list = Module1::gMyWebsMenu();
    for (const int index : EntriesOf(list)) {
        lstWebname.AddItem(MenuOf(list)(index).Caption());
        lstWebAddr.AddItem(MenuOf(list)(index).Tag());
        linkRows_.push_back(index);
    }
}

// ---- Editors ----

void options::cmdAddEditor_Click() {
    services::client::CommonDialogs::OpenFileArgs dialog;
    dialog.dlgTitle = "Add Editor...";
    dialog.filter = "Executables|*.exe";
    dialog.filterIndex = 1;
    dialog.fileMustExist = true;
    dialog.multiSelect = false;
    dialog.hideReadOnly = true;
    dialog.owner = static_cast<std::int32_t>(reinterpret_cast<INT_PTR>(hWnd()));
    if (!Module1::gComdlg().VBGetOpenFileName(dialog) || dialog.fileName.empty()) return;
    const std::string answer = forms::InputBox("Please enter a friendly name for this editor.", "Add Editor...",
                                               FriendlyEditorName(forms::FileNameOf(dialog.fileName)));
    if (forms::Trim(answer).empty()) return;
    bool refused = false;
    const std::int32_t index = Module1::gEditorsMenu().AddItem(answer, dialog.fileName, refused);
    if (refused) return;
    FillEditors();
    const auto row = std::find(editorRows_.begin(), editorRows_.end(), index);
    if (row != editorRows_.end()) EditorsList.SetListIndex(static_cast<int>(row - editorRows_.begin()));
}

void options::EditorsList_Click() {
    const int row = EditorsList.ListIndex();
    if (EditorsList.ListCount() == 0 || row < 0 || row >= static_cast<int>(editorRows_.size())) return;
    txtEdNm.SetText(MenuOf(Module1::gEditorsMenu())(editorRows_[row]).Caption());
    txtEdNm.SetEnabled(true);
    cmdDelEditor.SetEnabled(true);
    cmdChangeEdNm.SetEnabled(true);
    EditorsList.SetToolTipText(EditorsList.Text());
}

void options::cmdChangeEdNm_Click() {
    const int row = EditorsList.ListIndex();
    if (row < 0 || row >= static_cast<int>(editorRows_.size())) return;
    const std::string name = Module1::gEditorsMenu().RenameItem(editorRows_[row]);
    if (!forms::Trim(name).empty()) txtEdNm.SetText(name);
}

void options::cmdDelEditor_Click() {
    const int row = EditorsList.ListIndex();
    if (row < 0 || row >= static_cast<int>(editorRows_.size())) return;
    if (forms::MsgBox("Are you sure you wish to remove this editor?", forms::mb::YesNo, "Remove Editor?") !=
        forms::answer::Yes)
        return;
    forms::IgnoringErrors([&] { Module1::gEditorsMenu().DelMenuItem(editorRows_[row]); });
    forms::IgnoringErrors([&] { FillEditors(); });
    txtEdNm.SetText("");
    SelectRow(EditorsList, row < EditorsList.ListCount() ? row : -1);
    if (EditorsList.ListIndex() < 0) {
        cmdDelEditor.SetEnabled(false);
        cmdChangeEdNm.SetEnabled(false);
    }
}

// ---- Web links ----

void options::lstWebname_Click() {
    forms::IgnoringErrors([&] {
        SelectRow(lstWebAddr, lstWebname.ListIndex());
        lstWebname.SetToolTipText(lstWebname.Text());
    });
    EnableLinkButtons(lstWebname.ListIndex() >= 0);
}

void options::lstWebname_MouseDown() {
    forms::IgnoringErrors([&] {
        SelectRow(lstWebAddr, lstWebname.ListIndex());
        lstWebname.SetToolTipText(lstWebname.Text());
    });
}

void options::lstWebAddr_Click() {
    forms::IgnoringErrors([&] {
        SelectRow(lstWebname, lstWebAddr.ListIndex());
        lstWebAddr.SetToolTipText(lstWebAddr.Text());
    });
}

void options::lstWebAddr_MouseDown() { lstWebAddr_Click(); }

void options::EnableLinkButtons(bool enabled) {
    Webctls(0).SetEnabled(enabled);
    Webctls(1).SetEnabled(enabled);
}

void options::Webctls_Click(int Index) {
    Webctls(Index).ResetLook(0);
    const int row = lstWebname.ListIndex();
    if (row < 0 || row >= static_cast<int>(linkRows_.size())) return;
    auto& links = Module1::gMyWebsMenu();
    if (Index == 0) {
        const std::string name = lstWebname.Text();
        if (forms::MsgBox("Are you sure you want to delete '" + name + "' from your imaging websites",
                          forms::mb::YesNo, "Delete Link?") != forms::answer::Yes)
            return;
        links.DelMenuItem(linkRows_[row]);
    } else {
        links.RenameItem(linkRows_[row]);
    }
    FillLinks();
    const int count = lstWebname.ListCount();
    SelectRow(lstWebname, row < count ? row : count - 1);
    if (count == 0) EnableLinkButtons(false);
}

// ---- Home folder ----

void options::EnableHomeFolderButtons() {
    const bool enabled = chkLastdir.Value() != 1;
    cmdCurrent.SetEnabled(enabled);
    Command1.SetEnabled(enabled);
    fav.SetEnabled(enabled);
}

void options::cmdCurrent_Click() { startdir.SetCaption(Module1::MainWindow().FolderPath()); }

void options::Command1_Click() {
    const auto folder = Module1::gShell().Folders("Browse for Start Directory...", GetDispatch().Get());
    // A cancelled browser keeps the home folder.
    if (folder) startdir.SetCaption(*folder);
}

void options::fav_Click() {
    forms::IgnoringErrors([&] {
        auto& favourites = Module1::MainWindow().FavouritesMenu();
        if (!favourites(favourites.LBound()).Enabled()) {
            forms::MsgBox("There are no favourites set!", forms::mb::OkOnly | forms::mb::Exclamation, "No Favourites");
            return;
        }
        for (int i = favourites.LBound(); i <= favourites.UBound(); ++i) {
            if (!favourites.Exists(i)) continue;
            if (i > 0 && !mnuFavs.Exists(i)) mnuFavs.Load(i);
            mnuFavs(i).SetCaption(favourites(i).Caption());
            mnuFavs(i).SetTag(favourites(i).Tag());
            mnuFavs(i).SetVisible(true);
        }
        // Items of favourites gone since an earlier popup of this showing are not offered.
        for (const int i : mnuFavs.Indexes())
            if (i > favourites.UBound()) mnuFavs(i).SetVisible(false);
        PopupMenu(mnuFav);
    });
}

void options::mnuFavs_Click(int Index) {
    const std::string folder = mnuFavs(Index).Tag();
    startdir.SetCaption(folder);
    startdir.SetToolTipText(folder);
}

// ---- Desktop shortcuts ----

void options::cmdDesktop_Click() {
    auto& shell = Module1::gShell();
    std::vector<std::string> failed;
    if (!shell.StartMenLnkCreate("..\\..\\Desktop", "\\Quillview",
                                 forms::JoinPath(forms::ProgramFolder(), forms::App::EXEName() + ".exe"), ""))
        failed.emplace_back("Quillview");
    if (!shell.StartMenLnkCreate("..\\..\\Desktop", "\\Quillview Update",
                                 forms::JoinPath(forms::ProgramFolder(), "qvupdate.exe"), ""))
        failed.emplace_back("Quillview Update");
    if (failed.empty()) return;
    const std::string names =
        failed.size() == 1 ? "shortcut '" + failed[0] + "'" : "shortcuts '" + failed[0] + "' and '" + failed[1] + "'";
    forms::MsgBox("The desktop " + names + " could not be made.", forms::mb::OkOnly | forms::mb::Exclamation);
}
