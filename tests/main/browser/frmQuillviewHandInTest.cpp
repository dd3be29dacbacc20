// The main window's side of the single-instance hand-off, driven in this process.
#include "main/browser/frmQuillview.h"
#include "tests/main/EarlierStart.h"
#include "main/core/Module1.h"
#include "main/core/modInstances.h"
#include "platform/runtime/Answerer.h"
#include "platform/runtime/App.h"
#include "platform/runtime/ScriptedAnswerer.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/UserPaths.h"
#include "tests/lib/comserver/TestSupport.h"
#include "tests/main/TestBitmap.h"
#include "tests/support/Apartment.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

class HandIn : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(services_.Registered());
        picture_ = folder_ / "a b.bmp";
        ASSERT_TRUE(qvtest::WriteBitmap(picture_));
        Module1::gCommandLine.clear();
        qvtest::StoreAnEarlierStartOfThisVersion();
    }
    void TearDown() override {
        Window().Unload();
    }
    static frmQuillview& Window() { return forms::Default<frmQuillview>(); }

    static void Send(const std::string& bytes) {
        COPYDATASTRUCT record{0, static_cast<DWORD>(bytes.size()), const_cast<char*>(bytes.data())};
        SendMessageA(Window().hWnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record));
    }

    forms::ScriptedAnswerer answers_{[](const std::string& m) { ADD_FAILURE() << m; }};
    const forms::ScopedAnswerer answering_{answers_};
    const qvtest::TempFolder folder_;
    const forms::SettingsRootOverride settings_{std::string(forms::TestSettingsBase) + "HandIn"};
    const forms::UserPathsOverride paths_{std::nullopt, folder_ / "user"};
    const qvtest::Apartment apartment_;
    const testsupport::RegisteredServer services_{ORCMCLS_DLL};
    std::string picture_;
};

TEST_F(HandIn, TheLoadedWindowIsTheRunningInstance) {
    Window().Load();
    EXPECT_TRUE(modInstances::IsInstanceWindow(Window().hWnd()));
    EXPECT_TRUE(IsWindowVisible(Window().hWnd()));
}

TEST_F(HandIn, ThisStartsPictureIsChosenAtLoad) {
    Module1::gCommandLine = "\"" + picture_ + "\"";
    Window().Load();
    EXPECT_EQ(Window().Caption(), "Quillview - a b.bmp");
    EXPECT_EQ(Module1::gCommandLine, "\"" + picture_ + "\"") << "kept: it named a picture";
}

// The short (8.3) form of an existing path; "" when the volume keeps no short names for it.
std::string ShortName(const std::string& path) {
    char shortPath[MAX_PATH];
    const DWORD n = GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
    if (n == 0 || n >= sizeof shortPath || path == shortPath) return {};
    return shortPath;
}

// A name in this system's ANSI code page; "" when the code page cannot spell it.
std::string AnsiName(const wchar_t* name) {
    char bytes[MAX_PATH];
    BOOL lossy = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name, -1, bytes, sizeof bytes, nullptr, &lossy);
    if (n <= 0 || lossy) return {};
    return bytes;
}

std::vector<std::string> SelectedEntries(forms::FileListBox& list) {
    std::vector<std::string> names;
    for (int i = 0; i < list.ListCount(); ++i) {
        if (list.Selected(i)) names.push_back(list.List(i));
    }
    return names;
}

