#include "platform/runtime/Settings.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/OwnedHandles.h"

namespace forms {
namespace {

class SettingsTest : public testing::Test {
protected:
    const std::string root_ = "Software\\QuillviewTest\\forms_test_" + std::to_string(GetCurrentProcessId());
    SettingsRootOverride guard_{root_};

    // What the registry itself holds, to see where and how a value was written.
    bool RawValue(const std::string& subkey, const std::string& name, DWORD& type, std::string& data) const {
        char buffer[256] = {};
        DWORD size = sizeof buffer;
        const std::string path = root_ + "\\" + subkey;
        if (RegGetValueA(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_ANY, &type, buffer, &size) !=
            ERROR_SUCCESS) {
            return false;
        }
        data.assign(buffer);
        return true;
    }
};

TEST_F(SettingsTest, RoundTripWritesTextUnderAppAndSection) {
    SaveSetting("Quillview2", "Options", "dragsen", "4");
    EXPECT_EQ(GetSetting("Quillview2", "Options", "dragsen"), "4");
    DWORD type = 0;
    std::string data;
    ASSERT_TRUE(RawValue("Quillview2\\Options", "dragsen", type, data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(data, "4");
    SaveSetting("Quillview2", "Options", "dragsen", "");
    EXPECT_EQ(GetSetting("Quillview2", "Options", "dragsen", "x"), "");
}

TEST_F(SettingsTest, NamesAreCaseInsensitive) {
    SaveSetting("Quillview2", "options", "DeskIcon232", "1");
    EXPECT_EQ(GetSetting("QUILLVIEW2", "Options", "deskicon232"), "1");
    SaveSetting("Quillview2", "OPTIONS", "deskicon232", "0");
    EXPECT_EQ(GetSetting("quillview2", "options", "DESKICON232"), "0");
}

TEST_F(SettingsTest, MissingValuesGiveTheDefault) {
    EXPECT_EQ(GetSetting("Quillview2", "Nowhere", "key", "dflt"), "dflt");
    SaveSetting("Quillview2", "Options", "present", "1");
    EXPECT_EQ(GetSetting("Quillview2", "Options", "absent", "dflt"), "dflt");
    EXPECT_EQ(GetSetting("Quillview2", "Options", "absent"), "");
    EXPECT_EQ(GetSetting("", "Options", "present", "d"), "d");
}

TEST_F(SettingsTest, DeleteRemovesAValueOrASectionAndIgnoresWhatIsMissing) {
    SaveSetting("Quillview2", "Favs", "favn1", "a");
    SaveSetting("Quillview2", "Favs", "fava1", "b");
    SaveSetting("Quillview2", "Favs\\Sub", "x", "c");
    DeleteSetting("Quillview2", "favs", "FAVN1");
    EXPECT_EQ(GetSetting("Quillview2", "Favs", "favn1", "gone"), "gone");
    EXPECT_EQ(GetSetting("Quillview2", "Favs", "fava1"), "b");
    EXPECT_NO_THROW(DeleteSetting("Quillview2", "Favs", "favn1"));
    EXPECT_NO_THROW(DeleteSetting("Quillview2", "NoSection", "x"));
    DeleteSetting("Quillview2", "Favs");
    EXPECT_EQ(GetSetting("Quillview2", "Favs", "fava1", "gone"), "gone");
    EXPECT_EQ(GetSetting("Quillview2", "Favs\\Sub", "x", "gone"), "gone");
    EXPECT_NO_THROW(DeleteSetting("Quillview2", "Favs"));
}

TEST_F(SettingsTest, TypedReadsFallBackOnMalformedText) {
    struct Case {
        const char* stored;  // nullptr: not stored
        double number;
        std::int32_t longValue;
        std::int16_t integer;
        bool boolean;
    };
    // Defaults below: 7.5, 70, 7, true.
    const Case cases[] = {
        {"12", 12, 12, 12, true},       {" 2.5 ", 2.5, 2, 2, true},     {"0", 0, 0, 0, false},
        {"False", 7.5, 70, 7, false},   {"true", 7.5, 70, 7, true},     {"abc", 7.5, 70, 7, true},
        {"", 7.5, 70, 7, true},         {"40000", 40000, 40000, 7, true}, {nullptr, 7.5, 70, 7, true},
        {"1e400", 7.5, 70, 7, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "(missing)");
        DeleteSetting("App", "Typed", "k");
        if (c.stored) SaveSetting("App", "Typed", "k", c.stored);
        EXPECT_DOUBLE_EQ(GetSettingNumber("App", "Typed", "k", 7.5), c.number);
        EXPECT_EQ(GetSettingLong("App", "Typed", "k", 70), c.longValue);
        EXPECT_EQ(GetSettingInteger("App", "Typed", "k", 7), c.integer);
        EXPECT_EQ(GetSettingBool("App", "Typed", "k", true), c.boolean);
    }
}

TEST_F(SettingsTest, BadNamesForAWriteRaiseError5) {
    for (const auto& [app, section] : {std::pair{"", "s"}, std::pair{"a", ""}}) {
        try {
            SaveSetting(app, section, "k", "v");
            ADD_FAILURE() << "no error";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.Number(), err::InvalidProcedureCall);
        }
    }
}

TEST(SettingsRoot, OverrideOwnsItsSubtreeAndRestores) {
    const std::string outer = "Software\\QuillviewTest\\forms_outer_" + std::to_string(GetCurrentProcessId());
    const std::string inner = outer + "_inner";
    auto keyExists = [](const std::string& path) {
        HKEY key = nullptr;
        const bool found = RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS;
        const UniqueKey owner(found ? key : nullptr);
        return found;
    };
    {
        SettingsRootOverride a(outer);
        SaveSetting("App", "S", "k", "outer");
        {
            SettingsRootOverride b(inner);
            EXPECT_EQ(GetSetting("App", "S", "k", "none"), "none");
            SaveSetting("App", "S", "k", "inner");
            EXPECT_TRUE(keyExists(inner + "\\App\\S"));
        }
        EXPECT_FALSE(keyExists(inner));
        EXPECT_EQ(GetSetting("App", "S", "k"), "outer");
    }
    EXPECT_FALSE(keyExists(outer));
    // Roots that could reach shared keys are refused.
    for (const char* bad : {"", "Software", "Software\\", "software\\vb and vba program settings",
                            "Software\\VB and VBA Program Settings\\Quillview2", "Software\\Microsoft",
                            "Software\\QuillviewTest", "Software\\QuillviewTest\\"}) {
        EXPECT_THROW(SettingsRootOverride{bad}, RuntimeError) << bad;
    }
}

}  // namespace
}  // namespace forms
