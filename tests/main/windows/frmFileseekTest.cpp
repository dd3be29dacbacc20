// The floating Fileseek window over a host window that stands in for the main window's file list and its
// Fileseek results list: searching through real focus changes and keys, picking, Backspace, resizing.
#include "main/core/MainWindowView.h"
#include "main/core/Module1.h"
#include "main/windows/frmFileseek.h"
#include "platform/forms/Form.h"
#include "platform/forms/Screen.h"
#include "platform/forms/controls/FileListBox.h"
#include "platform/forms/controls/ListBox.h"
#include "tests/platform/forms/FormsTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

using formstest::PumpUntil;

class frmHost : public forms::Form, public Module1::MainWindowView {
public:
    frmHost() : Form({.Caption = "Host", .Width = 6000, .Height = 4000}) {
        File1.Click = [this] {
            if (Module1::gSuppressFileClick) return;
            ++clicks;
            selectedAtClick = Selection();
        };
    }
    forms::FileListBox File1{*this, "File1", {120, 120, 2400, 3000}, {.MultiSelect = forms::multiselect::Extended}};
    forms::ListBox List1{*this, "List1", {2700, 120, 2400, 3000}, {.Appearance = forms::appearance::Flat}};

    forms::ControlArray<forms::Menu>& FavouritesMenu() override { return mnuFav1; }
    forms::FileListBox& FileList() override { return File1; }
    forms::ListBox& FileseekResults() override { return List1; }

    std::vector<int> Selection() const {
        std::vector<int> on;
        for (int i = 0; i < File1.ListCount(); ++i)
            if (File1.Selected(i)) on.push_back(i);
        return on;
    }

    int clicks = 0;
    std::vector<int> selectedAtClick;

private:
    forms::Menu mnuFav{*this, "mnuFav", {.Caption = "F&avourites"}};
    forms::ControlArray<forms::Menu> mnuFav1{mnuFav, "mnuFav1", {{0, {.Caption = "No Favourites"}}}};
};

class Fileseek : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"a.jpg", "B.JPG", "c.png", "dsc01.jpg", "DSC02.JPG", "notes.txt"})
            folder.Write(name, "x");
        host.Show();
        host.File1.SetPath(folder.Path());
        seek.Show(forms::ShowMode::Modeless, &host);
        SetForegroundWindow(seek.hWnd());
        ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == seek.hWnd(); }));
    }
    void TearDown() override {
        seek.Unload();
        host.Unload();
    }

    // Types text into the box and presses Enter in it, as the user does; the search runs as the box
    // loses the focus to the results.
    void Search(const std::string& text) {
        seek.Text1.SetFocus();
        seek.Text1.SetText(text);
        SendMessageA(seek.Text1.hWnd(), WM_CHAR, VK_RETURN, 0);
        ASSERT_EQ(GetFocus(), seek.List1.hWnd()) << "Enter moves to the results";
    }
    std::vector<std::string> Results() const {
        std::vector<std::string> names;
        for (int i = 0; i < seek.List1.ListCount(); ++i) names.push_back(seek.List1.List(i));
        return names;
    }
    int Entry(const char* name) const { return fileseek::FindEntry(host.File1, name); }

    qvtest::TempFolder folder;
    frmHost host;
    Module1::ScopedMainWindowView view{host};
    frmFileseek& seek = forms::Default<frmFileseek>();
};

TEST_F(Fileseek, ListsTheFilesHoldingTheTextInFileListOrder) {
    struct Row {
        const char* text;
        std::vector<std::string> found;
    };
    const Row rows[] = {
        {"JPG", {"a.jpg", "B.JPG", "dsc01.jpg", "DSC02.JPG"}},
        {"dsc", {"dsc01.jpg", "DSC02.JPG"}},
        {"c.PNG", {"c.png"}},
        {"", {}},
        // The prompt is searched like any other text.
        {"Enter search here", {}},
        {"zzz", {}},
    };
    // One row after another on the same window: each search shows only its own results.
    for (const Row& row : rows) {
        Search(row.text);
        EXPECT_EQ(Results(), row.found) << row.text;
        for (int i = 0; i < seek.List1.ListCount(); ++i)
            EXPECT_EQ(seek.List1.ItemData(i), Entry(seek.List1.List(i).c_str())) << row.text;
    }
}

TEST_F(Fileseek, TheBoxSelectsItsTextAndEmptiesTheResultsWhenItTakesTheFocus) {
    Search("jpg");
    ASSERT_FALSE(Results().empty());
    seek.Text1.SetFocus();
    EXPECT_TRUE(Results().empty());
    EXPECT_EQ(seek.Text1.SelStart(), 0);
    EXPECT_EQ(seek.Text1.SelLength(), 3);
}

