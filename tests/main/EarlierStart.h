#pragma once
// The settings an earlier start of this version leaves: the start-up asks nothing (no first-run box, no
// desktop-icon question).

#include <string>

#include "main/core/SettingsNames.h"
#include "platform/runtime/App.h"
#include "platform/runtime/Settings.h"

namespace qvtest {

inline void StoreAnEarlierStartOfThisVersion() {
    forms::SaveSetting("Quillview", "current_version", "major", std::to_string(forms::App::Major()));
    forms::SaveSetting("Quillview", "current_version", "minor", std::to_string(forms::App::Minor()));
    forms::SaveSetting("Quillview", "current_version", "rev", std::to_string(forms::App::Revision()));
    forms::SaveSetting(settingsnames::kApp, "options", "deskicon232", "1");
}

}  // namespace qvtest
