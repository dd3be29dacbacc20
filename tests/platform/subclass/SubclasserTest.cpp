#include "platform/subclass/Subclasser.h"

#include "platform/runtime/RuntimeError.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr UINT kProbe = WM_APP + 7;

// A window whose own procedure records what reaches it and answers kProbe with 99.
struct TestWindow {
    static inline std::vector<UINT> seen;
    HWND hwnd = nullptr;

    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
        if (m == kProbe || m == WM_COPYDATA) {
            seen.push_back(m);
            return 99;
        }
        return DefWindowProcA(h, m, w, l);
    }
    TestWindow() {
        static const ATOM atom = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = &Proc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "QvSubclassTestWindow";
            return RegisterClassA(&wc);
        }();
        hwnd = CreateWindowExA(0, MAKEINTATOM(atom), "t", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
        seen.clear();
    }
    ~TestWindow() {
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
};

struct Client : subclass::ISubclass {
    std::int32_t response = subclass::ConsumeMessage;
    std::vector<std::string> log;
    std::function<void()> during;
    std::string name;

    explicit Client(std::string n, std::int32_t r = subclass::ConsumeMessage) : response(r), name(std::move(n)) {}
    std::int32_t MsgResponse() const override { return response; }
    void SetMsgResponse(std::int32_t) override {}
    LRESULT WindowProc(HWND, UINT iMsg, WPARAM wParam, LPARAM lParam) override {
        if (iMsg == WM_COPYDATA) {
            const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            log.push_back(std::string(static_cast<const char*>(cds->lpData), cds->cbData));
        } else {
            log.push_back(name + ":" + std::to_string(wParam));
        }
        if (during) during();
        return 7;
    }
};

subclass::Subclasser& S() { return subclass::Subclasser::Instance(); }

TEST(Subclasser, DeliversTheMessageWithItsOwnParameters) {
    TestWindow w;
    Client c("c");
    subclass::SubscribeMessage(c, w.hwnd, WM_COPYDATA);
    const char bytes[] = {'a', ' ', 'b'};
    COPYDATASTRUCT cds{0, sizeof bytes, const_cast<char*>(bytes)};
    EXPECT_EQ(SendMessageA(w.hwnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds)), 7);
    ASSERT_EQ(c.log.size(), 1u);
    EXPECT_EQ(c.log[0], "a b");
    EXPECT_TRUE(TestWindow::seen.empty()) << "a consumed message does not reach the window";

    // Other messages still reach the window's own procedure.
    EXPECT_EQ(SendMessageA(w.hwnd, kProbe, 1, 0), 99);
    subclass::UnsubscribeMessage(c, w.hwnd, WM_COPYDATA);
    EXPECT_EQ(SendMessageA(w.hwnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds)), 99);
    EXPECT_EQ(c.log.size(), 1u);
}

TEST(Subclasser, AfterOriginalClientSeesTheMessageAfterTheWindow) {
    TestWindow w;
    Client c("c", subclass::AfterOriginal);
    c.during = [] { EXPECT_EQ(TestWindow::seen.size(), 1u); };
    subclass::SubscribeMessage(c, w.hwnd, kProbe);
    EXPECT_EQ(SendMessageA(w.hwnd, kProbe, 3, 0), 99) << "the window's own result stands";
    EXPECT_EQ(c.log, std::vector<std::string>{"c:3"});
    subclass::UnsubscribeMessage(c, w.hwnd, kProbe);
}

TEST(Subclasser, UnsubscribingDuringDeliveryIsSafe) {
    TestWindow w;
    Client first("first");
    Client second("second");
    // The first client removes both itself and the second one while the message is being delivered.
    first.during = [&] {
        subclass::UnsubscribeMessage(first, w.hwnd, kProbe);
        subclass::UnsubscribeMessage(second, w.hwnd, kProbe);
    };
    subclass::SubscribeMessage(first, w.hwnd, kProbe);
    subclass::SubscribeMessage(second, w.hwnd, kProbe);
    EXPECT_EQ(SendMessageA(w.hwnd, kProbe, 1, 0), 7);
    EXPECT_EQ(first.log, std::vector<std::string>{"first:1"});
    EXPECT_TRUE(second.log.empty());
    EXPECT_FALSE(S().IsSubscribed(first, w.hwnd, kProbe));
    EXPECT_EQ(SendMessageA(w.hwnd, kProbe, 2, 0), 99) << "the window works on without the subclass";
}

TEST(Subclasser, NestedDeliveryInsideAClient) {
    TestWindow w;
    Client c("c");
    int depth = 0;
    c.during = [&] {
        // A nested loop inside the handler delivers a further message to the same window.
        if (depth++ == 0) {
            PostMessageA(w.hwnd, kProbe, 2, 0);
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        }
    };
    subclass::SubscribeMessage(c, w.hwnd, kProbe);
    SendMessageA(w.hwnd, kProbe, 1, 0);
    EXPECT_EQ(c.log, (std::vector<std::string>{"c:1", "c:2"}));
    subclass::UnsubscribeMessage(c, w.hwnd, kProbe);
}

TEST(Subclasser, DestroyedWindowIsForgotten) {
    Client c("c");
    HWND hwnd;
    {
        TestWindow w;
        hwnd = w.hwnd;
        subclass::SubscribeMessage(c, hwnd, kProbe);
        EXPECT_TRUE(S().IsSubscribed(c, hwnd, kProbe));
    }
    EXPECT_FALSE(S().IsSubscribed(c, hwnd, kProbe));
}

TEST(Subclasser, SubscribingANonWindowFails) {
    Client c("c");
    EXPECT_THROW(subclass::SubscribeMessage(c, nullptr, kProbe), forms::RuntimeError);
}

std::string g_reported;
TEST(Subclasser, AnErrorInAClientGoesToTheReporter) {
    TestWindow w;
    Client c("c");
    c.during = [] { throw forms::RuntimeError(5, "boom"); };
    subclass::SetErrorReporter([](const std::exception& e) { g_reported = e.what(); });
    subclass::SubscribeMessage(c, w.hwnd, kProbe);
    EXPECT_EQ(SendMessageA(w.hwnd, kProbe, 1, 0), 0);
    EXPECT_EQ(g_reported, "boom");
    subclass::UnsubscribeMessage(c, w.hwnd, kProbe);
    subclass::SetErrorReporter(nullptr);
}

struct UndecidedClient : Client {
    UndecidedClient() : Client("undecided") {}
    std::int32_t MsgResponse() const override { throw forms::RuntimeError(5, "no answer"); }
};

TEST(Subclasser, AClientThatCannotTellItsResponseIsReportedAndSkipped) {
    TestWindow w;
    UndecidedClient undecided;
    Client after("after", subclass::AfterOriginal);
    g_reported.clear();
    subclass::SetErrorReporter([](const std::exception& e) { g_reported = e.what(); });
    subclass::SubscribeMessage(undecided, w.hwnd, kProbe);
    subclass::SubscribeMessage(after, w.hwnd, kProbe);
    EXPECT_EQ(SendMessageA(w.hwnd, kProbe, 3, 0), 99) << "the window's own answer stands";
    EXPECT_EQ(g_reported, "no answer");
    EXPECT_TRUE(undecided.log.empty());
    EXPECT_EQ(after.log, std::vector<std::string>{"after:3"});
    subclass::UnsubscribeMessage(undecided, w.hwnd, kProbe);
    subclass::UnsubscribeMessage(after, w.hwnd, kProbe);
    subclass::SetErrorReporter(nullptr);
}

}  // namespace
