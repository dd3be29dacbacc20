// The load of the main window: from a hidden frame to the running browser, one guarded step at a time.
#include "main/browser/Artwork.h"
#include "main/browser/Placement.h"
#include "main/browser/frmQuillview.h"
#include "main/core/Addresses.h"
#include "main/core/AssociationTypes.h"
#include "main/core/Module1.h"
#include "main/core/SettingsNames.h"
#include "main/core/clsIface.h"
#include "main/core/clsVarMenus.h"
#include "main/core/modInstances.h"
#include "main/settings/options.h"
#include "main/windows/frmSettingUp.h"
#include "main/windows/frmTips.h"
#include "lib/services/Client.h"
#include "platform/forms/MessageLoop.h"
#include "platform/forms/Program.h"
#include "platform/runtime/App.h"
#include "platform/runtime/ErrorSteps.h"
#include "platform/runtime/FileSystem.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Paths.h"
#include "platform/runtime/UserPaths.h"
#include "platform/runtime/Settings.h"
#include "platform/subclass/Subclasser.h"

#include <cstdlib>

namespace {

using settingsnames::kApp;

// A folder or a file of that name exists.
bool Exists(const std::string& path) {
    return !path.empty() && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Setting(const char* section, const char* key, const char* fallback) {
    return forms::GetSetting(kApp, section, key, fallback);
}

// A stored number; text that is no number raises 13, and the step that reads it is skipped.
double Number(const char* section, const char* key, double fallback) {
    const std::string text = forms::GetSetting(kApp, section, key, "");
    if (text.empty()) return fallback;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str()) throw forms::RuntimeError(13);
    return value;
}

}  // namespace

void frmQuillview::Form_Load() {
    forms::Form::SetMainForm(this);
    forms::IgnoringErrors([&] { mInterface = std::make_unique<clsIface>(); });
    if (mInterface) mInterface->Change = [this] { mInterface_Change(); };
    forms::Default<frmTips>().NextTip = [this] { DoNextTip(); };
    if (withoutStartUp_) {
        forms::IgnoringErrors([&] { SB1.AddPanel(0, "", "", -1, 64, true, true, 0, "ftype"); });
        return;
    }
    StartUp();
}

