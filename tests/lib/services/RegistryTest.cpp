// The registry routines on a subtree of the test's own under HKEY_CURRENT_USER.

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "lib/services/clsReg_n_FileAssoc.h"

using services::clsReg_n_FileAssoc;

namespace {

const std::string kRoot = "Software\\QuillviewTest\\Registry" + std::to_string(GetCurrentProcessId());
constexpr std::int32_t kUser = clsReg_n_FileAssoc::CurrentUser;

class RegistryTest : public ::testing::Test {
protected:
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kRoot.c_str()); }
    // A raw value of any type, written past the class.
    static void Raw(const char* name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kRoot.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }
    clsReg_n_FileAssoc registry;
};

TEST_F(RegistryTest, StringReadsTakeOnlyTextValues) {
    const DWORD number = 7;
    Raw("dword", REG_DWORD, &number, sizeof number);
    Raw("expand", REG_EXPAND_SZ, "%TEMP%", 7);
    Raw("nul", REG_SZ, "abc\0more", 9);
    Raw("text", REG_SZ, "plain", 6);
    struct Case {
        const char* value;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"text", "plain"},       {"nul", "abc"},          {"expand", std::nullopt},
        {"dword", std::nullopt}, {"none", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(registry.getstring(kUser, kRoot, c.value), c.expected) << c.value;
    EXPECT_EQ(registry.getstring(kUser, kRoot + "\\NoSuchKey", "text"), std::nullopt);
    EXPECT_EQ(registry.getdword(kUser, kRoot, "dword"), 7);
    EXPECT_EQ(registry.getdword(kUser, kRoot, "text"), 0);
    EXPECT_EQ(registry.getdword(kUser, kRoot, "none"), 0);
}

TEST_F(RegistryTest, WritesCreateKeysAndDeletesRemoveThem) {
    const std::string sub = kRoot + "\\A\\B";
    registry.savestring(kUser, sub, "name", "value");
    registry.savestring(kUser, sub, "", "default");
    registry.SaveDword(kUser, sub, "n", -2);
    EXPECT_EQ(registry.getstring(kUser, sub, "name"), "value");
    EXPECT_EQ(registry.getstring(kUser, sub), "default");
    EXPECT_EQ(registry.getdword(kUser, sub, "n"), -2);

    // Stored as the registry expects string data: with its terminating NUL. A guard on Windows only: Wine
    // stores the NUL whatever size the writer gives, so there this holds either way.
    DWORD size = 0;
    RegGetValueA(HKEY_CURRENT_USER, sub.c_str(), "name", RRF_RT_ANY, nullptr, nullptr, &size);
    EXPECT_EQ(size, 6u);

    registry.DeleteValue(kUser, sub, "name");
    EXPECT_EQ(registry.getstring(kUser, sub, "name"), std::nullopt);
    // A key with subkeys stays; the leaf goes.
    registry.DeleteKey(kUser, kRoot + "\\A");
    EXPECT_EQ(registry.getdword(kUser, sub, "n"), -2);
    registry.DeleteKey(kUser, sub);
    EXPECT_EQ(registry.getdword(kUser, sub, "n"), 0);
    registry.savekey(kUser, kRoot + "\\C");
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, (kRoot + "\\C").c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
}

}  // namespace
