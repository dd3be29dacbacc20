// The real help file in the real HTML Help engine: each context the suite calls opens the "popup" window.
#include "main/core/Module1.h"
#include "main/core/clsHelp.h"

#include "tests/main/core/CoreFixture.h"

#include <windows.h>

namespace coretest {
namespace {

std::string BuiltHelpFile() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p = path;
    return p.substr(0, p.find_last_of('\\')) + "\\" + QV_HELP_RELPATH;
}

BOOL CALLBACK CollectHelpWindow(HWND hwnd, LPARAM data) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char title[256] = {};
    GetWindowTextA(hwnd, title, sizeof title);
    if (pid == GetCurrentProcessId() && IsWindowVisible(hwnd) && std::string(title) == "Quillview Help") {
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(hwnd);
    }
    return TRUE;
}

std::vector<HWND> HelpWindows() {
    std::vector<HWND> found;
    EnumWindows(CollectHelpWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

// The engine opens its windows on this thread: pump (with a timer, so the loop looks again) until done.
bool PumpFor(const std::function<bool()>& done, DWORD ms) {
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, nullptr);
    const bool ok = formstest::PumpUntil(done, ms);
    KillTimer(nullptr, timer);
    return ok;
}

class Help : public CoreTest {
protected:
    Help() { CopyFileA(BuiltHelpFile().c_str(), (ProgramDir() + "\\qv23hlp.chm").c_str(), FALSE); }
    ~Help() override {
        Module1::gHelp().CloseAll();
        PumpFor([] { return HelpWindows().empty(); }, 5000);
    }
};

TEST_F(Help, EveryContextTheSuiteCallsOpensThePopupWindowAndCloseAllClosesIt) {
    for (const int context : {10001, 10008, 10009, 10012, 10013, 10014, 10015, 10016}) {
        Module1::ShowContextHelp(context);
        EXPECT_TRUE(PumpFor([] { return !HelpWindows().empty(); }, 15000)) << context;
        for (HWND w : HelpWindows()) {
            // Where the file's "popup" window type places it.
            RECT r{};
            GetWindowRect(w, &r);
            EXPECT_EQ(r.left, 80) << context;
            EXPECT_EQ(r.top, 80) << context;
        }
        Module1::gHelp().CloseAll();
        EXPECT_TRUE(PumpFor([] { return HelpWindows().empty(); }, 5000)) << context;
    }
}

TEST_F(Help, AContextTheFileDoesNotMapOpensNoWindow) {
    Module1::ShowContextHelp(10002);
    // A mapped context afterwards does open: the engine had its chance to show the unmapped one first.
    Module1::ShowContextHelp(10009);
    ASSERT_TRUE(PumpFor([] { return !HelpWindows().empty(); }, 15000));
    EXPECT_EQ(HelpWindows().size(), 1u);
}

}  // namespace
}  // namespace coretest
