#include "tests/platform/inet/TestHttpServer.h"

#include "platform/forms/MessageLoop.h"
#include "platform/inet/Inet.h"

#include <gtest/gtest.h>

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

}  // namespace
