#include "main/settings/frmFavEd.h"

#include "main/core/MainWindowView.h"
#include "main/core/Module1.h"

#include "platform/forms/InputBox.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/RuntimeError.h"

#include <windows.h>

namespace {

constexpr int kHelpContext = 10009;

forms::FontSpec Arial() { return {.Name = "Arial", .Size = 8}; }

forms::StdPicture HelpPicture() {
    // A copy: the shared system icon must not be destroyed with the button's picture.
    return forms::StdPicture::FromIcon(CopyIcon(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_QUESTION))));
}

// An exact path that is a folder now: a favourite whose folder became a file is no longer valid.
bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

frmFavEd::frmFavEd()
    : Form({.Caption = "Favourites Manager",
            .Width = 6855,
            .Height = 4440,
            .Border = forms::BorderStyle::FixedDialog,
            .MinButton = false,
            .MaxButton = false,
            .ShowInTaskbar = false,
            .StartUp = forms::StartUpPosition::CenterScreen}),
      Label1(*this, "Label1", {120, 120, 6495, 255},
             {.Caption = "Favourites can be deleted, renamed and checked here", .Font = Arial()}),
      Label2(*this, "Label2", {120, 480, 2535, 255}, {.Caption = "Name", .Font = Arial()}),
      List1(*this, "List1", {120, 720, 2535, 2400}, {.Font = Arial()}),
      Label3(*this, "Label3", {2760, 480, 3855, 255}, {.Caption = "Location", .Font = Arial()}),
      List2(*this, "List2", {2760, 720, 3855, 2400}, {.Font = Arial()}),
      cmdCheck(*this, "cmdCheck", {120, 3240, 1215, 495}, {.Caption = "Check Exists", .Font = Arial()}),
      cmdRename(*this, "cmdRename", {1410, 3240, 1215, 495}, {.Caption = "Rename", .Font = Arial()}),
      cmdDelete(*this, "cmdDelete", {2700, 3240, 1215, 495}, {.Caption = "Delete", .Font = Arial()}),
      cmdHelp(*this, "cmdHelp", {3990, 3240, 555, 495}, {.Style = 1, .Picture = HelpPicture(), .Font = Arial()}),
      cmdOK(*this, "cmdOK", {5400, 3240, 1215, 495}, {.Caption = "OK", .Default = true, .Cancel = true, .Font = Arial()}) {
    cmdCheck.SetEnabled(false);
    cmdRename.SetEnabled(false);
    cmdDelete.SetEnabled(false);
    cmdHelp.SetToolTipText("Help");
    cmdOK.Click = [this] { cmdOK_Click(); };
    List1.Click = [this] { List1_Click(); };
    List2.Click = [this] { List2_Click(); };
    List1.MouseDown = [this](int, int, float, float) { List1_MouseDown(); };
    List2.MouseDown = [this](int, int, float, float) { List2_MouseDown(); };
    cmdCheck.Click = [this] { cmdCheck_Click(); };
    cmdDelete.Click = [this] { cmdDelete_Click(); };
    cmdRename.Click = [this] { cmdRename_Click(); };
    cmdHelp.Click = [this] { cmdHelp_Click(); };
}

void frmFavEd::Form_Load() {
    if (Module1::gAmericanSpelling) {
        SetCaption("Favorites Manager");
        Label1.SetCaption("Favorites can be deleted, renamed and checked here");
    }
    FillLists();
    dialogOpen_.Follow(hWnd());
}

void frmFavEd::Form_Unload(int&) { dialogOpen_.Release(); }

void frmFavEd::cmdOK_Click() { Unload(); }

void frmFavEd::FillLists() {
    List1.Clear();
    List2.Clear();
    auto& menu = Module1::MainWindow().FavouritesMenu();
    for (const int i : menu.Indexes()) {
        const std::string name = menu(i).Caption();
        const std::string folder = menu(i).Tag();
        if (name.empty() || folder.empty()) continue;
        List1.AddItem(name);
        List2.AddItem(folder);
    }
    EnableActions(false);
}

void frmFavEd::EnableActions(bool enabled) {
    cmdCheck.SetEnabled(enabled);
    cmdRename.SetEnabled(enabled);
    cmdDelete.SetEnabled(enabled);
}

void frmFavEd::SelectRow(forms::ListBox& list, int index) {
    try {
        list.SetListIndex(index);
    } catch (const forms::RuntimeError&) {
        // A row the other list lacks: nothing selected there.
    }
}

void frmFavEd::List1_Click() {
    SelectRow(List2, List1.ListIndex());
    const std::string location = List2.Text();
    EnableActions(List1.ListIndex() >= 0 && !List1.Text().empty() && !location.empty());
    List2.SetToolTipText(location);
}

void frmFavEd::List2_Click() { SelectRow(List1, List2.ListIndex()); }

void frmFavEd::List1_MouseDown() {
    if (List1.ListIndex() >= 0) SelectRow(List2, List1.ListIndex());
}

void frmFavEd::List2_MouseDown() {
    if (List2.ListIndex() >= 0) SelectRow(List1, List2.ListIndex());
}

void frmFavEd::cmdCheck_Click() {
    const std::string location = List2.Text();
    if (location.empty()) return;
    if (!IsFolder(location)) {
        if (forms::MsgBox("This favourite is invalid, delete it?", forms::mb::YesNo, "Delete Favourite?") ==
            forms::answer::Yes) {
            cmdDelete_Click();
        }
        return;
    }
    forms::MsgBox("This favourite is valid", forms::mb::OkOnly);
}

void frmFavEd::cmdDelete_Click() {
    if (List1.ListIndex() >= 0 &&
        forms::MsgBox("This action cannot be undone, are you sure you wish to delete the favourite?",
                      forms::mb::YesNo, "Quillview Confirmation") == forms::answer::Yes) {
        Module1::RemoveFavourite(List1.Text(), List2.Text());
        FillLists();
    }
    if (List1.ListIndex() < 0) EnableActions(false);
}

void frmFavEd::cmdRename_Click() {
    const int row = List1.ListIndex();
    if (row < 0) return;
    const std::string name = List1.Text();
    const std::string location = List2.Text();
    const std::string newName = forms::InputBox("Please input a new name for this favourite.");
    if (newName.empty()) return;

    // Errors are passed over step by step: the lists are refilled from the menu whatever the store did.
    try {
        Module1::RenameFavourite(name, location, newName);
    } catch (const forms::RuntimeError&) {
    }
    // The store puts a renamed favourite last; a refused one stays where it was, and then no row moves.
    bool renamed = false;
    try {
        auto& menu = Module1::MainWindow().FavouritesMenu();
        const forms::Menu& last = menu(menu.UBound());
        renamed = last.Caption() == newName && last.Tag() == location;
    } catch (const forms::RuntimeError&) {
    }
    FillLists();
    if (!renamed) return;
    try {
        const int last = List1.ListCount() - 1;
        if (last < 0 || row > last) return;
        const std::string movedName = List1.List(last);
        const std::string movedLocation = List2.List(last);
        List1.RemoveItem(last);
        List2.RemoveItem(last);
        List1.AddItem(movedName, row);
        List2.AddItem(movedLocation, row);
    } catch (const forms::RuntimeError&) {
    }
    EnableActions(false);
}

void frmFavEd::cmdHelp_Click() { Module1::ShowContextHelp(kHelpContext); }
