// Program start as real processes: what a later start sends to the running instance, the running
// instance's side of the hand-off, and the refusal to run from a drive's root folder.
#include "main/core/modInstances.h"
#include "platform/runtime/CommandLine.h"
#include "tests/lib/comserver/TestSupport.h"
#include "tests/main/TestBitmap.h"
#include "tests/main/core/ProcessHarness.h"
#include "tests/support/Apartment.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

using qvtest::BoxText;
using qvtest::MarkedWindowOf;
using qvtest::Process;
using qvtest::ProgramFolder;
using qvtest::PumpUntil;

constexpr DWORD kStartMs = 30000;

// Holds the instance mutex and a marked window that records what reaches it, as the running program would.
class FakeRunningInstance {
public:
    std::vector<std::string> received;
    int restores = 0;

    explicit FakeRunningInstance(bool createWindow = true) {
        const HANDLE mutex = CreateMutexA(nullptr, TRUE, modInstances::kMutexName);
        EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS)) << "another instance is running";
        mutex_.reset(mutex);
        if (createWindow) CreateMarkedWindow();
    }
    ~FakeRunningInstance() {
        if (hwnd_) DestroyWindow(hwnd_);
    }
    FakeRunningInstance(const FakeRunningInstance&) = delete;
    FakeRunningInstance& operator=(const FakeRunningInstance&) = delete;

    void CreateMarkedWindow() {
        static const ATOM atom = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = &Proc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "QvFakeRunningInstance";
            return RegisterClassA(&wc);
        }();
        hwnd_ = CreateWindowExA(0, MAKEINTATOM(atom), "Quillview", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200, nullptr,
                                nullptr, GetModuleHandleA(nullptr), this);
        modInstances::MarkInstanceWindow(hwnd_);
    }
    HWND Window() const { return hwnd_; }

private:
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
        if (m == WM_NCCREATE) {
            SetWindowLongPtrA(h, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(l)->lpCreateParams));
        }
        auto* self = reinterpret_cast<FakeRunningInstance*>(GetWindowLongPtrA(h, GWLP_USERDATA));
        if (self && m == WM_COPYDATA) {
            const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(l);
            EXPECT_EQ(cds->dwData, 0u);
            EXPECT_EQ(w, 0u) << "no sender window is named";
            self->received.emplace_back(static_cast<const char*>(cds->lpData), cds->cbData);
            return 1;
        }
        if (self && m == WM_SYSCOMMAND && (w & 0xFFF0) == SC_RESTORE) ++self->restores;
        return DefWindowProcA(h, m, w, l);
    }

    forms::UniqueKernelHandle mutex_;
    HWND hwnd_ = nullptr;
};

struct HandOffCase {
    const char* name;
    const char* arguments;  // nullptr: no command line at all
    int show;               // how the running window is shown
    std::optional<std::string> expected;  // the record's bytes; nullopt: nothing sent
    int restores;
};

class LaterStart : public ::testing::TestWithParam<HandOffCase> {};

