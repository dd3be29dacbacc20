#include "main/core/MainWindowView.h"
#include "main/core/Module1.h"
#include "main/core/SettingsNames.h"

#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Settings.h"

// The favourites: store "Quillview2\Favs", values "favn<n>" (name) and "fava<n>" (folder), n = 1, 2, ...
// without gaps. The store is the master; arrays and menu are rebuilt from it after every change.

namespace Module1 {
namespace {

using settingsnames::kApp;
constexpr char kSection[] = "Favs";

std::string StoredName(std::size_t n) { return forms::GetSetting(kApp, kSection, "favn" + std::to_string(n)); }
std::string StoredFolder(std::size_t n) { return forms::GetSetting(kApp, kSection, "fava" + std::to_string(n)); }

void Store(std::size_t n, const std::string& name, const std::string& folder) {
    forms::SaveSetting(kApp, kSection, "favn" + std::to_string(n), name);
    forms::SaveSetting(kApp, kSection, "fava" + std::to_string(n), folder);
}

void Forget(std::size_t n) {
    forms::DeleteSetting(kApp, kSection, "favn" + std::to_string(n));
    forms::DeleteSetting(kApp, kSection, "fava" + std::to_string(n));
}

std::size_t Count() { return gFavNames.empty() ? 0 : gFavNames.size() - 1; }

void Reload() {
    gFavNames.assign(1, {});
    gFavPaths.assign(1, {});
    LoadFavouritesMenu();
}

// The message for a name another favourite has, or a folder already a favourite; nothing when neither.
// Index 0 holds an empty string, so an empty name or folder is refused too.
bool Refused(const std::string& Name, const std::string& Path) {
    for (std::size_t i = 0; i < gFavNames.size(); ++i) {
        if (gFavPaths[i] == Path) {
            forms::MsgBox("The directory has already been set as a favourite!", forms::mb::Exclamation);
            return true;
        }
        if (gFavNames[i] == Name) {
            forms::MsgBox("This name has been used by another favourite.", forms::mb::OkOnly);
            return true;
        }
    }
    return false;
}

}  // namespace

void LoadFavouritesMenu() {
    auto& menu = MainWindow().FavouritesMenu();
    for (const int index : menu.Indexes()) {
        if (index > 0) menu.Unload(index);
    }
    gFavNames.assign(1, {});
    gFavPaths.assign(1, {});
    for (std::size_t n = 1;; ++n) {
        std::string name = StoredName(n);
        if (name.empty()) {
            forms::Menu& first = menu(0);
            first.SetCaption("No Favourites");
            first.SetEnabled(false);
            first.SetTag({});
            return;
        }
        std::string folder = StoredFolder(n);
        const int index = static_cast<int>(n - 1);
        if (index > 0) menu.Load(index);
        forms::Menu& item = menu(index);
        item.SetCaption(name);
        item.SetEnabled(true);
        item.SetTag(folder);
        gFavNames.push_back(std::move(name));
        gFavPaths.push_back(std::move(folder));
        if (StoredName(n + 1).empty()) return;
    }
}

void AddFavourite(const std::string& Name, const std::string& Path) {
    if (gFavNames.empty()) Reload();
    if (Refused(Name, Path)) return;
    Store(Count() + 1, Name, Path);
    Reload();
}

void RemoveFavourite(const std::string& Name, const std::string& Path) {
    if (Name.empty()) return;
    if (gFavNames.empty()) Reload();
    const std::size_t last = Count();
    if (last == 0) return;
    const std::string lastName = StoredName(last);
    const std::string lastFolder = StoredFolder(last);
    if (!(Name == lastName && Path == lastFolder)) {
        // Only the favourites the menu shows: an entry behind a gap in the store is left alone.
        std::size_t hit = 0;
        for (std::size_t k = 1; k <= last && hit == 0; ++k) {
            if (StoredName(k) == Name) hit = k;
        }
        if (hit == 0) return;
        if (hit != last) Store(hit, lastName, lastFolder);
    }
    Forget(last);
    Reload();
}

void RenameFavourite(const std::string& Name, const std::string& Path, const std::string& NewName) {
    if (gFavNames.empty()) Reload();
    // The new name is checked before anything changes: on a clash the favourite keeps its name, folder and
    // place. Its own name is no clash.
    for (std::size_t i = 1; i < gFavNames.size(); ++i) {
        if (gFavNames[i] == NewName && !(gFavNames[i] == Name && gFavPaths[i] == Path)) {
            forms::MsgBox("This name has been used by another favourite.", forms::mb::OkOnly);
            return;
        }
    }
    if (NewName.empty()) {
        forms::MsgBox("This name has been used by another favourite.", forms::mb::OkOnly);
        return;
    }
    RemoveFavourite(Name, Path);
    AddFavourite(NewName, Path);
}

}  // namespace Module1
