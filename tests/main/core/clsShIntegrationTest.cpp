#include "main/core/clsShIntegration.h"

#include "main/core/Module1.h"
#include "platform/runtime/RuntimeError.h"
#include "tests/main/core/CoreFixture.h"
#include "tests/main/core/FakeBrowsers.h"
#include "tests/main/core/Recorder.h"

#include <windows.h>

#include <algorithm>

namespace coretest {
namespace {

const std::string kLongAddress = "http://news.example/" + std::string(300, 'a') + "/end.htm";

class ShIntegration : public CoreTest {
protected:
    FakeBrowsers browsers_{{"Start - Microsoft Internet Explorer||http://ie.example/page",
                            "News - Netscape|" + kLongAddress, "Gallery - Orbit|http://orbit.example/",
                            "Skipping Zed|skip me|http://zed.example/", "Drawn Bar - Vivo",
                            "hidden:Hidden Task|", "owned:Owned Task|"}};
};

TEST_F(ShIntegration, AddressesOfTheThreeKindsOfBrowser) {
    clsShIntegration probe;
    EXPECT_EQ(probe.PageTtl(), "") << "nothing searched yet";
    EXPECT_EQ(probe.URL("", 1), "http://ie.example/page") << "the empty first edit field is passed over";
    EXPECT_EQ(probe.URL("", 2), kLongAddress) << "the whole address, its last character too";
    EXPECT_EQ(probe.URL("netscape", 0), kLongAddress) << "by name";
    EXPECT_EQ(probe.URL("orbit", 3), "http://orbit.example/") << "titles are compared without case";
    EXPECT_EQ(probe.URL("Vivo", 3), "") << "a browser without an address field: found, but no address";
    EXPECT_EQ(probe.PageTtl(), "Drawn Bar");
    EXPECT_EQ(probe.URL("No Such Browser 4711", 3), "");
    EXPECT_EQ(probe.PageTtl(), "") << "nothing found";
}

TEST_F(ShIntegration, TheFirstMatchingWindowInZOrderIsRead) {
    FakeBrowsers more{{"Alpha Twin|http://alpha.example/", "Beta Twin|http://beta.example/"}};
    std::string first;
    for (const auto& [hwnd, title] : more.Windows()) {
        if (first.empty()) first = title;
    }
    clsShIntegration probe;
    EXPECT_EQ(probe.URL("Twin", 3), first == "Alpha Twin" ? "http://alpha.example/" : "http://beta.example/");
}

TEST_F(ShIntegration, PageTitlesLoseTheirBrowsersPart) {
    struct Case {
        const char* window;  // the window retitled
        std::string title;
        std::string name;
        int number;
        std::string page;
    };
    const Case cases[] = {
        {"Start - Microsoft Internet Explorer", "Home - Microsoft Internet Explorer", "", 1, "Home"},
        {"Start - Microsoft Internet Explorer", "Home - Microsoft Internet Explorer - [Working Offline]", "", 1, "Home"},
        {"Start - Microsoft Internet Explorer", "Home - [Working Offline] - Microsoft Internet Explorer", "", 1, "Home"},
        {"News - Netscape", "Daily - Netscape", "", 2, "Daily"},
        {"News - Netscape", "Daily - Netscape", "Netscape", 0, "Daily"},
        {"Gallery - Orbit", "Pictures - Orbit", "Orbit", 3, "Pictures"},
        {"Gallery - Orbit", "Orbit - Pictures", "Orbit", 3, "Pictures"},
        {"Gallery - Orbit", "Pics - NeoPlanet", "Neoplanet", 3, "Pics"},
    };
    for (const Case& c : cases) {
        HWND window = browsers_.Window(c.window);
        ASSERT_NE(window, nullptr) << c.window;
        SetWindowTextA(window, c.title.c_str());
        clsShIntegration probe;
        EXPECT_NE(probe.URL(c.name, c.number), "") << c.title;
        EXPECT_EQ(probe.PageTtl(), c.page) << c.title;
        SetWindowTextA(window, c.window);
    }
}

TEST_F(ShIntegration, AnUnnamedBrowserNeedsItsNumberAndNumberThreeItsName) {
    clsShIntegration probe;
    const std::tuple<int, std::uint32_t, const char*> cases[] = {
        {0, 0x800401D4u, "Need to specify Browser Number when program name not specified"},
        {3, 0x800400BFu, "When browser unknown, need to specify program name!"},
    };
    for (const auto& [number, error, text] : cases) {
        try {
            probe.URL("", number);
            ADD_FAILURE() << number;
        } catch (const forms::RuntimeError& e) {
            EXPECT_EQ(static_cast<std::uint32_t>(e.Number()), error);
            EXPECT_EQ(e.Description(), text);
        }
    }
}

TEST_F(ShIntegration, TheGatedSearchPassesOverTheGivenText) {
    clsShIntegration probe;
    std::string page = "unchanged";
    probe.GTFP(page, "skip me", "Zed", "wrong");
    EXPECT_EQ(page, "unchanged");
    probe.GTFP(page, "skip me", "Zed", "tamsk");
    EXPECT_EQ(page, "http://zed.example/");
    EXPECT_EQ(probe.URL("Zed", 3), "skip me") << "the skip ends with the call";
}

TEST_F(ShIntegration, TaskWindowsAreTitledVisibleAndUnowned) {
    clsShIntegration probe;
    std::vector<std::string> seen;
    probe.ProgramFound = [&](const std::string& caption) { seen.push_back(caption); };
    probe.ListProgs();
    const auto has = [&](const char* title) { return std::find(seen.begin(), seen.end(), title) != seen.end(); };
    EXPECT_TRUE(has("Gallery - Orbit"));
    EXPECT_TRUE(has("Drawn Bar - Vivo"));
    EXPECT_FALSE(has("Hidden Task"));
    EXPECT_FALSE(has("Owned Task"));
}

TEST_F(ShIntegration, ConnectStartsTheDialDialogOfTheSystemFolder) {
    CreateDirectoryA((temp_ / "System").c_str(), nullptr);
    const Module1::SystemFolderOverride system(temp_ / "System");
    ASSERT_TRUE(Recorder::PlaceAs(temp_ / "System\\rundll32.exe"));
    const Recorder recorder(temp_ / "recorded.txt");
    clsShIntegration().Connect("My ISP & Co");
    const auto lines = recorder.WaitForLines(1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "\"" + (temp_ / "System\\rundll32.exe") + "\" rnaui.dll,RnaDial My ISP & Co");
}

// The default browser from a class the test seeds for ".htm"; the prefix's own ".htm" comes back afterwards.
class DefaultBrowser : public ::testing::Test {
protected:
    DefaultBrowser() {
        char value[256] = {};
        DWORD size = sizeof value;
        hadHtm_ = RegGetValueA(HKEY_CLASSES_ROOT, ".htm", nullptr, RRF_RT_REG_SZ, nullptr, value, &size) == ERROR_SUCCESS;
        previous_ = value;
    }
    ~DefaultBrowser() override {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, "QVTestHtml");
        if (hadHtm_) {
            Set(".htm", previous_);
        } else {
            RegDeleteTreeA(HKEY_CLASSES_ROOT, ".htm");
        }
    }
    static void Set(const char* key, const std::string& value) {
        RegSetKeyValueA(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
    }
    bool hadHtm_ = false;
    std::string previous_;
};

TEST_F(DefaultBrowser, IsReadFromTheOpenCommandOfTheProgId) {
    Set(".htm", "QVTestHtml");
    const std::pair<const char*, int> cases[] = {
        {"\"C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE\" %1", 1},
        {"C:\\Netscape\\Program\\NETSCAPE.EXE -h \"%1\"", 2},
        {"C:\\Other\\viewer.exe \"%1\"", 3},
    };
    for (const auto& [command, expected] : cases) {
        Set("QVTestHtml\\shell\\open\\command", command);
        EXPECT_EQ(clsShIntegration().DetectDefaultWebBrowser(), expected) << command;
    }
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "QVTestHtml");
    EXPECT_EQ(clsShIntegration().DetectDefaultWebBrowser(), 3) << "a class without a command";
}

}  // namespace
}  // namespace coretest