void frmQuillview::StartUp() {
    beforeFirstShow_ = true;
    using forms::IgnoringErrors;
    const std::string programFile = ProgramFile();
    const bool installed = Exists(programFile);

    // 1, 2: the running instance, for later starts.
    IgnoringErrors([&] { subclass::SubscribeMessage(*this, hWnd(), WM_COPYDATA); });
    IgnoringErrors([&] { modInstances::MarkInstanceWindow(hWnd()); });
    // 3
    IgnoringErrors([&] { CheckScreenResolution(); });
    // 4: made by the load itself, so that a window loaded for a test has it too.
    // 5: under another file name the program is no installation of its own.
    if (installed) {
        IgnoringErrors([] { Module1::CheckComponents(); });
        IgnoringErrors([&] {
            if (Setting("options", "deskicon232", "0") == "1") return;
            const int answer = forms::MsgBox("Add a desktop icon for Quillview and Quillview Update?",
                                             forms::mb::YesNo | forms::mb::Question, "Desktop Icons");
            if (answer == forms::answer::Yes) {
                IgnoringErrors([&] { Module1::gShell().StartMenLnkCreate("..\\..\\Desktop", "\\Quillview", programFile, ""); });
                IgnoringErrors([] {
                    Module1::gShell().StartMenLnkCreate("..\\..\\Desktop", "\\Quillview Update",
                                                         forms::ProgramFolder() + "\\qvupdate.exe", "");
                });
            }
            forms::SaveSetting(kApp, "options", "deskicon232", "1");
        });
    }
    // 6
    IgnoringErrors([] { Module1::CheckUpdateReminder(); });
    IgnoringErrors([] { Module1::InitAssocIconPaths(); });
    // 7: the options window, created hidden, holds the lists the editable menus keep their entries in.
    IgnoringErrors([] { BindOptionsLists(); });
    BindList(Module1::gEditorsMenu(), mnuEditors, "QVEditors.dat");
    BindList(Module1::gMyWebsMenu(), mnuMyWebs, "QVImgwebs.dat");
    BindList(Module1::gImgWebsMenu(), mnuImgWebs, "QVSetwebs.dat");
    // 8
    IgnoringErrors([&] { morwen.SetToolTip("Quillview"); });
    Module1::gImageSaved = true;
    // 9: one group; a failure leaves the lists where they are.
    IgnoringErrors([&] {
        std::string folder = Setting("Interface", "Startdir", forms::ProgramFolder().substr(0, 3).c_str());
        if (!Exists(folder)) folder = forms::ProgramFolder();
        Drive1.SetDrive(folder.substr(0, 3));
        Dir1.SetPath(folder);
        File1.Refresh();
    });
    // 10
    IgnoringErrors([&] {
        if (Number("Options", "supportmb", 0) == 1) SupportMoreBrowsers = true;
    });
    // 11
    IgnoringErrors([&] {
        SB1.AddPanel(0, std::string("Visit ") + addresses::kProductSite + " for news and updates!", "", -1, 64, true,
                     true, 0, "ftype");
    });
    // 12
    IgnoringErrors([&] {
        const bool any = File1.ListCount() > 0;
        Toolbar(0).SetEnabled(any);
        Toolbar(1).SetEnabled(any);
        Toolbar(5).SetEnabled(false);
        Toolbar(6).SetEnabled(false);
    });
    // 13
    IgnoringErrors([&] {
        mnuFiletypesSort(true);
        File1.SetPattern(SetPattern());
    });
    // 14
    IgnoringErrors([&] { RestorePlacement(); });
    // 15
    IgnoringErrors([&] { TilePic.SetPicture(browser::ProgramIcon(browser::kIconTile)); });
    IgnoringErrors([&] {
        for (int i = 0; i <= 9; ++i) {
            if (i == 6) continue;
            const int offset = i < 6 ? i : i - 1;
            IgnoringErrors([&] { SetToolbarIcon(i, browser::kIconToolbarFirst + offset); });
        }
    });
    IgnoringErrors([&] {
        for (forms::SoftButton* close : {&SoftBttn1, &sbtCloseFileseek})
            IgnoringErrors([&] { close->SetPicture(browser::ProgramIcon(browser::kIconCaptionClose)); });
        IgnoringErrors([&] { stbBTRefresh.SetPicture(browser::ProgramIcon(browser::kIconCaptionRefresh)); });
        IgnoringErrors([&] { sbtToggleDock.SetPicture(browser::ProgramIcon(browser::kIconCaptionDock)); });
        for (int i = 0; i <= 3; ++i)
            IgnoringErrors([&] { Fbts(i).SetPicture(browser::ProgramIcon(browser::kIconFileButtonsFirst + i)); });
    });
    IgnoringErrors([&] { morwen.SetIcon(browser::ProgramIcon(browser::kIconTray)); });
    IgnoringErrors([&] { Image2.SetPicture(browser::ProgramBitmap(browser::kBitmapBanner)); });
    // 16
    IgnoringErrors([&] { CheckPCXSupportResult(); });
    // 17
    IgnoringErrors([&] {
        if (Setting("Interface", "ImageSize", "Stretch") == "Stretch") {
            DisplayMode_ = 102;
            IgnoringErrors([&] { SetToolbarIcon(6, browser::kIconActualSize); });
        } else {
            DisplayMode_ = 101;
            IgnoringErrors([&] { SetToolbarIcon(6, browser::kIconBestFit); });
        }
    });
    // 18
    IgnoringErrors([&] { ProcessCmdLine(); });
    // 19
    IgnoringErrors([] {
        Module1::gFavNames.assign(1, {});
        Module1::gFavPaths.assign(1, {});
        Module1::LoadFavouritesMenu();
    });
    // 20
    std::string favlist = "0";
    IgnoringErrors([&] { favlist = Setting("Options", "Favlist", "0"); });
    // 21
    IgnoringErrors([&] {
        const std::string current = Dir1.Path();
        for (int i = mnuFav1.LBound(); i <= mnuFav1.UBound(); ++i) {
            if (!mnuFav1.Exists(i)) continue;
            if (mnuFav1(i).Tag() == current) {
                mnuAdd.SetCaption("Delete this Favourite...");
                break;
            }
            mnuAdd.SetCaption("Add current Folder...");
        }
    });
    // 22
    IgnoringErrors([&] {
        static constexpr std::int32_t steps[] = {20, 45, 60, 80, 110, 130};
        const auto sensitivity = static_cast<int>(Number("Options", "scrollsen", 3));
        if (sensitivity >= 1 && sensitivity <= 6) {
            HScroll1.SetLargeChange(steps[sensitivity - 1]);
            VScroll1.SetLargeChange(steps[sensitivity - 1]);
        }
    });
    IgnoringErrors([&] {
        static constexpr std::int16_t divisors[] = {40, 30, 20, 10, 5, 2};
        const auto sensitivity = static_cast<int>(Number("Options", "dragsen", 3));
        if (sensitivity >= 1 && sensitivity <= 6) DragDivisor = divisors[sensitivity - 1];
    });
    // 23
    IgnoringErrors([&] {
        switch (static_cast<int>(Number("Options", "cursormode", 0))) {
        case 0: mnuNorm_Click(); break;
        case 1: mnuCrop_Click(); break;
        case 3: mnuDrag_Click(); break;
        default: mnuZoommode_Click(); break;
        }
    });
    // 24
    bool endNow = false;
    IgnoringErrors([&] {
        if (Module1::gCommandLine.empty() || Number("Options", "imgfll", 0) != 1) return;
        Module1::gStartedFullScreen = true;
        IgnoringErrors([] { forms::Default<frmSettingUp>().Hide(); });
        mnuFullscrn_Click();
        if (Module1::gStartedFullScreen && Number("Options", "closeafter1", 0) == 1) {
            endNow = true;
            return;
        }
        Module1::gStartedFullScreen = false;
    });
    if (endNow) forms::End();
    // 25
    IgnoringErrors([&] {
        if (mInterface) FraFiles.SetWidth(browser::DesignPx(static_cast<float>(mInterface->BrowserToolsWidth())));
    });
    // The favourites start: after the width is back, so the toggle's width is the stored one.
    IgnoringErrors([&] {
        if (!mInterface) return;
        if (favlist == "1") {
            if (mInterface->BrowserMode() != 1) mInterface->SetBrowserMode(1);
            Toolbar_Click(4);
        } else if (mInterface->BrowserMode() == 0) {
            mInterface->SetBrowserMode(1);
        }
    });
    IgnoringErrors([&] { mInterface_Change(); });
    // 26
    if (installed) IgnoringErrors([&] { KeepAssociations(); });
    // 27
    IgnoringErrors([&] {
        if (Number("Options", "DelFavs", 0) == 1) RemoveVanishedFavourites();
    });
    // 28
    if (Module1::gCommandLine.empty()) IgnoringErrors([&] { ShowLogo(); });
    // 29
    IgnoringErrors([&] { ApplyOptions(); });
    // 30
    beforeFirstShow_ = false;
    IgnoringErrors([&] { Show(); });
    IgnoringErrors([&] { ShowStartupTip(); });
    IgnoringErrors([&] { Show(); });
    IgnoringErrors([] { forms::Default<frmSettingUp>().Unload(); });
}

