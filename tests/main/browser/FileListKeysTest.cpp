// The keys and the file buttons of the file list on the real window in front: Del, Home and the four buttons
// beside the list, pressed through the system, on real folders and the shell's own questions.
#include "main/browser/frmQuillview.h"
#include "main/core/Module1.h"
#include "platform/runtime/Paths.h"
#include "tests/main/browser/FileCommandsFixture.h"
#include "tests/platform/forms/InputSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace filecommands;
using formstest::PumpUntil;

// Counts the releases of a key that reach this thread's queue, in whatever loop takes them: the press before
// a release has been handled by then. Synthesized keys go round the display server, so a key's effect (or its
// having none) is looked at only once the key has come.
class KeyReleases {
public:
    explicit KeyReleases(WORD key) : hook_(SetWindowsHookExA(WH_GETMESSAGE, &Seen, nullptr, GetCurrentThreadId())) {
        watched_ = key;
        count_ = 0;
    }
    ~KeyReleases() {
        if (hook_) UnhookWindowsHookEx(hook_);
    }
    KeyReleases(const KeyReleases&) = delete;
    KeyReleases& operator=(const KeyReleases&) = delete;
    int Count() const { return count_; }

private:
    static LRESULT CALLBACK Seen(int code, WPARAM removed, LPARAM message) {
        const auto* msg = reinterpret_cast<const MSG*>(message);
        if (code == HC_ACTION && removed == PM_REMOVE && msg->message == WM_KEYUP && msg->wParam == watched_) ++count_;
        return CallNextHookEx(nullptr, code, removed, message);
    }
    static inline WORD watched_ = 0;
    static inline int count_ = 0;
    HHOOK hook_;
};

// Presses a key in the window in front and pumps until its release has come.
bool PressKey(WORD key) {
    const KeyReleases released(key);
    formstest::KeyPress(key);
    return PumpUntil([&] { return released.Count() > 0; }, 5000);
}

class FileListKeys : public FileCommandsTest {
protected:
    void SetUp() override {
        FileCommandsTest::SetUp();
        if (HasFatalFailure()) return;
        forms::DeleteSetting("Quillview2", "Options", "recyc");
        Window().Move(600, 600, 12000, 9000);
        Window().Show();
        ASSERT_TRUE(InFront());
    }
    static bool InFront() {
        const HWND w = Window().hWnd();
        SetWindowPos(w, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetForegroundWindow(w);
        return PumpUntil([&] { return GetForegroundWindow() == w; }, 3000);
    }
    static std::vector<std::string> Files(const std::string& folder) {
        std::vector<std::string> names = FilesIn(folder);
        std::sort(names.begin(), names.end());
        return names;
    }
    // The command started by the input is over: the window is enabled again and no dialog of it is up.
    static bool Settled() { return Window().Enabled() && !DialogDriver::ThreadDialog(); }
};

// Del deletes the picture shown, wherever the focus is in the window, after the shell's one question; without
// a picture of a file it does nothing.
TEST_F(FileListKeys, DelDeletesTheShownFileOnceAfterOneQuestion) {
    struct Row {
        const char* what;
        bool logo;            // the picture closed before the key
        bool focusOnTheView;  // else on the file list
        std::vector<std::string> left;
    };
    const Row rows[] = {
        {"in the file list", false, false, {"a.bmp", "c.bmp"}},
        {"on the view", false, true, {"a.bmp", "c.bmp"}},
        {"no picture shown", true, false, {"a.bmp", "b.bmp", "c.bmp"}},
    };
    int number = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string pics = Folder("del" + std::to_string(++number), {"a.bmp", "b.bmp", "c.bmp"});
        GoTo(pics);
        Window().File1.SetListIndex(1);
        ASSERT_EQ(forms::FileNameOf(Module1::gCurrentImagePath), "b.bmp");
        if (row.logo) Window().mnuClose_Click();
        forms::Control& focus = row.focusOnTheView ? static_cast<forms::Control&>(Window().Picture1)
                                                   : static_cast<forms::Control&>(Window().File1);
        focus.SetFocus();
        ASSERT_TRUE(PumpUntil([&] { return GetFocus() == focus.hWnd(); }));
        const bool asks = !row.logo;
        const DialogScript shell({Press(IDYES)}, Window().hWnd(), 10000);
        ASSERT_TRUE(PressKey(VK_DELETE));
        ASSERT_TRUE(PumpUntil([&] { return Files(pics) == row.left && Settled(); }, 10000));
        formstest::PumpPosted();
        EXPECT_EQ(shell.Answered().size(), asks ? 1u : 0u);
        EXPECT_EQ(shell.Unexpected(), std::vector<std::string>{}) << "a second question";
        EXPECT_EQ(Files(pics), row.left);
        EXPECT_EQ(answers_.Remaining(), 0u);
    }
}