TEST_F(HandIn, ReceivedRecords) {
    const std::string longName = "a long picture name.bmp";
    ASSERT_TRUE(qvtest::WriteBitmap(folder_ / longName));
    ASSERT_TRUE(qvtest::WriteBitmap(folder_ / "c.bmp"));
    folder_.Write("notes.txt", "listed by no pattern");
    ASSERT_TRUE(CreateDirectoryA((folder_ / "album.bmp").c_str(), nullptr));
    const std::string shortName = ShortName(folder_ / longName);
    const std::string ansiName = AnsiName(L"caf\u00e9 \u00fc.bmp");
    const std::string ansiUpper = AnsiName(L"CAF\u00c9 \u00dc.BMP");
    if (!ansiName.empty()) ASSERT_TRUE(qvtest::WriteBitmap(folder_ / ansiName));

    const auto toTray = [](frmQuillview& w) {
        w.TrayIconEnabled = true;
        w.TrayIconMode = 0;
        w.SetWindowState(1);  // minimised: into the tray
        ASSERT_TRUE(w.morwen.Shown());
        ASSERT_FALSE(IsWindowVisible(w.hWnd()));
        w.mnuShowQV.SetCaption("Hide Quillview");  // as the tray menu last showed it
    };
    // The user picked two entries by hand; picking them loads nothing.
    const auto twoPicked = [this](frmQuillview& w) {
        w.File1.SetPath(folder_.Path());
        Module1::gSuppressFileClick = true;
        w.File1.SetSelected(0, true);
        w.File1.SetSelected(1, true);
        Module1::gSuppressFileClick = false;
        ASSERT_EQ(SelectedEntries(w.File1).size(), 2u);
    };
    const auto upper = [](std::string text) {
        CharUpperA(text.data());
        return text;
    };

    struct Case {
        const char* what;
        std::string bytes;
        std::vector<std::string> selected;  // the entries selected afterwards
        std::string shown;                  // the picture's name in the caption; "" for the logo
        bool commandLineKept;               // a record naming no picture clears this start's command line
        std::function<void(frmQuillview&)> before = {};
        bool possible = true;  // the volume keeps short names, the code page spells the name
    };
    const std::string none;
    const std::vector<Case> cases = {
        {"quoted, as a later start passes it on", "\"" + picture_ + "\"", {"a b.bmp"}, "a b.bmp", true},
        {"unquoted", picture_, {"a b.bmp"}, "a b.bmp", true},
        {"the short name of a long one", shortName, {longName}, longName, true, {}, !shortName.empty()},
        {"another letter case", upper(picture_), {"a b.bmp"}, "a b.bmp", true},
        {"a name in the ANSI code page", "\"" + (folder_ / ansiName) + "\"", {ansiName}, ansiName, true, {}, !ansiName.empty()},
        {"that name in another letter case", folder_ / ansiUpper, {ansiName}, ansiName, true, {},
         !ansiName.empty() && !ansiUpper.empty()},
        {"a file the pattern hides", folder_ / "notes.txt", {}, none, false},
        {"no such file", folder_ / "missing.jpg", {}, none, false},
        {"a folder", folder_.Path(), {}, none, false},
        {"a folder named like a picture", folder_ / "album.bmp", {}, none, false},
        {"two quotes only", "\"\"", {}, none, false},
        {"no bytes: only to the front", "", {}, none, true},
        {"one NUL to a window in the tray", std::string(1, '\0'), {}, none, true, toTray},
        {"a picture over two picked entries", folder_ / "c.bmp", {"c.bmp"}, "c.bmp", true, twoPicked},
        {"a missing file over two picked entries", folder_ / "missing.jpg", {}, none, false, twoPicked},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (!c.possible) continue;
        frmQuillview& w = Window();
        w.Load();
        if (c.before) c.before(w);
        Module1::gCommandLine = "start";
        Send(c.bytes);
        EXPECT_EQ(SelectedEntries(w.File1), c.selected);
        EXPECT_EQ(w.Caption(), "Quillview - " + (c.shown.empty() ? std::string("Vivid Imaging") : c.shown));
        EXPECT_EQ(Module1::gCommandLine, c.commandLineKept ? "start" : "");
        EXPECT_TRUE(w.Image1.Visible()) << "the view is never left blank";
        EXPECT_TRUE(IsWindowVisible(w.hWnd()));
        EXPECT_EQ(w.WindowState(), 0);
        w.Unload();
    }
}

