// What the options window stores, applied to the running window; the tray icon's rule; the favourites list.
#include "main/browser/frmQuillview.h"
#include "main/core/Module1.h"
#include "main/core/SettingsNames.h"
#include "lib/services/client/ComdlgClient.h"
#include "platform/runtime/ErrorSteps.h"
#include "platform/runtime/Settings.h"

#include <cstdlib>

namespace {

using settingsnames::kApp;

bool Is(const char* key, double value, double fallback) {
    return forms::GetSettingNumber(kApp, "Options", key, fallback) == value;
}

}  // namespace

void frmQuillview::ApplyOptions() {
    using forms::IgnoringErrors;
    const int look = Is("flatctl", 1, 0) ? 0 : 1;
    IgnoringErrors([&] { Dir1.SetAppearance(look); });
    IgnoringErrors([&] { File1.SetAppearance(look); });
    IgnoringErrors([&] { List1.SetAppearance(look); });
    IgnoringErrors([&] { txtSearch.SetAppearance(look); });
    TrayIconEnabled = Is("systrayicon", 1, 0);
    TrayIconMode = forms::GetSettingBool(kApp, "Options", "showminim", true) ? 0 : 1;
    IgnoringErrors([&] { ApplyTrayIcon(); });
    static constexpr std::int16_t divisors[] = {40, 30, 20, 10, 5, 2};
    const auto sensitivity = forms::GetSettingLong(kApp, "Options", "dragsen", 3);
    if (sensitivity >= 1 && sensitivity <= 6) DragDivisor = divisors[sensitivity - 1];
    FollowOperations = Is("followop", 1, 0);
    Module1::gAmericanSpelling = Is("favorite", 1, 0);
    // Set from code, the captions lose their access keys.
    mnuFav.SetCaption(Module1::gAmericanSpelling ? "Favorites" : "Favourites");
    mnuFavMan.SetCaption(Module1::gAmericanSpelling ? "Favorites Manager" : "Favourites Manager");
    Module1::gAnimateGif87a = !Is("gif87a", 1, 0);
}

void frmQuillview::ApplyTrayIcon() {
    if (!TrayIconEnabled) {
        morwen.SetShown(false);
        // Without a tray icon a hidden window could not be reached again; one that start-up has not shown
        // yet is shown by start-up itself, once it is complete.
        if (!Visible() && !beforeFirstShow_) {
            SetVisible(true);
            if (WindowState() == 1) SetWindowState(0);
        }
        return;
    }
    if (TrayIconMode == 1) {
        morwen.SetShown(true);
        return;
    }
    if (WindowState() == 1) {
        morwen.SetShown(true);
        SetVisible(false);
    } else {
        morwen.SetShown(false);
        SetVisible(true);
    }
}

void frmQuillview::FillFavouritesList() {
    FavList.Clear();
    for (int i = mnuFav1.LBound(); i <= mnuFav1.UBound(); ++i) {
        if (!mnuFav1.Exists(i)) continue;
        if (!mnuFav1(i).Caption().empty() && !mnuFav1(i).Tag().empty()) FavList.AddItem(mnuFav1(i).Caption());
    }
    FavList.SetEnabled(mnuFav1(mnuFav1.LBound()).Caption() != "No Favourites");
}

void frmQuillview::ColReset() {
    mnuBGrey.SetChecked(false);
    mnuBBlack.SetChecked(false);
    mnuBWhite.SetChecked(false);
    mnuChooseCol.SetChecked(false);
}

void frmQuillview::DoColour() {
    const std::string stored = forms::GetSetting(kApp, "Interface", "Colour", "Black");
    forms::OleColor colour = 0;
    forms::Menu* item = &mnuBBlack;
    if (stored == "Black") {
    } else if (stored == "White") {
        colour = 0xFFFFFF;
        item = &mnuBWhite;
    } else if (stored == "Grey") {
        colour = 0xC0C0C0;
        item = &mnuBGrey;
    } else {
        // A decimal colour from the palette; anything else is no colour and shows black.
        char* end = nullptr;
        const long long value = std::strtoll(stored.c_str(), &end, 10);
        if (!stored.empty() && *end == '\0' && value >= 0 && value <= 0xFFFFFF) {
            colour = static_cast<forms::OleColor>(value);
            item = &mnuChooseCol;
        }
    }
    Picture1.SetBackColor(colour);
    item->SetChecked(true);
    Image1.SetBackColor(Picture1.BackColor());
}

void frmQuillview::PickBackColour(forms::OleColor colour, forms::Menu& item, const char* stored) {
    Picture1.SetBackColor(colour);
    ColReset();
    item.SetChecked(true);
    forms::SaveSetting(kApp, "Interface", "Colour", stored);
}

void frmQuillview::mnuBBlack_Click() { PickBackColour(0x000000, mnuBBlack, "Black"); }
void frmQuillview::mnuBGrey_Click() { PickBackColour(0xC0C0C0, mnuBGrey, "Grey"); }
void frmQuillview::mnuBWhite_Click() { PickBackColour(0xFFFFFF, mnuBWhite, "White"); }

void frmQuillview::mnuChooseCol_Click() {
    // The dialog opens on black, not on the colour shown.
    services::client::CommonDialogs::ColorArgs args;
    args.color = 0;
    args.anyColor = true;
    args.fullOpen = false;
    args.disableFullOpen = false;
    args.owner = HandleToLong(hWnd());
    args.flags = 0;
    if (!Module1::gComdlg().VBChooseColor(args)) return;
    ColReset();
    Picture1.SetBackColor(static_cast<forms::OleColor>(args.color));
    mnuChooseCol.SetChecked(true);
    forms::SaveSetting(kApp, "Interface", "Colour", std::to_string(Picture1.BackColor()));
}
