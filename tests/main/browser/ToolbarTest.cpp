// The toolbar's buttons on the real main window.
#include "tests/main/browser/MenusFixture.h"

#include "main/browser/FileSelection.h"
#include "main/core/clsIface.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Paths.h"

#include <algorithm>
#include <cstdlib>

namespace {

using menustest::Menus;

TEST_F(Menus, BackAndForwardWrapAndStartFromTheEndsWithoutACurrentEntry) {
    struct Case {
        int current;  // -1: none
        int button;
        const char* shown;
    };
    const Case cases[] = {
        {0, 0, "c.bmp"}, {1, 0, "a.bmp"}, {2, 1, "a.bmp"}, {1, 1, "c.bmp"}, {-1, 0, "c.bmp"}, {-1, 1, "a.bmp"},
    };
    auto& w = Window();
    ASSERT_EQ(w.File1.ListCount(), 3);
    for (const Case& c : cases) {
        {
            const browser::SuppressFileClick quiet;
            for (int i = 0; i < 3; ++i) w.File1.SetSelected(i, false);
        }
        browser::DeselectFile(w.File1);
        if (c.current >= 0) Choose(c.current);
        w.Toolbar_Click(c.button);
        EXPECT_EQ(w.Caption(), std::string("Quillview - ") + c.shown) << c.current << " " << c.button;
        EXPECT_EQ(w.File1.FileName(), c.shown);
        EXPECT_EQ(w.File1.SelCount(), 1) << "the entry left is no longer selected";
    }
}

TEST_F(Menus, BackAndForwardOnAnEmptyListDoNothing) {
    auto& w = Window();
    w.File1.SetPattern("*.none");
    ASSERT_EQ(w.File1.ListCount(), 0);
    w.Toolbar_Click(0);
    w.Toolbar_Click(1);
    EXPECT_EQ(w.File1.ListIndex(), -1);
    EXPECT_EQ(answers_.Seen().size(), 0u);
}

TEST_F(Menus, GoHomeGoesToTheStartFolderElseTheRootOfTheProgramsDrive) {
    auto& w = Window();
    const std::string deeper = folder_ / "deeper";
    CreateDirectoryA(deeper.c_str(), nullptr);

    w.Dir1.SetPath(deeper);
    w.Toolbar_Click(2);
    EXPECT_EQ(w.Dir1.Path(), forms::RootOf(program_)) << "not the folder last shown on that drive";

    forms::SaveSetting("Quillview2", "Interface", "Startdir", deeper);
    w.Dir1.SetPath(folder_.Path());
    w.Toolbar_Click(2);
    EXPECT_EQ(w.Dir1.Path(), deeper);
}

TEST_F(Menus, GoHomeToAFolderThatIsGoneSaysSoAndStaysWhereItWas) {
    auto& w = Window();
    forms::SaveSetting("Quillview2", "Interface", "Startdir", folder_ / "gone");
    int number = 0;
    try {
        w.Dir1.SetPath(folder_ / "gone");
    } catch (const forms::RuntimeError& e) {
        number = e.Number();
    }
    ASSERT_NE(number, 0) << "a missing folder is refused by the folder list";
    const std::string expectedText = forms::RuntimeError(number).Description();
    answers_.ExpectMsgBox(expectedText, forms::mb::Critical, "A Critical Error Occured: Number: " + std::to_string(number),
                          forms::answer::Ok);
    w.Toolbar_Click(2);
    EXPECT_EQ(w.Dir1.Path(), folder_.Path());
    EXPECT_EQ(answers_.Remaining(), 0u);
}

TEST_F(Menus, RefreshRereadsTheListAndShowsTheSameFileAgain) {
    auto& w = Window();
    Choose(1);  // b.bmp
    ASSERT_TRUE(qvtest::WriteBitmap(folder_ / "a0.bmp"));
    w.Toolbar_Click(3);
    EXPECT_EQ(w.File1.ListCount(), 4);
    EXPECT_EQ(w.File1.FileName(), "b.bmp") << "the file, not the place it had";
    EXPECT_EQ(w.Caption(), "Quillview - b.bmp");
}

TEST_F(Menus, RefreshLeavesTheLogoAndAnUnsavedPictureAlone) {
    auto& w = Window();
    struct Case {
        const char* name;
        bool logo;
        bool saved;
    };
    for (const Case& c : {Case{"logo", true, true}, Case{"unsaved", false, false}}) {
        w.File1.Refresh();
        if (c.logo) {
            w.ShowLogo();
        } else {
            Choose(0);
        }
        Module1::gImageSaved = c.saved;
        const int before = w.File1.ListCount();
        const std::string extra = folder_ / (std::string("new ") + c.name + ".bmp");
        ASSERT_TRUE(qvtest::WriteBitmap(extra));
        w.Toolbar_Click(3);
        EXPECT_EQ(w.File1.ListCount(), before) << c.name;
        Module1::gImageSaved = true;
    }
}

TEST_F(Menus, RefreshRetilesATiledPictureEvenUnsaved) {
    auto& w = Window();
    ASSERT_TRUE(qvtest::WriteBitmap(folder_ / "a.bmp", 4, 3, 0x00FF00));
    Choose(0);
    w.TilePic_Click();
    ASSERT_TRUE(w.Tiled());
    Module1::gImageSaved = false;
    const auto farPixel = [&] { return GetPixel(w.Picture1.hDC(), 41, 31); };
    ASSERT_EQ(farPixel(), RGB(0, 255, 0)) << "tiled over the area";
    w.Picture1.Cls();
    ASSERT_NE(farPixel(), RGB(0, 255, 0));
    w.Toolbar_Click(3);
    EXPECT_EQ(farPixel(), RGB(0, 255, 0));
    EXPECT_TRUE(w.Tiled());
}

TEST_F(Menus, DirectoriesToggleSwitchesThePanelAndListsOnlyCompleteFavourites) {
    auto& w = Window();
    ASSERT_TRUE(w.mInterface);
    w.mInterface->SetBrowserMode(1);
    w.mnuFav1(0).SetCaption("Pictures");
    w.mnuFav1(0).SetTag(folder_.Path());
    w.mnuFav1.Load(1);
    w.mnuFav1(1).SetCaption("");
    w.mnuFav1(1).SetTag(folder_.Path());
    w.mnuFav1.Load(2);
    w.mnuFav1(2).SetCaption("No folder");
    w.mnuFav1(2).SetTag("");
    w.mnuFav1.Load(3);
    w.mnuFav1(3).SetCaption("Home");
    w.mnuFav1(3).SetTag(program_);

    w.Toolbar_Click(4);
    EXPECT_EQ(w.mInterface->BrowserMode(), 0);
    ASSERT_EQ(w.FavList.ListCount(), 2);
    EXPECT_EQ(w.FavList.List(0), "Pictures");
    EXPECT_EQ(w.FavList.List(1), "Home");
    EXPECT_EQ(w.lblBTCap.Caption(), "Favorites");
    EXPECT_TRUE(w.FavList.Visible());
    EXPECT_TRUE(w.imgBrowserTools(1).Visible());
    EXPECT_FALSE(w.imgBrowserTools(0).Visible());

    w.Toolbar_Click(4);
    EXPECT_EQ(w.mInterface->BrowserMode(), 1);
    EXPECT_EQ(w.lblBTCap.Caption(), "Directories");
    EXPECT_FALSE(w.FavList.Visible());
    EXPECT_TRUE(w.imgBrowserTools(0).Visible());
    EXPECT_FALSE(w.imgBrowserTools(1).Visible());
}

TEST_F(Menus, DisplayModeToggleLeavesTileModeFirstThenSwitches) {
    auto& w = Window();
    Choose(0);
    w.DisplayMode_ = 101;
    w.TilePic_Click();
    ASSERT_TRUE(w.Tiled());
    w.Toolbar_Click(6);
    EXPECT_FALSE(w.Tiled());
    EXPECT_EQ(w.DisplayMode(), 102);
    EXPECT_EQ(w.SB1.PanelText("mode"), "Mode: Best Fit");
    w.Toolbar_Click(6);
    EXPECT_EQ(w.DisplayMode(), 101);
    EXPECT_EQ(w.SB1.PanelText("mode"), "Mode: Actual Size");
}

// A list longer than an entry number reaches (32767): stepping past that number ends in the toolbar's
// overflow box, with its own text and title, and nothing else changes.
TEST_F(Menus, SteppingPastTheLastEntryNumberSaysThePictureIsTooLarge) {
    // A folder of 32769 empty picture files, made before the test from outside Wine, where made one by one they
    // take minutes.
    const char* made = std::getenv("QV_MANY_FILES");
    ASSERT_NE(made, nullptr) << "QV_MANY_FILES is not set";
    std::string many = std::string("Z:") + made;
    std::replace(many.begin(), many.end(), '/', '\\');
    constexpr int kCount = 32769;
    auto& w = Window();
    w.Dir1.SetPath(many);
    ASSERT_EQ(w.File1.ListCount(), kCount);
    struct Case {
        const char* what;
        int current;  // -1: none
        int button;
    };
    const Case cases[] = {
        {"Back without a current entry: to the last", -1, 0},
        {"Forward from entry 32767", 32767, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        {
            const browser::SuppressFileClick quiet;
            w.File1.SetListIndex(c.current);
        }
        const std::string caption = w.Caption();
        answers_.ExpectMsgBox("Sorry, the image you are trying to view is too large!", forms::mb::OkOnly,
                              "Quillview Error", forms::answer::Ok);
        w.Toolbar_Click(c.button);
        EXPECT_EQ(answers_.Remaining(), 0u);
        EXPECT_EQ(w.Caption(), caption) << "no picture loaded";
        EXPECT_EQ(Module1::gCurrentImagePath, "");
    }
}

TEST_F(Menus, IndexesOutsideTheToolbarDoNothing) {
    auto& w = Window();
    Choose(0);
    for (const int index : {-1, 10, 32767}) w.Toolbar_Click(index);
    EXPECT_EQ(w.File1.FileName(), "a.bmp");
    EXPECT_EQ(answers_.Seen().size(), 0u);
}

}  // namespace