TEST_F(Fileseek, APickLeavesExactlyThatFileSelectedAndCurrent) {
    host.File1.SetSelected(0, true);
    host.File1.SetSelected(4, true);
    host.File1.SetListIndex(Entry("DSC02.JPG"));
    host.clicks = 0;
    struct Row {
        const char* text;
        const char* pick;
    };
    // The last row picks the entry that is already current: it is chosen again all the same.
    for (const Row& row : {Row{"jpg", "B.JPG"}, Row{"dsc", "dsc01.jpg"}, Row{"dsc01", "dsc01.jpg"}}) {
        Search(row.text);
        const int before = host.clicks;
        const int result = [&] {
            for (int i = 0; i < seek.List1.ListCount(); ++i)
                if (seek.List1.List(i) == row.pick) return i;
            return -1;
        }();
        ASSERT_GE(result, 0) << row.pick;
        seek.List1.SetListIndex(result);
        const int entry = Entry(row.pick);
        EXPECT_EQ(host.File1.ListIndex(), entry) << row.pick;
        EXPECT_EQ(host.Selection(), std::vector<int>{entry}) << row.pick;
        EXPECT_EQ(host.clicks, before + 1) << row.pick << ": the main window sees one click";
        EXPECT_EQ(host.selectedAtClick, std::vector<int>{entry}) << row.pick;
        EXPECT_FALSE(Module1::gSuppressFileClick);
    }
}

TEST_F(Fileseek, APickAfterTheFolderChangedFollowsTheNameNotTheOldPlace) {
    Search("dsc");
    ASSERT_EQ(Results(), (std::vector<std::string>{"dsc01.jpg", "DSC02.JPG"}));
    // A new file ahead of both, and the first result gone.
    folder.Write("aa.jpg", "x");
    ASSERT_TRUE(DeleteFileA((folder / "dsc01.jpg").c_str()));
    host.File1.Refresh();
    host.File1.SetListIndex(0);
    host.clicks = 0;

    seek.List1.SetListIndex(0);  // dsc01.jpg: gone
    EXPECT_EQ(host.clicks, 0);
    EXPECT_EQ(host.File1.ListIndex(), 0) << "nothing changes in the main window";
    EXPECT_EQ(host.Selection(), std::vector<int>{0});

    seek.List1.SetListIndex(1);  // DSC02.JPG, one place further down than at the search
    EXPECT_EQ(host.clicks, 1);
    EXPECT_EQ(host.File1.Text(), "DSC02.JPG");
    EXPECT_EQ(host.Selection(), std::vector<int>{host.File1.ListIndex()});
}

TEST_F(Fileseek, BackspaceInTheResultsClearsTheBoxForANewSearch) {
    Search("jpg");
    ASSERT_FALSE(Results().empty());
    SendMessageA(seek.List1.hWnd(), WM_CHAR, VK_BACK, 0);
    // Read before pumping: another program's window coming to the front would take the focus from the box
    // and search again.
    EXPECT_EQ(GetFocus(), seek.Text1.hWnd());
    EXPECT_TRUE(Results().empty());
    EXPECT_TRUE(PumpUntil([&] { return seek.Text1.Text().empty(); }, 2000)) << seek.Text1.Text();
}

TEST_F(Fileseek, CopiesTheResultListsLookAndHoldsNoDialogOpen) {
    EXPECT_EQ(seek.List1.Appearance(), forms::appearance::Flat);
    EXPECT_FALSE(Module1::DialogOpen());
    EXPECT_EQ(GetWindow(seek.hWnd(), GW_OWNER), host.hWnd());
    EXPECT_EQ(seek.Caption(), "Fileseek");
    RECT client{};
    GetClientRect(seek.hWnd(), &client);
    const float tppx = forms::Screen().TwipsPerPixelX();
    EXPECT_NEAR(client.right * tppx, 2055, tppx);
}

TEST_F(Fileseek, ResizingFollowsTheWindowAndAWindowTooSmallKeepsTheLastSizes) {
    seek.Move(seek.Left(), seek.Top(), 4000, 5000);
    EXPECT_FLOAT_EQ(seek.List1.Width(), 4000 - 270);
    EXPECT_FLOAT_EQ(seek.List1.Height(), 5000 - 790);
    EXPECT_FLOAT_EQ(seek.Text1.Width(), 4000 - 270);
    // Smaller than the margins: the sizes the rule cannot give are left as they were, and nothing is raised.
    seek.Move(seek.Left(), seek.Top(), 3000, 600);
    EXPECT_FLOAT_EQ(seek.List1.Width(), 3000 - 270);
    EXPECT_FLOAT_EQ(seek.List1.Height(), 5000 - 790);
}

}  // namespace
