// OK, Apply and Cancel, and the save that writes every control back: each key in its stored form, the
// FrontPage Tools-menu entries, then the association pass. A failing step is reported and the rest still
// run; an OK with a failure keeps the window open, so the user's choices are not lost with it.
#include "main/settings/options.h"

#include "lib/services/client/FileAssocClient.h"
#include "main/core/AssociationTypes.h"
#include "main/core/Module1.h"
#include "main/core/SettingsNames.h"
#include "platform/runtime/App.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Paths.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/UserPaths.h"

namespace {

using settingsnames::kApp;
constexpr std::int32_t kCurrentUser = static_cast<std::int32_t>(0x80000001u);

// Runs the save's steps; each failure shows its own box and the next step runs.
class SaveSteps {
public:
    template <class Step>
    void operator()(Step&& step) {
        try {
            step();
        } catch (const forms::RuntimeError& e) {
            failed_ = true;
            forms::MsgBox(e.Description() + " ErrorNumber: " + std::to_string(e.Number()), forms::mb::OkOnly);
        }
    }
    bool Failed() const noexcept { return failed_; }

private:
    bool failed_ = false;
};

void Save(const char* section, const char* key, const std::string& value) {
    forms::SaveSetting(kApp, section, key, value);
}
std::string BoxText(const forms::CheckBox& box) { return std::to_string(box.Value()); }
std::string OptionText(const forms::OptionButton& option) { return forms::BooleanText(option.Value()); }

std::string ProgramPath() { return forms::JoinPath(forms::ProgramFolder(), forms::App::EXEName() + ".exe"); }

void SaveFrontPageEntry(const forms::CheckBox& box, const char* key, const char* value, const char* caption) {
    auto& registry = Module1::gFileAssoc();
    if (box.Value() == 1)
        registry.savestring(kCurrentUser, key, value,
                            std::string("2,,1,Tools,") + caption + "," + ProgramPath() + ",10,0,,0");
    else
        registry.DeleteValue(kCurrentUser, key, value);
}

}  // namespace

void options::cmdOK_Click() {
    if (SaveSettings()) Unload();
}

void options::cmdApply_Click() { SaveSettings(); }

void options::cmdCancel_Click() { Unload(); }

bool options::SaveSettings() {
    SaveSteps step;
    step([&] { Save("Interface", "ImageSize", Check1.Value() == 1 ? "Stretch" : "Normal"); });
    step([&] { Save("Options", "fsnav", BoxText(chkRevNav)); });
    step([&] { Save("Options", "DelFavs", BoxText(chkDelFavs)); });
    step([&] { Save("Options", "imgfll", BoxText(chkImgFll)); });
    step([&] { Save("Options", "LastDirectory", BoxText(chkLastdir)); });
    step([&] { Save("Interface", "Startdir", startdir.Caption()); });
    step([&] { Save("FullScreen", "Info", Check5.Value() == 1 ? "On" : "Off"); });
    step([&] { Save("Options", "Show Tips at Startup", BoxText(chkLoadTipsAtStartup)); });
    step([&] { Save("Options", "disfsnav", BoxText(chkDisFSNav)); });
    step([&] { Save("Options", "fsmbal", BoxText(chkShowMBalways)); });
    step([&] { Save("Options", "greymode", BoxText(chkGreyMode)); });
    step([&] { Save("Options", "supportmb", BoxText(chkBrowsers)); });
    step([&] { Save("Options", "dragsen", txtDragSen.Text()); });
    step([&] { Save("Options", "scrollsen", txtScollsen.Text()); });
    step([&] { Save("Options", "closeafter1", BoxText(chkCloseAfter1)); });
    step([&] { Save("Options", "followop", BoxText(chkFollowOp)); });
    step([&] { Save("Options", "flatctl", BoxText(chkFlatCtl)); });
    step([&] { Save("Options", "recyc", BoxText(chkRecFiles)); });
    step([&] { Save("Options", "promptwnm", OptionText(optPromptwnm)); });
    step([&] { Save("Options", "autowbnm", OptionText(optAutowbnm)); });
    step([&] { Save("Options", "systrayicon", BoxText(chkSystray)); });
    step([&] { Save("Options", "showalways", OptionText(optShowAlways)); });
    step([&] { Save("Options", "showminim", OptionText(optShowMinim)); });
    step([&] { Save("Options", "maintainass", BoxText(chkMaintain)); });
    step([&] { Save("Options", "favorite", BoxText(chkFavorite)); });
    step([&] {
        SaveFrontPageEntry(chkFP98, "Software\\Microsoft\\FrontPage\\Editor\\Init Commands", "Quillview2",
                           "Start Quillview");
    });
    step([&] {
        SaveFrontPageEntry(chkFP2000, "Software\\Microsoft\\FrontPage\\Explorer\\Init Commands", "Quillview2.3",
                           "Start Quillview 2.3");
    });
    step([&] { Save("Options", "gif87a", BoxText(chkGIF87a)); });
    // Every type, a hidden box's too: it shows the live state, so its pass leaves the type as it is.
    for (const filetypes::FileType& type : filetypes::kFileTypes) step([&] { SetAssociation(type); });
    return !step.Failed();
}