TEST_P(LaterStart, SendsItsCommandLineToTheRunningInstance) {
    const HandOffCase& c = GetParam();
    ProgramFolder folder;
    FakeRunningInstance running;
    ShowWindow(running.Window(), c.show);

    Process later(folder.Program(), c.arguments);
    // Both the hand-off and the restore are sent, not posted: they have arrived once the sender has ended, and
    // ending by itself shows that no message box of the later start waited for a person.
    ASSERT_TRUE(later.WaitForExit(kStartMs)) << "a later start ends by itself";
    EXPECT_EQ(later.ExitCode(), 0u) << "and not by a crash";

    if (c.expected) {
        ASSERT_EQ(running.received.size(), 1u);
        EXPECT_EQ(running.received[0], *c.expected);
    } else {
        EXPECT_TRUE(running.received.empty());
    }
    EXPECT_EQ(running.restores, c.restores);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LaterStart,
    ::testing::Values(
        HandOffCase{"Path", "C:\\pics\\a.jpg", SW_SHOW, std::string("C:\\pics\\a.jpg"), 0},
        HandOffCase{"QuotesAreNotRemoved", "\"C:\\pics\\a b.jpg\"", SW_SHOW, std::string("\"C:\\pics\\a b.jpg\""),
                    0},
        HandOffCase{"NonAsciiNameAsCodePageBytes", "C:\\Bilder\\Gr\xC3\xBC\xC3\x9F" "e.jpg", SW_SHOW,
                    std::string("C:\\Bilder\\Gr\xC3\xBC\xC3\x9F" "e.jpg"), 0},
        HandOffCase{"EmptyToHiddenWindowIsOneZeroByte", nullptr, SW_HIDE, std::string(1, '\0'), 0},
        HandOffCase{"EmptyToMinimisedWindowRestoresIt", nullptr, SW_SHOWMINNOACTIVE, std::nullopt, 1},
        HandOffCase{"EmptyToVisibleWindowSendsNothing", nullptr, SW_SHOW, std::nullopt, 0}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(LaterStartWaiting, WaitsForTheWindowOfAnInstanceStillStarting) {
    ProgramFolder folder;
    FakeRunningInstance running(false);
    const forms::UniqueKernelHandle waiting(CreateEventA(nullptr, TRUE, FALSE, modInstances::kWaitingEventName));
    ASSERT_TRUE(waiting);
    Process later(folder.Program(), "C:\\pics\\late.jpg");
    const forms::UniqueKernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, later.Id()));
    ASSERT_TRUE(process);
    // The running instance marks its window only after the later start has looked for it and found none.
    const HANDLE either[] = {waiting.get(), process.get()};
    ASSERT_EQ(WaitForMultipleObjects(2, either, FALSE, kStartMs), WAIT_OBJECT_0)
        << "the later start ended or hung before it began to wait";
    running.CreateMarkedWindow();
    ASSERT_TRUE(later.WaitForExit(kStartMs));
    ASSERT_EQ(running.received.size(), 1u) << "the later start gave up while the first instance was starting";
    EXPECT_EQ(running.received[0], "C:\\pics\\late.jpg");
}

// What a process left in the session while it ran, looked at until it ended by itself.
struct Traces {
    bool ended = false;
    bool markedWindow = false;
    bool mutex = false;
};

Traces WatchUntilExit(Process& p) {
    Traces seen;
    seen.ended = PumpUntil(
        [&] {
            seen.markedWindow = seen.markedWindow || MarkedWindowOf(p.Id()) != nullptr;
            const forms::UniqueKernelHandle mutex(OpenMutexA(SYNCHRONIZE, FALSE, modInstances::kMutexName));
            seen.mutex = seen.mutex || mutex;
            return p.WaitForExit(0);
        },
        kStartMs);
    return seen;
}

TEST(FirstInstance, ReceivesAHandOffAndGivesUpItsRoleWhenClosed) {
    // The running instance brings itself to the front through the system services library.
    const qvtest::Apartment apartment;
    const testsupport::RegisteredServer services(ORCMCLS_DLL);
    ASSERT_TRUE(services.Registered());
    ProgramFolder folder;
    const std::string picture = folder.File("some.bmp");
    ASSERT_TRUE(qvtest::WriteBitmap(picture));

    Process first(folder.Program(), nullptr);
    const HWND window = qvtest::WaitForMarkedWindow(first, kStartMs);
    ASSERT_NE(window, nullptr) << "the first instance marks its main window";
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(window) != FALSE; }, kStartMs));

    {
        Process later(folder.Program(), ("\"" + picture + "\"").c_str());
        ASSERT_TRUE(later.WaitForExit(kStartMs));
    }
    EXPECT_TRUE(PumpUntil([&] { return qvtest::WindowText(window) == "Quillview - some.bmp"; }, kStartMs))
        << "caption: " << qvtest::WindowText(window);

    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(first.WaitForExit(kStartMs)) << "closing the main window ends the program";

    Process next(folder.Program(), nullptr);
    const HWND again = qvtest::WaitForMarkedWindow(next, kStartMs);
    ASSERT_NE(again, nullptr) << "after the first instance closed, a new start is the first instance again";
    PostMessageA(again, WM_CLOSE, 0, 0);
    EXPECT_TRUE(next.WaitForExit(kStartMs));
}

