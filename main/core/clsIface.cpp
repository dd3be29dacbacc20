#include "main/core/clsIface.h"
#include "main/core/SettingsNames.h"

#include "platform/runtime/Settings.h"
#include "platform/runtime/Strings.h"

#include <charconv>
#include <string>

namespace {

using settingsnames::kApp;
constexpr char kSection[] = "Options";
constexpr std::int32_t kMinimumWidth = 150;

// Only this class writes these values, as whole numbers; anything else stored reads as the key's default
// rather than failing the main window's start.
std::int32_t ReadSetting(const char* key, std::int32_t defaultValue) {
    const std::string text = forms::Trim(forms::GetSetting(kApp, kSection, key, std::to_string(defaultValue)));
    std::int32_t value = 0;
    const char* const end = text.data() + text.size();
    const char* const begin = !text.empty() && text.front() == '+' ? text.data() + 1 : text.data();
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (text.empty() || error != std::errc{} || stop != end) return defaultValue;
    return value;
}

void WriteSetting(const char* key, std::int32_t value) {
    forms::SaveSetting(kApp, kSection, key, std::to_string(value));
}

}  // namespace

clsIface::clsIface() {
    browserMode_ = ReadSetting("browsermode", 1);
    browserTools_ = ReadSetting("browsertools", 0);
    dockMode_ = ReadSetting("browserdock", 1);
    fileseekToggle_ = ReadSetting("fileseektoggle", 0);
    width_ = ReadSetting("btwidth", kMinimumWidth);
    if (width_ < kMinimumWidth) width_ = kMinimumWidth;
}

void clsIface::Changed() const {
    if (Change) Change();
}

void clsIface::SetBrowserTools(std::int32_t value) {
    browserTools_ = value;
    Changed();
}

void clsIface::SetBrowserToolsDockMode(std::int32_t value) {
    dockMode_ = value;
    Changed();
}

void clsIface::SetFileseekToggle(std::int32_t value) {
    fileseekToggle_ = value;
    Changed();
}

void clsIface::SetBrowserMode(std::int32_t value) {
    browserMode_ = value;
    Changed();
}

void clsIface::Release() {
    WriteSetting("browsermode", browserMode_);
    WriteSetting("browsertools", browserTools_);
    WriteSetting("browserdock", dockMode_);
    WriteSetting("fileseektoggle", fileseekToggle_);
    WriteSetting("btwidth", width_);
}
