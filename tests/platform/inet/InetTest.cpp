#include "tests/platform/inet/TestHttpServer.h"

#include "platform/forms/MessageLoop.h"
#include "platform/inet/Inet.h"
#include "platform/inet/ReplyNumber.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>

namespace {

using qvtest::Route;
using qvtest::TestHttpServer;

// The server is reached by its own address: no proxy in between, whatever the prefix has set.
class InetTest : public ::testing::Test {
protected:
    qvtest::ProxySetting noProxy_{0};
};

// A header's number is plain digits that fit; anything else a server may send is no number at all.
TEST(ReplyNumber, OnlyPlainDigitsThatFitAreANumber) {
    struct Case {
        std::optional<std::string> text;
        std::optional<std::uint64_t> number;
    };
    const Case cases[] = {
        {"200", 200},
        {"0", 0},
        {"000123", 123},
        {"9999999999999999999", 9999999999999999999ull},
        {"18446744073709551615", std::nullopt},  // 20 digits: refused before it could wrap
        {std::nullopt, std::nullopt},
        {"", std::nullopt},
        {" 12", std::nullopt},
        {"12 ", std::nullopt},
        {"+12", std::nullopt},
        {"-1", std::nullopt},
        {"12, 12", std::nullopt},
        {"0x10", std::nullopt},
        {std::string("1\0" "2", 3), std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(inet::ParseLength(c.text), c.number) << c.text.value_or("(none)");
}

struct Recorder {
    std::vector<int> states;
    std::string body;
    std::uint64_t lastTotal = 0;
    std::optional<inet::Result> head;
    std::optional<inet::Result> done;
    int doneCount = 0;

    void Attach(inet::Inet& i) {
        i.StateChanged = [this](int s) { states.push_back(s); };
        i.Response = [this](const inet::Result& r) { head = r; };
        i.Data = [this](std::string_view b, std::uint64_t total) {
            body.append(b);
            lastTotal = total;
        };
        i.Done = [this](const inet::Result& r) {
            done = r;
            ++doneCount;
        };
    }
};

inet::RequestSpec Get(const std::string& url, int timeout = 10) {
    inet::RequestSpec s;
    s.url = url;
    s.timeoutSeconds = timeout;
    return s;
}

std::string Generated(std::uint64_t n) {
    std::string s(n, '\0');
    for (std::uint64_t i = 0; i < n; ++i) s[i] = qvtest::GeneratedByte(i);
    return s;
}

TEST_F(InetTest, BodiesArriveWholeOnTheUiThread) {
    TestHttpServer server;
    server.Add("/plain", Route::Generated(300000));
    Route chunked = Route::Generated(100000);
    chunked.chunked = true;
    server.Add("/chunked", chunked);
    for (const char* path : {"/plain", "/chunked"}) {
        inet::Inet i;
        Recorder r;
        r.Attach(i);
        i.Start(Get(server.Base() + path));
        ASSERT_TRUE(i.Wait()) << path;
        ASSERT_TRUE(r.done) << path;
        EXPECT_EQ(r.done->error, 0u) << path;
        EXPECT_EQ(r.done->status, 200) << path;
        ASSERT_TRUE(r.head) << path;
        const std::uint64_t size = std::string(path) == "/plain" ? 300000 : 100000;
        EXPECT_EQ(r.body, Generated(size)) << path;
        EXPECT_EQ(r.lastTotal, size) << path;
        EXPECT_EQ(r.done->received, size) << path;
        EXPECT_EQ(r.doneCount, 1) << path;
        EXPECT_EQ(r.done->contentLength.has_value(), std::string(path) == "/plain") << path;
    }
    EXPECT_EQ(server.Requests().at(0).path, "/plain");
    EXPECT_EQ(server.Requests().at(0).method, "GET");
}

TEST_F(InetTest, NoAnswerWithinTheTimeoutEndsAsATimeout) {
    TestHttpServer server;
    Route held = Route::Text("late");
    held.hold = true;
    server.Add("/held", held);
    inet::Inet i;
    Recorder r;
    r.Attach(i);
    i.SetRequestTimeout(2);
    const DWORD start = GetTickCount();
    i.Start(Get(server.Base() + "/held"));
    ASSERT_TRUE(forms::MessageLoop::RunUntil([&] { return r.done.has_value(); }, 15000));
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_EQ(r.done->error, inet::kTimedOut);
    EXPECT_EQ(r.done->errorText, "Request timed out");
    EXPECT_GE(elapsed, 1800u);
    EXPECT_LT(elapsed, 6000u);
    server.Release();
}

TEST_F(InetTest, CancelEndsAHeldRequestAtOnceWithoutEvents) {
    TestHttpServer server;
    Route held = Route::Text("late");
    held.hold = true;
    server.Add("/held", held);
    server.Add("/next", Route::Text("next answer"));
    inet::Inet i;
    Recorder r;
    r.Attach(i);
    i.Start(Get(server.Base() + "/held", 30));
    ASSERT_TRUE(forms::MessageLoop::RunUntil([&] { return server.RequestCount() == 1; }, 10000));
    const DWORD start = GetTickCount();
    i.Cancel();
    EXPECT_FALSE(i.StillExecuting());
    EXPECT_LT(GetTickCount() - start, 1000u);
    // The same control goes on with a new request, and the abandoned one never reports.
    i.Start(Get(server.Base() + "/next"));
    ASSERT_TRUE(i.Wait());
    server.Release();
    forms::MessageLoop::RunUntil([] { return false; }, 300);
    EXPECT_EQ(r.doneCount, 1);
    EXPECT_EQ(r.body, "next answer");
}

TEST_F(InetTest, RedirectsFollowedOnlyOnTheSameServer) {
    TestHttpServer server;
    TestHttpServer other;
    other.Add("/elsewhere", Route::Text("other"));
    server.Add("/target", Route::Text("here"));
    server.Add("/same", Route::Redirect("/target"));
    server.Add("/away", Route::Redirect(other.Base() + "/elsewhere"));
    server.Add("/loop", Route::Redirect("/loop"));
    struct Row {
        const char* path;
        std::uint32_t error;
        const char* body;
    };
    for (const Row& row : {Row{"/same", 0, "here"}, Row{"/away", inet::kRedirectRefused, ""},
                           Row{"/loop", inet::kRedirectRefused, ""}}) {
        inet::Inet i;
        Recorder r;
        r.Attach(i);
        i.Start(Get(server.Base() + row.path));
        ASSERT_TRUE(i.Wait());
        ASSERT_TRUE(r.done) << row.path;
        EXPECT_EQ(r.done->error, row.error) << row.path;
        EXPECT_EQ(r.body, row.body) << row.path;
    }
    EXPECT_EQ(other.RequestCount(), 0u);
}

TEST_F(InetTest, RefusedPortIsAnError) {
    int port = 0;
    {
        TestHttpServer gone;
        port = gone.Port();
    }
    inet::Inet i;
    Recorder r;
    r.Attach(i);
    i.Start(Get("http://127.0.0.1:" + std::to_string(port) + "/x"));
    ASSERT_TRUE(i.Wait());
    ASSERT_TRUE(r.done);
    EXPECT_EQ(r.done->error, 12029u);
}

// The wait behind a synchronous fetch keeps timers and painting alive but lets no input through.
int g_ticks = 0;
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) { ++g_ticks; }

TEST_F(InetTest, WaitTicksTimersAndDropsInput) {
    TestHttpServer server;
    Route held = Route::Text("late");
    held.hold = true;
    server.Add("/held", held);
    // A message-only edit box: it takes typed characters like any, without a window on the display.
    const HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 10, 10, HWND_MESSAGE, nullptr, nullptr, nullptr);
    g_ticks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, &CountTick);
    inet::Inet i;
    Recorder r;
    r.Attach(i);
    i.SetRequestTimeout(2);
    PostMessageA(edit, WM_CHAR, 'x', 0);
    i.Start(Get(server.Base() + "/held"));
    ASSERT_TRUE(i.Wait());
    KillTimer(nullptr, timer);
    EXPECT_GE(g_ticks, 5);
    char text[8] = {};
    GetWindowTextA(edit, text, sizeof text);
    EXPECT_STREQ(text, "");
    DestroyWindow(edit);
    server.Release();
}