TEST(FirstInstance, AFailedHandInStepIsReportedAndTheHandInGoesOn) {
    // Without the system services library the step that brings the window to the front fails (429).
    const testsupport::ServerModule services(ORCMCLS_DLL);
    services.Call("DllUnregisterServer");
    ProgramFolder folder;
    const std::string picture = folder.File("shown.bmp");
    ASSERT_TRUE(qvtest::WriteBitmap(picture));
    Process first(folder.Program(), nullptr);
    const HWND window = qvtest::WaitForMarkedWindow(first, kStartMs);
    ASSERT_NE(window, nullptr);

    Process later(folder.Program(), picture.c_str());
    const HWND report = qvtest::WaitForBox(first, "INSTERR45 - Instancing Error", kStartMs);
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(BoxText(report),
              "An error has occured in reactivating Quillview after a command line was passed from another "
              "instance (of Quillview). You are encouraged to report this error to support@quillview.example\r\n"
              "If you report the error, in your email please quote 'INSTERR45' as the reference code AND the error "
              "number which is 429. We'd appreciate your report!");
    PostMessageA(report, WM_COMMAND, IDOK, 0);
    const HWND detail = qvtest::WaitForBox(first, "Error 429", kStartMs);
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(BoxText(detail).rfind("Error description: ", 0), 0u) << BoxText(detail);
    PostMessageA(detail, WM_COMMAND, IDOK, 0);

    EXPECT_TRUE(PumpUntil([&] { return qvtest::WindowText(window) == "Quillview - shown.bmp"; }, kStartMs))
        << "the picture is still chosen after the failed step";
    EXPECT_TRUE(later.WaitForExit(kStartMs));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(first.WaitForExit(kStartMs));
}

TEST(FirstInstance, RefusesToRunFromADriveRoot) {
    ProgramFolder root("C:\\");
    Process p(root.Program(), nullptr);
    HWND box = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (box = qvtest::FindProcessWindow(p.Id(), "#32770")) != nullptr; }, kStartMs));
    EXPECT_EQ(qvtest::WindowText(box), "Quillview");
    EXPECT_EQ(BoxText(box), "Quillview cannot be run from a root directory! Please install to a deeper directory.");
    EXPECT_EQ(MarkedWindowOf(p.Id()), nullptr);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    const Traces seen = WatchUntilExit(p);
    EXPECT_TRUE(seen.ended);
    EXPECT_FALSE(seen.markedWindow) << "no main window is ever shown";
}

TEST(StartMode, TheSystemsActivationSwitchesMeanAnAutomationStart) {
    struct Case {
        const char* command;
        forms::StartMode mode;
    };
    const Case cases[] = {
        {"-Embedding", forms::StartMode::Automation},
        {"/Automation", forms::StartMode::Automation},
        {"/embedding", forms::StartMode::Automation},
        {"-AUTOMATION -x", forms::StartMode::Automation},
        {"", forms::StartMode::Standalone},
        {"-Embeddings", forms::StartMode::Standalone},
        {"\"-Embedding\"", forms::StartMode::Standalone},
        {"C:\\pics\\-Embedding", forms::StartMode::Standalone},
        {"a.jpg -Embedding", forms::StartMode::Standalone},
    };
    for (const Case& c : cases) EXPECT_EQ(forms::StartModeOf(c.command), c.mode) << c.command;
}

class AutomationStart : public ::testing::TestWithParam<const char*> {};

TEST_P(AutomationStart, EndsWithoutMutexWindowOrHandOff) {
    ProgramFolder folder;
    {
        // A user's start would hand its command line to the running instance.
        FakeRunningInstance running;
        ShowWindow(running.Window(), SW_SHOW);
        Process p(folder.Program(), GetParam());
        ASSERT_TRUE(p.WaitForExit(kStartMs));
        EXPECT_EQ(p.ExitCode(), 0u);
        EXPECT_TRUE(running.received.empty());
        EXPECT_EQ(running.restores, 0);
    }
    // A user's first start would take the mutex and stay with its window.
    Process p(folder.Program(), GetParam());
    const Traces seen = WatchUntilExit(p);
    EXPECT_TRUE(seen.ended) << "an automation start ends by itself";
    EXPECT_EQ(p.ExitCode(), 0u);
    EXPECT_FALSE(seen.mutex);
    EXPECT_FALSE(seen.markedWindow);
}

INSTANTIATE_TEST_SUITE_P(Switches, AutomationStart, ::testing::Values("-Embedding", "/Automation"),
                         [](const auto& param) { return std::string(param.param).substr(1); });

}  // namespace
