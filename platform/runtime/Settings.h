#pragma once
// The settings store: REG_SZ values under HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<app>\<section>,
// value name = key. That root is fixed because an outside program writes some of the suite's values there.
// Section and key names are case-insensitive, as the registry's are; a section may name subkeys ("a\b").

#include <cstdint>
#include <string>
#include <string_view>

namespace forms {

inline constexpr std::string_view SettingsRoot = "Software\\VB and VBA Program Settings";

// The stored text, or `defaultValue` when the value or its section is missing (or is not text).
std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                       std::string_view defaultValue = {});
// Creates the keys as needed. Empty application or section names raise 5; a failed write raises 70 when
// access is denied, otherwise 5.
void SaveSetting(std::string_view app, std::string_view section, std::string_view key, std::string_view value);
// Deletes one value, or a whole section with its subkeys. Deleting what is not there is not an error: callers
// delete to make sure a value is gone.
void DeleteSetting(std::string_view app, std::string_view section, std::string_view key);
void DeleteSetting(std::string_view app, std::string_view section);

// Typed reads with a fallback: a missing or malformed value gives the default. Where a reader must fail on bad
// text instead, it reads with GetSetting and converts with ToDouble/CInt/CLng/ToBoolean (error 13).
double GetSettingNumber(std::string_view app, std::string_view section, std::string_view key, double defaultValue);
std::int32_t GetSettingLong(std::string_view app, std::string_view section, std::string_view key,
                            std::int32_t defaultValue);
std::int16_t GetSettingInteger(std::string_view app, std::string_view section, std::string_view key,
                               std::int16_t defaultValue);
bool GetSettingBool(std::string_view app, std::string_view section, std::string_view key, bool defaultValue);

// Test hook: while the guard lives, the store works under HKEY_CURRENT_USER\<root> instead, and that subtree
// belongs to the test (deleted when the guard is made and when it goes). The root must lie below
// TestSettingsBase (error 5 otherwise). Guards nest; each restores the root that was in force before it.
inline constexpr std::string_view TestSettingsBase = "Software\\QuillviewTest\\";

class SettingsRootOverride {
public:
    explicit SettingsRootOverride(std::string root);
    ~SettingsRootOverride();
    SettingsRootOverride(const SettingsRootOverride&) = delete;
    SettingsRootOverride& operator=(const SettingsRootOverride&) = delete;

    const std::string& Root() const noexcept { return root_; }

private:
    std::string root_;
    std::string previous_;
};

[[nodiscard]] inline SettingsRootOverride SetSettingsRootForTest(std::string root) {
    return SettingsRootOverride(std::move(root));
}

}  // namespace forms
