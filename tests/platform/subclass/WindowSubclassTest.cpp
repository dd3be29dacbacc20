#include "platform/subclass/WindowSubclass.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr UINT kProbe = WM_APP + 3;
constexpr UINT kNested = WM_APP + 4;

std::vector<std::string> g_log;
std::string g_originalText;  // what the window's own (ANSI) procedure got with WM_SETTEXT

LRESULT CALLBACK Original(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == kProbe || m == kNested) {
        g_log.push_back("original");
        return 7;
    }
    if (m == WM_SETTEXT) g_originalText = reinterpret_cast<const char*>(l);
    if (m == WM_NCDESTROY) g_log.push_back("original:destroy");
    return DefWindowProcA(h, m, w, l);
}

HWND MakeWindow() {
    static const ATOM atom = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &Original;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "QvWindowSubclassTest";
        return RegisterClassA(&wc);
    }();
    return CreateWindowExA(0, MAKEINTATOM(atom), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// A procedure that logs its name (its data) and runs what the test puts in `during` before passing on.
struct Step {
    std::string name;
    std::function<void(HWND)> during;
};

LRESULT CALLBACK Logging(HWND h, UINT m, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR data) {
    auto& step = *reinterpret_cast<Step*>(data);
    if (m == kProbe || m == kNested) {
        g_log.push_back(step.name + (m == kNested ? ":nested" : ""));
        if (m == kProbe && step.during) step.during(h);
    }
    if (m == WM_NCDESTROY) g_log.push_back(step.name + ":destroy");
    return subclass::CallNextSubclass(h, m, w, l);
}

std::wstring g_seenText;
LRESULT CALLBACK SeesText(HWND h, UINT m, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR) {
    if (m == WM_SETTEXT) g_seenText = reinterpret_cast<const wchar_t*>(l);
    return subclass::CallNextSubclass(h, m, w, l);
}

LRESULT CALLBACK ComctlOver(HWND h, UINT m, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR) {
    if (m == kProbe) g_log.push_back("comctl");
    return DefSubclassProc(h, m, w, l);
}

struct WindowSubclassTest : ::testing::Test {
    HWND hwnd = MakeWindow();
    Step a{"a", {}}, b{"b", {}}, c{"c", {}};
    void SetUp() override {
        ASSERT_TRUE(hwnd);
        g_log.clear();
    }
    void TearDown() override {
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
    }
    void Set(Step& step, UINT_PTR id = 1) {
        ASSERT_TRUE(subclass::SetSubclass(hwnd, &Logging, id, reinterpret_cast<DWORD_PTR>(&step)));
    }
    std::vector<std::string> Probe() {
        g_log.clear();
        EXPECT_EQ(SendMessageA(hwnd, kProbe, 0, 0), 7);
        return g_log;
    }
};

using Log = std::vector<std::string>;

TEST_F(WindowSubclassTest, TheLastSetRunsFirstAndTheWindowsOwnProcedureLast) {
    Set(a, 1);
    Set(b, 2);
    EXPECT_EQ(Probe(), (Log{"b", "a", "original"}));
    // The same procedure and id again only changes its data: it keeps its place.
    Set(c, 1);
    EXPECT_EQ(Probe(), (Log{"b", "c", "original"}));
    EXPECT_EQ(subclass::SubclassData(hwnd, &Logging, 1), reinterpret_cast<DWORD_PTR>(&c));
    EXPECT_FALSE(subclass::SubclassData(hwnd, &Logging, 3));
}

TEST_F(WindowSubclassTest, ChangesDuringAMessageHoldFromTheNextProcedureOn) {
    struct Case {
        const char* what;
        std::function<void(WindowSubclassTest&)> during;  // run by "b", the top one
        Log first, second;
    };
    const Case cases[] = {
        {"b removes itself", [](WindowSubclassTest& t) { subclass::RemoveSubclass(t.hwnd, &Logging, 2); },
         {"b", "a", "original"}, {"a", "original"}},
        {"b removes a, under it", [](WindowSubclassTest& t) { subclass::RemoveSubclass(t.hwnd, &Logging, 1); },
         {"b", "original"}, {"b", "original"}},
        {"b sets c over itself", [](WindowSubclassTest& t) { t.Set(t.c, 3); },
         {"b", "a", "original"}, {"c", "b", "a", "original"}},
        {"b sends another message to the window",
         [](WindowSubclassTest& t) { SendMessageA(t.hwnd, kNested, 0, 0); },
         {"b", "b:nested", "a:nested", "original", "a", "original"}, {"b", "a", "original"}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        HWND fresh = MakeWindow();
        std::swap(hwnd, fresh);
        if (fresh) DestroyWindow(fresh);
        Set(a, 1);
        Set(b, 2);
        bool once = false;
        b.during = [&](HWND) {
            if (once) return;
            once = true;
            k.during(*this);
        };
        EXPECT_EQ(Probe(), k.first);
        EXPECT_EQ(Probe(), k.second);
        b.during = {};
    }
}

TEST_F(WindowSubclassTest, RemovingTheLastGivesTheWindowItsProcedureBackUnlessAnotherSubclassIsOver) {
    const LONG_PTR own = GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
    Set(a, 1);
    EXPECT_NE(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), own);
    EXPECT_TRUE(subclass::RemoveSubclass(hwnd, &Logging, 1));
    EXPECT_FALSE(subclass::RemoveSubclass(hwnd, &Logging, 1));
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_WNDPROC), own);
    EXPECT_EQ(Probe(), (Log{"original"}));

    // The system's subclassing over ours: ours goes first, and messages still pass through both.
    Set(a, 1);
    ASSERT_TRUE(SetWindowSubclass(hwnd, &ComctlOver, 1, 0));
    EXPECT_EQ(Probe(), (Log{"comctl", "a", "original"}));
    EXPECT_TRUE(subclass::RemoveSubclass(hwnd, &Logging, 1));
    EXPECT_EQ(Probe(), (Log{"comctl", "original"}));
    EXPECT_TRUE(RemoveWindowSubclass(hwnd, &ComctlOver, 1));
    EXPECT_EQ(Probe(), (Log{"original"}));
}