// A body whose every block differs from every other (numbered lines), so blocks swapped or repeated show.
std::string NumberedLines(std::size_t bytes) {
    std::string s;
    s.reserve(bytes + 16);
    char line[16];
    for (unsigned n = 0; s.size() < bytes; ++n) {
        std::snprintf(line, sizeof line, "%08u\n", n);
        s += line;
    }
    s.resize(bytes);
    return s;
}

// Stands for a handler with real work to do per block (a window drawing its progress, a slow disk).
void Busy(double milliseconds) {
    LARGE_INTEGER f, start, now;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&start);
    do QueryPerformanceCounter(&now);
    while (static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 < milliseconds * static_cast<double>(f.QuadPart));
}

int g_paints = 0;
LRESULT CALLBACK CountPaints(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        ++g_paints;
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

int g_dataTicks = 0;
bool g_inData = false;
void CALLBACK CountDataTick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_inData) ++g_dataTicks;
}

// Data that comes faster than its handler takes it is delivered a slice per turn of the message loop: the
// window it invalidates repaints and timers tick while the body is still arriving, and the body still
// arrives whole, in order, with one end after its last block.
TEST_F(InetTest, SlicedDeliveryLetsPaintAndTimersThroughAndLosesNothing) {
    TestHttpServer server;
    const std::string body = NumberedLines(std::size_t{4} << 20);
    server.Add("/big", Route::Text(body));
    WNDCLASSA wc{};
    wc.lpfnWndProc = CountPaints;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "InetTestPaintCounter";
    RegisterClassA(&wc);
    const HWND window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, wc.lpszClassName, "", WS_POPUP, 0, 0, 20,
                                        20, nullptr, nullptr, wc.hInstance, nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    ASSERT_TRUE(forms::MessageLoop::RunUntil([&] { return GetUpdateRect(window, nullptr, FALSE) == FALSE; }, 5000));

    inet::Inet i;
    Recorder r;
    r.Attach(i);
    int paintsDuringData = 0;
    std::uint64_t bodyAtDone = 0;
    i.Data = [&](std::string_view b, std::uint64_t total) {
        if (!g_inData) g_paints = 0;
        g_inData = true;
        r.body.append(b);
        r.lastTotal = total;
        paintsDuringData = g_paints;
        InvalidateRect(window, nullptr, FALSE);
        Busy(2);
    };
    i.Done = [&](const inet::Result& result) {
        g_inData = false;
        r.done = result;
        ++r.doneCount;
        bodyAtDone = r.body.size();
    };
    g_dataTicks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, &CountDataTick);
    i.Start(Get(server.Base() + "/big"));
    const bool ended = forms::MessageLoop::RunUntil([&] { return r.done.has_value(); }, 30000);
    KillTimer(nullptr, timer);
    g_inData = false;
    DestroyWindow(window);
    ASSERT_TRUE(ended);
    EXPECT_EQ(r.done->error, 0u);
    EXPECT_TRUE(r.body == body) << "got " << r.body.size() << " bytes of " << body.size();
    EXPECT_EQ(bodyAtDone, body.size());
    EXPECT_EQ(r.lastTotal, body.size());
    EXPECT_EQ(r.doneCount, 1);
    // About 64 blocks at 2 ms each: a delivery that kept the loop would let none through.
    EXPECT_GE(paintsDuringData, 3);
    EXPECT_GE(g_dataTicks, 3);
}

