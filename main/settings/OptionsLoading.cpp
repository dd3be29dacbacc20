// What the options window shows, read from the store, the live associations, the editable menus and the
// FrontPage values each time it is shown. A statement that fails is reported and the next one runs.
#include "main/settings/options.h"

#include "lib/services/client/FileAssocClient.h"
#include "main/core/AssociationTypes.h"
#include "main/core/MainWindowView.h"
#include "main/core/Module1.h"
#include "main/core/SettingsNames.h"
#include "main/core/clsVarMenus.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/OwnedHandles.h"
#include "platform/runtime/Paths.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/UserPaths.h"

#include <windows.h>

#include <algorithm>

namespace {

using settingsnames::kApp;
constexpr std::int32_t kCurrentUser = static_cast<std::int32_t>(0x80000001u);

std::string Setting(const char* section, const char* key, const std::string& fallback) {
    return forms::GetSetting(kApp, section, key, fallback);
}

void LoadBox(forms::CheckBox& box, const char* key, const char* fallback) {
    box.SetValue(forms::CInt(Setting("Options", key, fallback)));
}

void LoadOption(forms::OptionButton& option, const char* key, const char* fallback) {
    option.SetValue(forms::ToBoolean(Setting("Options", key, fallback)));
}

// One closing double quote, then one opening one, as the installers wrote them.
std::string WithoutQuotes(std::string text) {
    if (!text.empty() && text.back() == '"') text.pop_back();
    if (!text.empty() && text.front() == '"') text.erase(0, 1);
    return text;
}

// The exact path names a file (a folder of that name is none).
bool IsPlainFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// A text value under HKEY_LOCAL_MACHINE, from the 32-bit programs' view first, where a 32-bit editor registers
// on 64-bit Windows, then from the 64-bit one; "" when neither has it.
std::string MachineText(const char* path, const char* name) {
    for (const REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
        forms::UniqueKey key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_QUERY_VALUE | view, key.put()) != ERROR_SUCCESS) continue;
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExA(key.get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ)) {
            continue;
        }
        std::string text(size, '\0');
        if (RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) !=
            ERROR_SUCCESS) {
            continue;
        }
        text.resize(std::min<std::size_t>(size, text.size()));
        while (!text.empty() && text.back() == '\0') text.pop_back();
        return text;
    }
    return {};
}

// A sensitivity as the main window reads it: "1" to "6", anything else its default 3.
int Sensitivity(const std::string& stored) {
    return stored.size() == 1 && stored[0] >= '1' && stored[0] <= '6' ? stored[0] - '0' : 3;
}

}  // namespace

void options::LoadStep(const std::function<void()>& step) {
    try {
        step();
    } catch (const forms::RuntimeError& e) {
        forms::MsgBox(e.Description() + "Error Number: " + std::to_string(e.Number()), forms::mb::OkOnly);
    }
}

