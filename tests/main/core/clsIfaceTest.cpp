#include "main/core/clsIface.h"

#include "platform/runtime/Settings.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class Iface : public ::testing::Test {
protected:
    static std::string Get(const char* key) { return forms::GetSetting("Quillview2", "Options", key, "missing"); }
    static void Set(const char* key, const char* value) { forms::SaveSetting("Quillview2", "Options", key, value); }
    const forms::SettingsRootOverride settings_{std::string(forms::TestSettingsBase) + "Iface"};
};

TEST_F(Iface, ReadsStoredValuesOrDefaults) {
    struct Case {
        const char* what;
        std::vector<std::pair<const char*, const char*>> stored;
        std::int32_t mode, tools, dock, seek, width;
    };
    const Case cases[] = {
        {"empty store", {}, 1, 0, 1, 0, 150},
        {"stored", {{"browsermode", "0"}, {"browsertools", "1"}, {"browserdock", "0"}, {"fileseektoggle", "1"},
                    {"btwidth", "2400"}}, 0, 1, 0, 1, 2400},
        {"a narrow width is raised", {{"btwidth", "90"}}, 1, 0, 1, 0, 150},
        {"not whole numbers read as defaults", {{"browsermode", "abc"}, {"browserdock", "0.5"}, {"btwidth", ""},
                                                {"browsertools", "99999999999"}}, 1, 0, 1, 0, 150},
        {"blanks around a number", {{"browsertools", " 1 "}, {"btwidth", "-5"}}, 1, 1, 1, 0, 150},
    };
    for (const Case& c : cases) {
        forms::DeleteSetting("Quillview2", "Options");
        for (const auto& [key, value] : c.stored) Set(key, value);
        const clsIface state;
        EXPECT_EQ(state.BrowserMode(), c.mode) << c.what;
        EXPECT_EQ(state.BrowserTools(), c.tools) << c.what;
        EXPECT_EQ(state.BrowserToolsDockMode(), c.dock) << c.what;
        EXPECT_EQ(state.FileseekToggle(), c.seek) << c.what;
        EXPECT_EQ(state.BrowserToolsWidth(), c.width) << c.what;
    }
}

TEST_F(Iface, EveryWriteButTheWidthsRaisesChange) {
    clsIface state;
    int changes = 0;
    state.Change = [&] { ++changes; };
    state.SetBrowserTools(1);
    state.SetBrowserTools(1);  // the same value again
    state.SetBrowserToolsDockMode(0);
    state.SetFileseekToggle(1);
    state.SetBrowserMode(0);
    EXPECT_EQ(changes, 5);
    state.SetBrowserToolsWidth(300);
    EXPECT_EQ(changes, 5);
    EXPECT_EQ(Get("btwidth"), "missing") << "stored at release only";
    state.Release();
    EXPECT_EQ(Get("browsertools"), "1");
    EXPECT_EQ(Get("browserdock"), "0");
    EXPECT_EQ(Get("fileseektoggle"), "1");
    EXPECT_EQ(Get("browsermode"), "0");
    EXPECT_EQ(Get("btwidth"), "300");
}

TEST_F(Iface, ANarrowWidthIsStoredRaisedAndDestructionAloneStoresNothing) {
    Set("btwidth", "90");
    { const clsIface dropped; }
    EXPECT_EQ(Get("btwidth"), "90");
    EXPECT_EQ(Get("browsermode"), "missing");
    clsIface state;
    state.Release();
    EXPECT_EQ(Get("btwidth"), "150");
    EXPECT_EQ(Get("browsermode"), "1");
}

}  // namespace