TEST_F(WindowSubclassTest, TheProceduresSeeTheDestructionAndTheChainGoesWithTheWindow) {
    Set(a, 1);
    Set(b, 2);
    g_log.clear();
    DestroyWindow(hwnd);
    EXPECT_EQ(g_log, (Log{"b:destroy", "a:destroy", "original:destroy"}));
    EXPECT_FALSE(subclass::SubclassData(hwnd, &Logging, 1));
    EXPECT_FALSE(subclass::RemoveSubclass(hwnd, &Logging, 1));
}

TEST_F(WindowSubclassTest, TextReachesTheProceduresAsUnicodeAndAnAnsiWindowAsAnsi) {
    ASSERT_TRUE(subclass::SetSubclass(hwnd, &SeesText, 1, 0));
    SetWindowTextA(hwnd, "cafe");
    EXPECT_EQ(g_seenText, L"cafe");
    EXPECT_EQ(g_originalText, "cafe");
    char back[16] = {};
    GetWindowTextA(hwnd, back, sizeof back);
    EXPECT_STREQ(back, "cafe");
}

TEST_F(WindowSubclassTest, AnotherThreadsWindowCannotBeSubclassed) {
    bool set = true;
    std::thread([&] { set = subclass::SetSubclass(hwnd, &Logging, 1, reinterpret_cast<DWORD_PTR>(&a)); }).join();
    EXPECT_FALSE(set);
    EXPECT_FALSE(subclass::SetSubclass(nullptr, &Logging, 1, 0));
    EXPECT_EQ(Probe(), (Log{"original"}));
}

}  // namespace