// Home goes to the start folder from the file list and from the view alike.
TEST_F(FileListKeys, HomeGoesToTheStartFolder) {
    const std::string home = Folder("home", {"h1.bmp", "h2.bmp"});
    const std::string pics = Folder("pics", {"a.bmp", "b.bmp"});
    forms::SaveSetting("Quillview2", "Interface", "Startdir", home);
    struct Row {
        const char* what;
        bool focusOnTheView;
    };
    for (const Row& row : {Row{"in the file list", false}, Row{"on the view", true}}) {
        SCOPED_TRACE(row.what);
        GoTo(pics);
        Window().File1.SetListIndex(1);
        forms::Control& focus = row.focusOnTheView ? static_cast<forms::Control&>(Window().Picture1)
                                                   : static_cast<forms::Control&>(Window().File1);
        focus.SetFocus();
        ASSERT_TRUE(PumpUntil([&] { return GetFocus() == focus.hWnd(); }));
        ASSERT_TRUE(PressKey(VK_HOME));
        EXPECT_TRUE(PumpUntil([&] { return Window().Dir1.Path() == home && Settled(); }));
        formstest::PumpPosted();
        EXPECT_EQ(Window().File1.Path(), home);
        EXPECT_EQ(Window().File1.ListCount(), 2);
        EXPECT_EQ(Files(pics), (std::vector<std::string>{"a.bmp", "b.bmp"}));
        EXPECT_EQ(answers_.Remaining(), 0u);
    }
}

// The four buttons beside the file list, clicked: Delete, Copy, Move and Rename File on the picture shown;
// once no picture of a file is left, the buttons are off.
TEST_F(FileListKeys, TheFileButtonsRunTheFileCommands) {
    struct Row {
        const char* what;
        int button;
        std::vector<std::string> files;
        std::vector<std::string> left;     // in the folder shown, afterwards
        std::vector<std::string> inDst;    // in the destination folder
        bool buttonsOn;
    };
    const Row rows[] = {
        {"Delete File", 0, {"a.bmp", "b.bmp"}, {"a.bmp"}, {}, true},
        {"Copy File", 1, {"a.bmp", "b.bmp"}, {"a.bmp", "b.bmp"}, {"b.bmp"}, true},
        {"Move File", 2, {"a.bmp", "b.bmp"}, {"a.bmp"}, {"b.bmp"}, false},
        {"Rename File", 3, {"a.bmp", "b.bmp"}, {"a.bmp", "renamed.bmp"}, {}, true},
        {"Delete File on the last file", 0, {"b.bmp"}, {}, {}, false},
    };
    int number = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const auto [pics, dst] = MakeRowFolders("button" + std::to_string(++number), row.files);
        GoTo(pics);
        Window().File1.SetListIndex(static_cast<int>(row.files.size()) - 1);  // b.bmp
        ASSERT_EQ(forms::FileNameOf(Module1::gCurrentImagePath), "b.bmp");
        ASSERT_TRUE(Window().Fbts(row.button).Enabled());
        if (row.button == 1 || row.button == 2) ChooseInBrowser(dst);
        if (row.button == 3) {
            answers_.ExpectInputBox("Please type a new name for b.bmp below.", "Rename File", "b.bmp", "renamed");
        }
        // Only the deletion asks; any other question of the shell is cancelled and seen.
        const DialogScript shell(row.button == 0 ? std::vector<DialogDriver::Action>{Press(IDYES)}
                                                 : std::vector<DialogDriver::Action>{},
                                 Window().hWnd(), 10000);
        RECT box{};
        GetClientRect(Window().Fbts(row.button).hWnd(), &box);
        const POINT at = formstest::ScreenPoint(Window().Fbts(row.button).hWnd(), box.right / 2, box.bottom / 2);
        formstest::LeftDown(at);
        formstest::LeftUp(at);
        EXPECT_TRUE(PumpUntil([&] { return Files(pics) == row.left && Files(dst) == row.inDst && Settled(); }, 15000));
        formstest::PumpPosted();
        EXPECT_EQ(Files(pics), row.left);
        EXPECT_EQ(Files(dst), row.inDst);
        EXPECT_EQ(shell.Answered().size(), row.button == 0 ? 1u : 0u);
        EXPECT_EQ(shell.Unexpected(), std::vector<std::string>{});
        EXPECT_EQ(answers_.Remaining(), 0u);
        for (int i = 0; i <= 3; ++i) EXPECT_EQ(Window().Fbts(i).Enabled(), row.buttonsOn) << i;
    }
}

}  // namespace
