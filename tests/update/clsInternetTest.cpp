#include "tests/platform/inet/TestHttpServer.h"
#include "tests/update/RawReplyServer.h"

#include "platform/forms/MessageLoop.h"
#include "platform/runtime/RuntimeError.h"
#include "tests/support/TempFolder.h"
#include "update/clsInternet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using qvtest::Route;


using qvtest::TestHttpServer;
using update::clsInternet;

class clsInternetTest : public ::testing::Test {
protected:
    qvtest::ProxySetting noProxy_{0};
};

std::string Generated(std::uint64_t n) {
    std::string s(n, '\0');
    for (std::uint64_t i = 0; i < n; ++i) s[i] = qvtest::GeneratedByte(i);
    return s;
}

// What a listener of the class sees, in order.
struct Events {
    std::vector<std::string> log;
    std::vector<std::int32_t> errors;
    int downloadingStatus = 0;
    std::int32_t lastLength = 0;
    bool ended = false;

    void Attach(clsInternet& net) {
        net.Status = [this](const std::string& m, std::int32_t length) {
            if (m == "Downloading...") {
                ++downloadingStatus;
                lastLength = length;
            }
        };
        net.Downloaded = [this] { log.push_back("Downloaded"); };
        // Raised when the connection closes too, which need not be the end: the end is Downloaded and then
        // Disconnected, or one Error.
        net.Disconnected = [this] {
            ended = ended || (!log.empty() && log.back() == "Downloaded");
            log.push_back("Disconnected");
        };
        net.Error = [this](std::int32_t n, const std::string& info) {
            log.push_back("Error " + std::to_string(n) + " " + info);
            errors.push_back(n);
            ended = true;
        };
    }
};

// The log without the connection's closes reported before the end.
std::vector<std::string> Ending(const std::vector<std::string>& log) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < log.size(); ++i)
        if (log[i] != "Disconnected" || (i > 0 && log[i - 1] == "Downloaded")) out.push_back(log[i]);
    return out;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA e{};
    const HANDLE f = FindFirstFileA((folder + "\\*").c_str(), &e);
    if (f == INVALID_HANDLE_VALUE) return names;
    do {
        if (std::string(e.cFileName) != "." && std::string(e.cFileName) != "..") names.push_back(e.cFileName);
    } while (FindNextFileA(f, &e));
    FindClose(f);
    return names;
}