// A handler that ends or replaces the request in the middle of a slice: nothing of the old request comes
// after it, and the new one reports its own bytes and ends once.
TEST_F(InetTest, CancelOrRestartInsideAHandlerStopsTheOldEventsAtOnce) {
    TestHttpServer server;
    const std::string body = NumberedLines(std::size_t{2} << 20);
    server.Add("/big", Route::Text(body));
    server.Add("/next", Route::Text("next answer"));
    for (const bool restart : {false, true}) {
        SCOPED_TRACE(restart ? "restart" : "cancel");
        inet::Inet i;
        Recorder r;
        r.Attach(i);
        int blocks = 0;
        std::size_t oldBytes = 0;
        i.Data = [&](std::string_view b, std::uint64_t total) {
            r.body.append(b);
            r.lastTotal = total;
            if (++blocks != 3) return;
            oldBytes = r.body.size();
            if (restart) i.Start(Get(server.Base() + "/next"));
            else i.Cancel();
        };
        i.Start(Get(server.Base() + "/big"));
        ASSERT_TRUE(forms::MessageLoop::RunUntil([&] { return r.done.has_value() || blocks >= 3; }, 10000));
        forms::MessageLoop::RunUntil([&] { return r.done.has_value(); }, restart ? 10000 : 500);
        EXPECT_EQ(r.body.substr(0, oldBytes), body.substr(0, oldBytes));
        if (restart) {
            ASSERT_TRUE(r.done);
            EXPECT_EQ(r.body.substr(oldBytes), "next answer");
            EXPECT_EQ(r.lastTotal, 11u);
            EXPECT_EQ(r.done->received, 11u);
        } else {
            EXPECT_FALSE(r.done);
            EXPECT_EQ(r.body.size(), oldBytes);
        }
        forms::MessageLoop::RunUntil([] { return false; }, 300);
        EXPECT_EQ(r.doneCount, restart ? 1 : 0);
    }
}

}  // namespace
