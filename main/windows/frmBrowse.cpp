#include "main/windows/frmBrowse.h"

#include "main/core/MainWindowView.h"
#include "main/core/Module1.h"
#include "main/windows/WindowResources.h"

namespace {

constexpr forms::FontSpec kHeaderFont{.Name = "MS Sans Serif", .Size = 8.25f, .Bold = true};

bool FolderExists(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return !path.empty() && a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

frmBrowse::frmBrowse()
    : Form({.Caption = "Browse Directories",
            .Width = 6720,
            .Height = 5085,
            .Border = forms::BorderStyle::FixedSingle,
            .MinButton = false,
            .MaxButton = false,
            .ShowInTaskbar = false,
            .StartUp = forms::StartUpPosition::CenterOwner}),
      Label1(*this, "Label1", {120, 120, 6375, 495}, {.UseMnemonic = false}),
      Label2(*this, "Label2", {120, 720, 3615, 255},
             {.Caption = "Directories", .BackColor = forms::color::AppWorkspace, .ForeColor = 0xFFFFFF,
              .Font = kHeaderFont}),
      ftvDirs(*this, "ftvDirs", {120, 975, 3615, 3135}),
      Label3(*this, "Label3", {3840, 720, 2655, 255},
             {.Caption = "Favourites", .BackColor = forms::color::AppWorkspace, .ForeColor = 0xFFFFFF,
              .Font = kHeaderFont}),
      lstFavs(*this, "lstFavs", {3840, 975, 2655, 3135}),
      Command2(*this, "Command2", {3960, 4200, 1215, 375}, {.Caption = "OK", .Default = true}),
      Command1(*this, "Command1", {5280, 4200, 1215, 375}, {.Caption = "Cancel", .Cancel = true}) {
    ftvDirs.FolderChange = [this](const forms::FolderItem& item) { ftvDirs_FolderChange(item); };
    lstFavs.Click = [this] { lstFavs_Click(); };
    Command2.Click = [this] { Command2_Click(); };
    Command1.Click = [this] { Command1_Click(); };
}

void frmBrowse::Form_Load() {
    dialogOpen_.Follow(hWnd());
    // Each showing starts afresh: the close box counts as Cancel, and the tree's first report fills the path.
    Cancelled = true;
    ChosenPath.clear();
    SendMessageA(hWnd(), WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(windows_res::kBrowseIcon))));
    if (Module1::gAmericanSpelling) Label3.SetCaption("Favorites");
    auto& favourites = Module1::MainWindow().FavouritesMenu();
    for (const int i : favourites.Indexes()) lstFavs.AddItem(favourites(i).Caption());
    // The empty menu's placeholder has no folder.
    const auto indexes = favourites.Indexes();
    if (!indexes.empty() && favourites(indexes.front()).Tag().empty()) lstFavs.SetEnabled(false);
}

void frmBrowse::Form_Unload(int&) { dialogOpen_.Release(); }

bool frmBrowse::ShowBrowse(forms::Form* Owner, const std::string& Msg, const std::string& InitDir,
                           std::string* puDest) {
    Label1.SetCaption(Msg);
    // A start folder that has gone leaves the tree where it opens.
    if (FolderExists(InitDir)) ftvDirs.SetPath(InitDir);
    Show(forms::ShowMode::Modal, Owner);
    if (puDest) *puDest = ChosenPath;
    const bool chosen = !Cancelled && FolderExists(ChosenPath);
    Unload();
    return chosen;
}

void frmBrowse::ftvDirs_FolderChange(const forms::FolderItem& item) { ChosenPath = item.Path; }

void frmBrowse::lstFavs_Click() {
    const int index = lstFavs.ListIndex();
    auto& favourites = Module1::MainWindow().FavouritesMenu();
    if (index < 0 || !favourites.Exists(index)) return;
    const std::string folder = favourites(index).Tag();
    // A favourite whose folder has gone leaves the tree where it is.
    if (FolderExists(folder)) ftvDirs.SetPath(folder);
}

void frmBrowse::Command2_Click() {
    ChosenPath = ftvDirs.Path();
    Cancelled = false;
    Unload();
}

void frmBrowse::Command1_Click() {
    Cancelled = true;
    Unload();
}