TEST_F(clsInternetTest, DownloadOutcomes) {
    TestHttpServer server;
    TestHttpServer other;
    other.Add("/pkg", Route::Generated(5000));
    const std::string full = Generated(100000);
    server.Add("/full", Route::Generated(100000));
    Route chunked = Route::Generated(100000);
    chunked.chunked = true;
    server.Add("/chunked", chunked);
    server.Add("/missing", Route::Text("<html>gone</html>", 404, "Not Found"));
    server.Add("/broken", Route::Text("<html>oops</html>", 500, "Internal Server Error"));
    Route cut = Route::Generated(100000);
    cut.cutAfter = 40000;
    server.Add("/cut", cut);
    Route cutChunked = Route::Generated(100000);
    cutChunked.chunked = true;
    cutChunked.cutAfter = 40000;
    server.Add("/cutchunked", cutChunked);
    server.Add("/small", Route::Generated(3072));
    server.Add("/justover", Route::Generated(3073));
    server.Add("/empty", Route::Text(""));
    server.Add("/same", Route::Redirect("/full"));
    server.Add("/away", Route::Redirect(other.Base() + "/pkg"));

    struct Row {
        const char* path;
        bool smallBinary;
        std::optional<std::uint64_t> expected;
        std::vector<std::string> log;  // the error rows by number only
        std::int32_t error;
        std::string content;  // BinaryFile afterwards ("old" when kept)
    };
    const std::string ok = "";
    const Row rows[] = {
        {"/full", false, std::nullopt, {"Downloaded", "Disconnected"}, 0, full},
        {"/chunked", false, std::nullopt, {"Downloaded", "Disconnected"}, 0, full},
        {"/full", false, 100000, {"Downloaded", "Disconnected"}, 0, full},
        {"/same", false, std::nullopt, {"Downloaded", "Disconnected"}, 0, full},
        {"/missing", false, std::nullopt, {}, 758, "old"},
        {"/broken", false, std::nullopt, {}, 758, "old"},
        {"/cut", false, std::nullopt, {}, 759, "old"},
        {"/full", false, 99999, {}, 760, "old"},      // announced length differs
        {"/chunked", false, 50000, {}, 760, "old"},   // bytes beyond the size
        {"/chunked", false, 200000, {}, 760, "old"},  // fewer than the size
        {"/cutchunked", false, 100000, {}, 760, "old"},
        {"/away", false, std::nullopt, {}, 762, "old"},
        {"/small", false, std::nullopt, {}, 758, "old"},
        {"/justover", false, std::nullopt, {"Downloaded", "Disconnected"}, 0, Generated(3073)},
        {"/small", true, std::nullopt, {"Downloaded", "Disconnected"}, 0, Generated(3072)},
        {"/empty", true, std::nullopt, {"Downloaded", "Disconnected"}, 0, ""},
        {"/empty", false, std::nullopt, {}, 758, "old"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.path) + (row.smallBinary ? " small" : "") +
                     (row.expected ? " expected " + std::to_string(*row.expected) : ""));
        qvtest::TempFolder folder;
        // The old file is longer than some answers: its tail must never survive.
        folder.Write("pkg.exe", "old");
        clsInternet net;
        Events events;
        events.Attach(net);
        net.BinaryFile = folder / "pkg.exe";
        net.SmallBinary = row.smallBinary;
        net.ExpectedSize = row.expected;
        net.DownloadFile(10, server.Base() + row.path);
        ASSERT_TRUE(forms::MessageLoop::RunUntil([&] { return events.ended; }, 20000));
        forms::MessageLoop::RunUntil([] { return false; }, 50);  // nothing more may follow
        // Before the end, only the connection's close may be reported.
        const auto ending = Ending(events.log);
        if (row.error == 0) {
            EXPECT_EQ(ending, row.log);
            EXPECT_GE(events.downloadingStatus, 1);
            EXPECT_EQ(static_cast<std::size_t>(events.lastLength), row.content.size());
        } else {
            ASSERT_EQ(events.errors.size(), 1u) << testing::PrintToString(events.log);
            EXPECT_EQ(events.errors[0], row.error);
            EXPECT_EQ(ending.size(), 1u) << testing::PrintToString(events.log);
        }
        EXPECT_EQ(folder.Read("pkg.exe"), row.content);
        EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"pkg.exe"});
    }
}

// The connection's close is reported as the control reports it (state 10): its text and Disconnected, ahead
// of the transfer's own end.
TEST_F(clsInternetTest, TheConnectionsCloseIsReported) {
    TestHttpServer server;
    server.Add("/full", Route::Generated(100000));
    qvtest::TempFolder folder;
    clsInternet net;
    Events events;
    events.Attach(net);
    std::vector<std::string> texts;
    const auto status = net.Status;
    net.Status = [&](const std::string& m, std::int32_t length) {
        texts.push_back(m);
        status(m, length);
    };
    net.BinaryFile = folder / "f.bin";
    net.DownloadFile(10, server.Base() + "/full");
    ASSERT_TRUE(forms::MessageLoop::RunUntil([&] { return events.ended; }, 20000));
    ASSERT_GE(events.log.size(), 3u) << testing::PrintToString(events.log);
    EXPECT_EQ(events.log.front(), "Disconnected");
    EXPECT_EQ(std::vector<std::string>(events.log.end() - 2, events.log.end()),
              (std::vector<std::string>{"Downloaded", "Disconnected"}));
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Disconnected"), texts.end());
}

