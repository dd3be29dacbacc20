// The Go menu: the maker's fixed links, the gallery, the imaging sites the update program keeps, the user's
// own sites, pages open in web browsers to add to them, and the commands that update, submit and edit links.
#include "main/browser/MenuCommands.h"
#include "main/browser/frmQuillview.h"
#include "main/core/Addresses.h"
#include "main/core/Module1.h"
#include "main/core/SettingsNames.h"
#include "main/core/WebLink.h"
#include "main/core/clsShIntegration.h"
#include "main/core/clsVarMenus.h"
#include "main/settings/options.h"
#include "main/windows/Dialog.h"
#include "main/windows/frmQVSadvert.h"
#include "lib/services/Client.h"
#include "platform/forms/InputBox.h"
#include "platform/runtime/ErrorSteps.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/Shell.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/UserPaths.h"

namespace {

constexpr char kUpdateItem[] = "Update...";

}  // namespace

void frmQuillview::mnuGoItem_Click() {
    using forms::IgnoringErrors;
    IgnoringErrors([] { Module1::gImgWebsMenu().ReloadMenu(); });
    IgnoringErrors([&] { mnuMyWeb.SetEnabled(!mnuMyWebs(0).Caption().empty()); });
    IgnoringErrors([&] {
        if (mnuImgWebs(0).Caption().empty()) mnuImgWebs(0).SetCaption(kUpdateItem);
    });
    // One item per browser. Only an address the menus can open is offered.
    const auto probe = [&](int item, const std::string& name, std::int32_t number, bool titleNeeded) {
        IgnoringErrors([&] {
            auto& browsers = Module1::gShIntegration();
            const std::string address = browsers.URL(name, number);
            const std::string title = browsers.PageTtl();
            const bool offered = Module1::IsWebLink(address) && (!titleNeeded || !title.empty());
            if (offered) {
                mnuLink(item).SetCaption(title);
                mnuLink(item).SetTag(address);
            }
            mnuLink(item).SetVisible(offered);
        });
    };
    probe(0, "", 1, true);
    probe(1, "", 2, false);
    if (SupportMoreBrowsers) {
        probe(2, "Neoplanet", 3, false);
        probe(3, "Opera", 3, false);
    }
}

void frmQuillview::OpenFixedLink(const std::string& address) {
    forms::ShellOpen({.verb = "Open",
                      .file = address,
                      .parameters = "",
                      .directory = forms::ProgramFolder(),
                      .show = SW_SHOWNORMAL,
                      .owner = hWnd()});
}

void frmQuillview::mnuMail_Click() { OpenFixedLink(std::string("Mailto:") + addresses::kSupportAddress); }

void frmQuillview::mnuHomepage_Click() { OpenFixedLink(addresses::kProductHome); }

void frmQuillview::mnuOVSWebsite_Click() { OpenFixedLink(addresses::kMakerSite); }

void frmQuillview::mnuVividimghme_Click() { OpenFixedLink(addresses::kImagingSite); }

void frmQuillview::mnuTobinMarshLnk_Click(int Index) { OpenFixedLink(mnuTobinMarshLnk(Index).Tag()); }

void frmQuillview::OpenListLink(const std::string& tag) {
    // The lists come from files a user or a download wrote: only web and mail addresses go to the shell, as
    // documents to open, so a line naming a program starts nothing.
    if (!Module1::IsWebLink(tag)) {
        forms::MsgBox("This link cannot be opened, it is no web or mail address:\r\n\r\n" + tag,
                      forms::mb::Exclamation);
        return;
    }
    Module1::gShell().RunFile(tag, "", 1);
}

void frmQuillview::mnuImgWebs_Click(int Index) {
    if (mnuImgWebs(0).Caption() == kUpdateItem) {
        Module1::LaunchUpdateTool(1);
        return;
    }
    OpenListLink(mnuImgWebs(Index).Tag());
}

void frmQuillview::mnuImgWebs2_Click(int Index) {
    if (mnuImgWebs2(0).Caption() == kUpdateItem) {
        Module1::LaunchUpdateTool(1);
        return;
    }
    OpenListLink(mnuImgWebs2(Index).Tag());
}

void frmQuillview::mnuMyWebs_Click(int Index) { OpenListLink(mnuMyWebs(Index).Tag()); }

void frmQuillview::mnuLink_Click(int Index) {
    const std::string caption = mnuLink(Index).Caption();
    const std::string address = mnuLink(Index).Tag();
    std::string name = caption;
    // A page without a title is asked a name for, so no nameless site is added.
    if (forms::GetSettingBool(settingsnames::kApp, "Options", "promptwnm", false) || forms::Trim(caption).empty()) {
        name = forms::InputBox("Please enter a name for this website.", "Website Name", caption);
        if (forms::Trim(name).empty()) return;
    }
    bool Fail = false;
    Module1::gMyWebsMenu().AddItem(name, address, Fail);
}

void frmQuillview::mnuAddlnkManually_Click() {
    auto& dialog = forms::Default<Dialog>();
    dialog.FraAdd.SetVisible(true);
    dialog.Show(forms::ShowMode::Modal);
}

void frmQuillview::mnuOpenQVStud_Click() {
    const std::string studio = forms::GetSetting("QuillviewStudio", "constants", "path", forms::ProgramFolder());
    if (browser::IsFile(studio)) {
        forms::Shell("\"" + studio + "\"", forms::shell_style::NormalFocus);
        return;
    }
    forms::Default<frmQVSadvert>().Show(forms::ShowMode::Modal);
}

void frmQuillview::mnuSubmitweb_Click() { Module1::LaunchUpdateTool(3); }

void frmQuillview::mnuUpdateLinks_Click() { Module1::LaunchUpdateTool(1); }

void frmQuillview::mnuEditLinks_Click() {
    auto& window = forms::Default<options>();
    window.Tabs.SelectTab("links");
    window.fraMain(1).SetVisible(false);
    window.fraMain(3).ZOrder(0);
    window.fraMain(3).SetVisible(true);
    // Only the lists change there, and they are the menus' own: nothing to apply afterwards.
    window.Show(forms::ShowMode::Modal);
}