void options::ReadSettings() {
    // 8
    LoadStep([&] { FillEditors(); });
    LoadStep([&] { FillLinks(); });
    // 9
    LoadStep([&] { startdir.SetCaption(Setting("Interface", "Startdir", forms::RootOf(forms::ProgramFolder()))); });
    LoadStep([&] { LoadBox(chkLastdir, "LastDirectory", "0"); });
    LoadStep([&] { LoadBox(chkFollowOp, "followop", "0"); });
    LoadStep([&] { LoadBox(chkFlatCtl, "flatctl", "0"); });
    // Unset, deletions go to the recycle bin (the main window's own default), as the box's design says.
    LoadStep([&] { LoadBox(chkRecFiles, "recyc", "1"); });
    LoadStep([&] { LoadOption(optPromptwnm, "promptwnm", "False"); });
    LoadStep([&] { LoadOption(optAutowbnm, "autowbnm", "True"); });
    LoadStep([&] { LoadBox(chkSystray, "systrayicon", "0"); });
    LoadStep([&] { LoadOption(optShowMinim, "showminim", "True"); });
    LoadStep([&] { LoadOption(optShowAlways, "showalways", "False"); });
    LoadStep([&] { LoadBox(chkBrowsers, "supportmb", "0"); });
    std::string info;
    std::string imageSize;
    LoadStep([&] { info = Setting("FullScreen", "Info", ""); });
    LoadStep([&] { imageSize = Setting("Interface", "ImageSize", ""); });
    LoadStep([&] { LoadBox(chkMaintain, "maintainass", "1"); });
    // 10
    LoadStep([&] { lstWebname.SetListIndex(lstWebname.ListCount() > 0 ? 0 : -1); });
    LoadStep([&] { EditorsList.SetListIndex(EditorsList.ListCount() > 0 ? 0 : -1); });
    // 11
    LoadStep([&] { Check1.SetValue(imageSize == "Normal" ? 0 : 1); });
    LoadStep([&] { LoadBox(chkImgFll, "imgfll", "0"); });
    LoadStep([&] { Check5.SetValue(info == "Off" ? 0 : 1); });
    // 12: the buddies are set by the load.
    LoadStep([&] {
        const int scroll = Sensitivity(Setting("Options", "scrollsen", "3"));
        txtScollsen.SetText(std::to_string(scroll));
        Scrollsen.SetValue(scroll);
    });
    LoadStep([&] {
        const int drag = Sensitivity(Setting("Options", "dragsen", "3"));
        txtDragSen.SetText(std::to_string(drag));
        UDdrg.SetValue(drag);
    });
    // 13
    LoadStep([&] { chkPCXass.SetVisible(Module1::MainWindow().FileTypesMenu()(4).Visible()); });
    // 14
    LoadStep([&] { LoadBox(chkLoadTipsAtStartup, "Show Tips at Startup", "1"); });
    // 15
    for (const char* code : {"BMP", "GIF", "JPG", "ICO", "EMF", "WMF", "CUR", "TGA", "PCX", "PCT", "TIF", "PNG", "EPS"}) {
        LoadStep([&] { AssociationBox(code).SetValue(IsAssociated(*filetypes::FindFileType(code)) ? 1 : 0); });
    }
    // 16
    LoadStep([&] { LoadBox(chkRevNav, "fsnav", "0"); });
    LoadStep([&] { LoadBox(chkDelFavs, "DelFavs", "0"); });
    LoadStep([&] { LoadBox(chkDisFSNav, "disfsnav", "0"); });
    LoadStep([&] { LoadBox(chkShowMBalways, "fsmbal", "0"); });
    LoadStep([&] { LoadBox(chkGreyMode, "greymode", "0"); });
    LoadStep([&] { LoadBox(chkCloseAfter1, "closeafter1", "0"); });
    LoadStep([&] { LoadBox(chkFavorite, "favorite", "0"); });
    // 17
    DetectFrontPage();
    LoadStep([&] { LoadBox(chkGIF87a, "gif87a", "0"); });
}

void options::DetectFrontPage() {
    LoadStep([&] {
        const std::string root = WithoutQuotes(MachineText("SOFTWARE\\Microsoft\\FrontPage\\3.0", "FrontPageRoot"));
        chkFP98.SetEnabled(!root.empty() && IsPlainFile(root + "\\Bin\\fpeditor.exe"));
    });
    LoadStep([&] {
        std::string office =
            WithoutQuotes(MachineText("SOFTWARE\\Microsoft\\Office\\9.0\\Common\\InstallRoot", "Path"));
        // The install root is a folder: its program lies inside it, whether the value ends in "\" or not.
        if (!office.empty() && office.back() != '\\') office += '\\';
        chkFP2000.SetEnabled(!office.empty() && IsPlainFile(office + "Frontpg.exe"));
    });
    const auto entry = [&](forms::CheckBox& box, const char* key, const char* value) {
        LoadStep([&] {
            const std::string text = Module1::gFileAssoc().getstring(kCurrentUser, key, value).value_or("");
            box.SetValue(!text.empty() && box.Enabled() ? 1 : 0);
        });
    };
    entry(chkFP98, "Software\\Microsoft\\FrontPage\\Editor\\Init Commands", "Quillview2");
    entry(chkFP2000, "Software\\Microsoft\\FrontPage\\Explorer\\Init Commands", "Quillview2.3");
}