// A reply whose status line gives no code is a failure of its own, whatever the transfer.
TEST_F(clsInternetTest, AnUnreadableStatusLineIsAFailureOfItsOwn) {
    for (const char* reply : {"HTTP/1.1 OK\r\nContent-Length: 5000\r\nConnection: close\r\n\r\n",
                              "HTTP/1.1 2x0 OK\r\nContent-Length: 5000\r\nConnection: close\r\n\r\n"}) {
        SCOPED_TRACE(reply);
        updtest::RawReplyServer raw(std::string(reply) + std::string(5000, 'x'));
        qvtest::TempFolder folder;
        folder.Write("f.bin", "old");
        {
            clsInternet net;
            Events events;
            events.Attach(net);
            net.BinaryFile = folder / "f.bin";
            net.DownloadFile(10, raw.Base() + "/f.bin");
            ASSERT_TRUE(forms::MessageLoop::RunUntil([&] { return events.ended; }, 20000));
            EXPECT_EQ(events.errors, std::vector<std::int32_t>{update::inet_error::UnreadableAnswer});
            EXPECT_EQ(events.log.back(), "Error 763 The server's reply could not be read.");
        }
        {
            clsInternet net;
            Events events;
            events.Attach(net);
            net.NoWrite = true;
            net.Sendform(raw.Base() + "/form", "a=1");
            ASSERT_TRUE(forms::MessageLoop::RunUntil([&] { return events.ended; }, 20000));
            EXPECT_EQ(events.errors, std::vector<std::int32_t>{update::inet_error::UnreadableAnswer});
        }
        {
            clsInternet net;
            bool fail = false;
            EXPECT_EQ(net.GetString(raw.Base() + "/text", 10, fail), "");
            EXPECT_TRUE(fail);
        }
        EXPECT_EQ(folder.Read("f.bin"), "old");
        EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"f.bin"});
    }
}

TEST_F(clsInternetTest, RefusedAndTimedOut) {
    int port = 0;
    {
        TestHttpServer gone;
        port = gone.Port();
    }
    TestHttpServer server;
    Route held = Route::Generated(10000);
    held.hold = true;
    server.Add("/held", held);
    struct Row {
        std::string url;
        std::int32_t timeout;
        std::int32_t error;
        std::string text;
    };
    const Row rows[] = {
        {"http://127.0.0.1:" + std::to_string(port) + "/x", 10, 12029, ""},
        {server.Base() + "/held", 2, 35761, "Request timed out"},
        {"", 10, 46376, "Error initialising connection"},
        {"file:///C:/windows/win.ini", 10, 46376, "Error initialising connection"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.url);
        qvtest::TempFolder folder;
        clsInternet net;
        Events events;
        events.Attach(net);
        net.BinaryFile = folder / "f.bin";
        const DWORD start = GetTickCount();
        net.DownloadFile(row.timeout, row.url);
        ASSERT_TRUE(forms::MessageLoop::RunUntil([&] { return events.ended; }, 20000));
        ASSERT_EQ(events.errors, std::vector<std::int32_t>{row.error});
        if (!row.text.empty()) {
            EXPECT_EQ(Ending(events.log).at(0), "Error " + std::to_string(row.error) + " " + row.text);
        }
        if (row.error == 35761) {
            EXPECT_LT(GetTickCount() - start, 8000u);
        }
        EXPECT_TRUE(FolderEntries(folder.Path()).empty());
    }
    server.Release();
}

TEST_F(clsInternetTest, CancelOfAHeldBodyEndsAtOnce) {
    TestHttpServer server;
    Route held = Route::Generated(10000);
    held.hold = true;
    server.Add("/held", held);
    for (const bool noEvents : {false, true}) {
        SCOPED_TRACE(noEvents ? "without events" : "with events");
        qvtest::TempFolder folder;
        folder.Write("f.bin", "old");
        clsInternet net;
        Events events;
        events.Attach(net);
        net.BinaryFile = folder / "f.bin";
        net.DownloadFile(60, server.Base() + "/held");
        ASSERT_TRUE(forms::MessageLoop::RunUntil([&] { return net.StillBusy() && server.RequestCount() > 0; }, 10000));
        const DWORD start = GetTickCount();
        net.CancelConnect(noEvents);
        EXPECT_LT(GetTickCount() - start, 1000u);
        EXPECT_FALSE(net.StillBusy());
        forms::MessageLoop::RunUntil([] { return false; }, 100);
        EXPECT_EQ(events.errors, noEvents ? std::vector<std::int32_t>{} : std::vector<std::int32_t>{899});
        EXPECT_EQ(folder.Read("f.bin"), "old");
        EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"f.bin"});
    }
    server.Release();
}