void frmQuillview::RestorePlacement() {
    browser::StoredPlacement stored;
    stored.state = static_cast<int>(Number("Options", "window", 0));
    stored.left = static_cast<float>(Number("Options", "left", 0));
    stored.top = static_cast<float>(Number("Options", "top", 0));
    stored.width = static_cast<float>(Number("Options", "width", 8690));
    stored.height = static_cast<float>(Number("Options", "height", 6050));
    const browser::StoredPlacement placed = browser::PlaceOnMonitors(stored, browser::MonitorsInTwips());
    if (placed.state == 2) {
        // Restored, the window goes back to the stored rectangle; maximised on that rectangle's monitor.
        Move(placed.left, placed.top, placed.width, placed.height);
        SetWindowState(2);
        return;
    }
    SetWindowState(0);
    Move(placed.left, placed.top, placed.width, placed.height);
}

void frmQuillview::KeepAssociations() {
    if (Number("Options", "maintainass", 1) != 1) return;
    const std::string folder = forms::ProgramFolder();
    const std::string exe = forms::App::EXEName();
    auto& assoc = Module1::gFileAssoc();
    // Each type on its own: a failure leaves the others to be renewed.
    for (const filetypes::FileType& type : filetypes::kFileTypes) {
        forms::IgnoringErrors([&] {
            const bool wanted = Number("Options", type.Key().c_str(), 0) == 1;
            const bool associated = assoc.Associated(type.properName, folder, exe, ".exe", "Open", type.extension);
            if (wanted && !associated) {
                assoc.CreateAssociation(type.properName, type.startUpFullName, type.startUpContentType,
                                        type.extension, "Open", folder, exe, ".exe", type.Icon());
            }
        });
    }
}

void frmQuillview::BindList(clsVarMenus& list, forms::ControlArray<forms::Menu>& items, const char* dataFile) {
    forms::IgnoringErrors([&] {
        list.MenuItems = &items;
        list.DataFile = dataFile;
        list.LoadMenu();
    });
}

void frmQuillview::RemoveVanishedFavourites() {
    // A removal moves the last favourite into the freed place, so that place is tested again; every
    // favourite left is tested once.
    int index = 0;
    while (mnuFav1.Exists(index) && index < static_cast<int>(Module1::gFavNames.size()) - 1) {
        const std::string name = mnuFav1(index).Caption();
        const std::string folder = mnuFav1(index).Tag();
        if (Exists(folder)) {
            ++index;
            continue;
        }
        const std::size_t before = Module1::gFavNames.size();
        Module1::RemoveFavourite(name, folder);
        if (Module1::gFavNames.size() >= before) ++index;  // not removed: go on with the next
    }
}
