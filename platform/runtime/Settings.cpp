#include "platform/runtime/Settings.h"

#include <windows.h>

#include "platform/runtime/Conversions.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/OwnedHandles.h"

namespace forms {
namespace {

std::string& CurrentRoot() {
    static std::string root(SettingsRoot);
    return root;
}

std::string SectionPath(std::string_view app, std::string_view section) {
    std::string path = CurrentRoot();
    path += '\\';
    path += app;
    path += '\\';
    path += section;
    return path;
}

UniqueKey OpenSection(std::string_view app, std::string_view section, REGSAM access) {
    if (app.empty() || section.empty()) return {};
    const std::string path = SectionPath(app, section);
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, access, &key) != ERROR_SUCCESS) return {};
    return UniqueKey(key);
}

[[noreturn]] void RaiseWriteFailure(LSTATUS status) {
    throw RuntimeError(status == ERROR_ACCESS_DENIED ? err::PermissionDenied : err::InvalidProcedureCall);
}

void DeleteTree(const std::string& path) { RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str()); }

// A typed read: nothing stored or text the conversion refuses gives the default.
template <typename Convert, typename T>
T ReadOr(std::string_view app, std::string_view section, std::string_view key, T defaultValue, Convert convert) {
    const std::string text = GetSetting(app, section, key);
    try {
        return convert(text);
    } catch (const RuntimeError& e) {
        if (e.Number() == err::TypeMismatch || e.Number() == err::Overflow) return defaultValue;
        throw;
    }
}

}  // namespace

std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                       std::string_view defaultValue) {
    const UniqueKey hkey = OpenSection(app, section, KEY_QUERY_VALUE);
    if (!hkey) return std::string(defaultValue);
    const std::string name(key);
    // The value can change size between the two calls; ask again until it fits.
    for (;;) {
        DWORD bytes = 0;
        LSTATUS status = RegGetValueA(hkey.get(), nullptr, name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &bytes);
        if (status != ERROR_SUCCESS) return std::string(defaultValue);
        std::string text(bytes, '\0');
        status = RegGetValueA(hkey.get(), nullptr, name.c_str(), RRF_RT_REG_SZ, nullptr, text.data(), &bytes);
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS) return std::string(defaultValue);
        text.resize(bytes > 0 ? bytes - 1 : 0);  // the size counts the terminating NUL
        if (const auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
        return text;
    }
}

void SaveSetting(std::string_view app, std::string_view section, std::string_view key, std::string_view value) {
    if (app.empty() || section.empty()) throw RuntimeError(err::InvalidProcedureCall);
    const std::string path = SectionPath(app, section);
    HKEY created = nullptr;
    LSTATUS status = RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                     KEY_SET_VALUE, nullptr, &created, nullptr);
    if (status != ERROR_SUCCESS) RaiseWriteFailure(status);
    const UniqueKey hkey(created);
    const std::string name(key);
    const std::string data(value);
    status = RegSetValueExA(hkey.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                            static_cast<DWORD>(data.size() + 1));
    if (status != ERROR_SUCCESS) RaiseWriteFailure(status);
}

void DeleteSetting(std::string_view app, std::string_view section, std::string_view key) {
    const UniqueKey hkey = OpenSection(app, section, KEY_SET_VALUE);
    if (!hkey) return;
    const std::string name(key);
    RegDeleteValueA(hkey.get(), name.c_str());
}

void DeleteSetting(std::string_view app, std::string_view section) {
    if (app.empty() || section.empty()) return;
    DeleteTree(SectionPath(app, section));
}

double GetSettingNumber(std::string_view app, std::string_view section, std::string_view key, double defaultValue) {
    return ReadOr(app, section, key, defaultValue, [](const std::string& text) { return ToDouble(text); });
}

std::int32_t GetSettingLong(std::string_view app, std::string_view section, std::string_view key,
                            std::int32_t defaultValue) {
    return ReadOr(app, section, key, defaultValue, [](const std::string& text) { return CLng(text); });
}

std::int16_t GetSettingInteger(std::string_view app, std::string_view section, std::string_view key,
                               std::int16_t defaultValue) {
    return ReadOr(app, section, key, defaultValue, [](const std::string& text) { return CInt(text); });
}

bool GetSettingBool(std::string_view app, std::string_view section, std::string_view key, bool defaultValue) {
    return ReadOr(app, section, key, defaultValue, [](const std::string& text) { return ToBoolean(text); });
}

SettingsRootOverride::SettingsRootOverride(std::string root)
    : root_(std::move(root)), previous_(CurrentRoot()) {
    // The subtree is deleted whole: only a key below the tests' own base will do.
    const std::string_view own = root_;
    if (own.size() <= TestSettingsBase.size() || !TextEquals(own.substr(0, TestSettingsBase.size()), TestSettingsBase) ||
        own.back() == '\\') {
        throw RuntimeError(err::InvalidProcedureCall, "A test settings root must lie below " +
                                                          std::string(TestSettingsBase));
    }
    DeleteTree(root_);
    CurrentRoot() = root_;
}

SettingsRootOverride::~SettingsRootOverride() {
    DeleteTree(root_);
    CurrentRoot() = previous_;
}

}  // namespace forms