TEST_F(clsInternetTest, GetString) {
    TestHttpServer server;
    server.Add("/body", Route::Text("306  273"));
    server.Add("/empty", Route::Text(""));
    server.Add("/blank", Route::Text(" "));
    server.Add("/missing", Route::Text("<html>404</html>", 404, "Not Found"));
    server.Add("/huge", Route::Generated(clsInternet::kMaxTextBytes + 1));
    Route hugeChunked = Route::Generated(clsInternet::kMaxTextBytes + 1);
    hugeChunked.chunked = true;
    server.Add("/hugechunked", hugeChunked);
    Route held = Route::Text("late");
    held.hold = true;
    server.Add("/held", held);
    struct Row {
        const char* path;
        std::string text;
        bool fail;
    };
    const Row rows[] = {
        {"/body", "306  273", false}, {"/empty", "", true},      {"/blank", " ", false},   {"/missing", "", true},
        {"/huge", "", true},          {"/hugechunked", "", true}, {"/held", "", true},
    };
    for (const auto& row : rows) {
        clsInternet net;
        Events events;
        events.Attach(net);
        bool fail = false;
        EXPECT_EQ(net.GetString(server.Base() + row.path, 2, fail), row.text) << row.path;
        EXPECT_EQ(fail, row.fail) << row.path;
        EXPECT_TRUE(events.log.empty()) << row.path;
    }
    server.Release();
}

TEST_F(clsInternetTest, PostSendsTheFormBody) {
    TestHttpServer server;
    server.Add("/cgi-bin/mail/formmail.pl", Route::Text("thanks"));
    server.Add("/fails", Route::Text("no", 500, "Internal Server Error"));
    clsInternet net;
    Events events;
    events.Attach(net);
    net.NoWrite = true;
    net.BinaryFile = "C:\\should-not-be-written.txt";
    const std::string body = net.MakeStandardFormData("Mr", "A&B", "C", "a@b.example", "s", "r", "m", "i", 46000.0,
                                                      "Unknown Locale", "d");
    EXPECT_EQ(body.substr(0, 41), "email=a%40b.example&Title=Mr&FirstName=A%");
    EXPECT_FALSE(net.Sendform(server.Base() + "/cgi-bin/mail/formmail.pl", body));
    ASSERT_TRUE(forms::MessageLoop::RunUntil([&] { return events.ended; }, 10000));
    EXPECT_EQ(Ending(events.log), (std::vector<std::string>{"Downloaded", "Disconnected"}));
    const auto req = server.Requests().at(0);
    EXPECT_EQ(req.method, "POST");
    EXPECT_EQ(req.body, body);
    EXPECT_EQ(req.headers.at("content-type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(GetFileAttributesA("C:\\should-not-be-written.txt"), INVALID_FILE_ATTRIBUTES);

    events = {};
    events.Attach(net);
    net.Sendform(server.Base() + "/fails", body);
    ASSERT_TRUE(forms::MessageLoop::RunUntil([&] { return events.ended; }, 10000));
    forms::MessageLoop::RunUntil([] { return false; }, 50);
    EXPECT_EQ(Ending(events.log), (std::vector<std::string>{"Error 500 Internal Server Error"}));

    try {
        net.Sendform(server.Base() + "/fails", "   ");
        ADD_FAILURE() << "blank data was sent";
    } catch (const forms::RuntimeError& e) {
        EXPECT_EQ(e.Number(), forms::ObjectError);
    }
    EXPECT_EQ(server.RequestCount(), 2u);
}

TEST_F(clsInternetTest, VersionScriptKeepsTheCallersValuesWhenNothingIsOffered) {
    clsInternet net;
    std::string shot = "s", web = "w", dl = "d", desc = "x", ver = "v", size = "z", updUrl, updSize;
    bool noUpdate = false;
    net.ProcessVersionScript("<maj>2</maj><min>3</min><rev>0</rev>~@796941@~{{http://a.example/b.exe}}", shot, web,
                             dl, desc, "2", "3", "0", ver, noUpdate, size, updUrl, updSize);
    EXPECT_TRUE(noUpdate);
    EXPECT_EQ(dl, "d");
    EXPECT_EQ(updSize, "796941");
}

}  // namespace