// A window of this thread that hands in a record of its own when its posted message is dispatched: from
// inside the hand-in before it, whose steps process pending messages.
class NestedSender {
public:
    explicit NestedSender(std::function<void()> send) : send_(std::move(send)) {
        static const ATOM atom = [] {
            WNDCLASSA cls{};
            cls.lpfnWndProc = Proc;
            cls.hInstance = GetModuleHandleA(nullptr);
            cls.lpszClassName = "QuillviewNestedSender";
            return RegisterClassA(&cls);
        }();
        hwnd_ = CreateWindowExA(0, MAKEINTATOM(atom), "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        PostMessageA(hwnd_, WM_APP, 0, 0);
    }
    ~NestedSender() { DestroyWindow(hwnd_); }
    NestedSender(const NestedSender&) = delete;
    NestedSender& operator=(const NestedSender&) = delete;

    bool Sent() const noexcept { return sent_; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg != WM_APP) return DefWindowProcA(hwnd, msg, wParam, lParam);
        auto* self = reinterpret_cast<NestedSender*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        self->send_();
        self->sent_ = true;
        return 0;
    }
    std::function<void()> send_;
    HWND hwnd_ = nullptr;
    bool sent_ = false;
};

TEST_F(HandIn, AHandInArrivingInsideAnotherComesAfterIt) {
    ASSERT_TRUE(qvtest::WriteBitmap(folder_ / "c.bmp"));
    frmQuillview& w = Window();
    w.Load();
    std::string captionOnRelease;
    const NestedSender nested([&] {
        Send(folder_ / "c.bmp");
        captionOnRelease = w.Caption();
    });
    Send(picture_);
    ASSERT_TRUE(nested.Sent()) << "the second record came while the first was handled";
    EXPECT_EQ(captionOnRelease, "Quillview - Vivid Imaging") << "its sender is released before it is handled";
    EXPECT_EQ(w.Caption(), "Quillview - c.bmp") << "handled after the first";
    EXPECT_EQ(SelectedEntries(w.File1), std::vector<std::string>{"c.bmp"});
}

// Answers every box with OK and keeps its title, but its first box fails with an error of another kind than the
// runtime's, as a fault anywhere inside a step would.
class FaultAtFirstBox final : public forms::Answerer {
public:
    int MsgBox(const std::string&, int, const std::string& title) override {
        if (!failed_) {
            failed_ = true;
            throw std::logic_error("a fault inside the step");
        }
        titles_.push_back(title);
        return 1;
    }
    std::string InputBox(const std::string& prompt, const std::string&, const std::string&) override {
        ADD_FAILURE() << "unexpected input box: " << prompt;
        return {};
    }
    bool Failed() const noexcept { return failed_; }
    const std::vector<std::string>& Titles() const noexcept { return titles_; }

private:
    bool failed_ = false;
    std::vector<std::string> titles_;
};

TEST_F(HandIn, AStepFailingWithAnotherErrorIsReportedAndLaterHandInsStillShowTheirFile) {
    folder_.Write("broken.bmp", "no picture at all");
    frmQuillview& w = Window();
    w.Load();
    {
        FaultAtFirstBox fault;
        const forms::ScopedAnswerer answering(fault);
        Send(folder_ / "broken.bmp");
        ASSERT_TRUE(fault.Failed()) << "the refused picture's box came inside the hand-in";
        EXPECT_EQ(fault.Titles(), (std::vector<std::string>{"INSTERR45 - Instancing Error", "Error 51"}))
            << "reported as the runtime's internal error";
    }
    Send(picture_);
    EXPECT_EQ(w.Caption(), "Quillview - a b.bmp");
    EXPECT_EQ(SelectedEntries(w.File1), std::vector<std::string>{"a b.bmp"});
    EXPECT_TRUE(w.Image1.Visible());
}

}  // namespace
