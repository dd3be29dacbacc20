// The tip of the day: the tips file's lines, one picked at random.
#include "main/browser/TipLines.h"
#include "main/browser/frmQuillview.h"
#include "main/core/SettingsNames.h"
#include "main/windows/frmTips.h"
#include "platform/runtime/FileSystem.h"
#include "platform/runtime/Paths.h"
#include "platform/runtime/UserPaths.h"
#include "platform/runtime/Settings.h"

#include <chrono>
#include <fstream>
#include <random>
#include <sstream>

void frmQuillview::ShowStartupTip() {
    if (forms::GetSettingNumber(settingsnames::kApp, "Options", "Show Tips at Startup", 1) != 1) return;
    frmTips& tips = forms::Default<frmTips>();
    // Before anything loads it: the tip is made owned by the main window, so it stays in front of it.
    tips.SetOwner(*this);
    tips.chkLoadTipsAtStartup.SetValue(1);
    if (!TipRandom) {
        auto engine = std::make_shared<std::mt19937>(
            static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
        TipRandom = [engine] { return std::uniform_real_distribution<float>(0.0f, 1.0f)(*engine); };
    }
    tips.cmdNextTip.SetVisible(true);
    tips.chkLoadTipsAtStartup.SetVisible(true);
    tips.lblTipText.SetVisible(true);
    if (!LoadTips(forms::ProgramFolder() + "\\QVTIPS.QVR")) {
        tips.lblTipText.SetCaption("The QVTIPS.QVR file was not found!? \r\n\r\nMake sure the QVTIPS.QVR is in your "
                                   "Quillview directory. If you are having trouble, please contact support. ");
    }
    tips.Show(forms::ShowMode::Modeless, this);
}

bool frmQuillview::LoadTips(const std::string& path) {
    if (path.empty()) return false;
    if (forms::Dir(path).empty()) return false;
    // A file that cannot be read counts as missing.
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) return false;
    for (std::string& line : browser::TipLines(bytes.str())) Tips.push_back(std::move(line));
    DoNextTip();
    return true;
}

void frmQuillview::DoNextTip() {
    const float r = TipRandom ? TipRandom() : 0.0f;
    CurrentTip = browser::TipPick(r, Tips.size());
    DisplayCurrentTip();
}

void frmQuillview::DisplayCurrentTip() {
    if (Tips.empty()) return;
    if (CurrentTip >= 1 && CurrentTip <= static_cast<int>(Tips.size())) {
        forms::Default<frmTips>().lblTipText.SetCaption(Tips[CurrentTip - 1]);
    }
}
