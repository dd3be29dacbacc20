// The favourites editor over the real store: shown modally without owner, driven from inside its loop.
#include "main/core/Module1.h"
#include "main/settings/frmFavEd.h"
#include "tests/main/core/CoreFixture.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using coretest::MenuItem;
using formstest::Later;
using forms::answer::No;
using forms::answer::Ok;
using forms::answer::Yes;

constexpr char kConfirm[] = "This action cannot be undone, are you sure you wish to delete the favourite?";
constexpr char kInvalid[] = "This favourite is invalid, delete it?";
constexpr char kRenamePrompt[] = "Please input a new name for this favourite.";

class FavEd : public coretest::CoreTest {
protected:
    FavEd() {
        Module1::gAmericanSpelling = false;
        Form().Show();
    }
    ~FavEd() override {
        Editor().Unload();
        forms::ReleaseDefault<frmFavEd>();
        Module1::gAmericanSpelling = false;
    }
    static frmFavEd& Editor() { return forms::Default<frmFavEd>(); }

    // Favourites 1..n in the store, the menu rebuilt from it.
    static void Favourites(const std::vector<MenuItem>& items) {
        forms::DeleteSetting("Quillview2", "Favs");
        for (std::size_t n = 1; n <= items.size(); ++n) {
            forms::SaveSetting("Quillview2", "Favs", "favn" + std::to_string(n), items[n - 1].caption);
            forms::SaveSetting("Quillview2", "Favs", "fava" + std::to_string(n), items[n - 1].tag);
        }
        Module1::gFavNames.assign(1, {});
        Module1::gFavPaths.assign(1, {});
        Module1::LoadFavouritesMenu();
    }
    static std::vector<MenuItem> Stored() {
        std::vector<MenuItem> items;
        for (int n = 1;; ++n) {
            MenuItem item{forms::GetSetting("Quillview2", "Favs", "favn" + std::to_string(n)),
                          forms::GetSetting("Quillview2", "Favs", "fava" + std::to_string(n))};
            if (item.caption.empty()) return items;
            items.push_back(item);
        }
    }
    static std::vector<MenuItem> Rows() {
        std::vector<MenuItem> rows;
        const auto& e = Editor();
        EXPECT_EQ(e.List1.ListCount(), e.List2.ListCount());
        for (int i = 0; i < e.List1.ListCount(); ++i) rows.push_back({e.List1.List(i), e.List2.List(i)});
        return rows;
    }
    static bool ActionsEnabled() {
        const auto& e = Editor();
        EXPECT_EQ(e.cmdCheck.Enabled(), e.cmdDelete.Enabled());
        EXPECT_EQ(e.cmdCheck.Enabled(), e.cmdRename.Enabled());
        return e.cmdCheck.Enabled();
    }
    // Shows the editor as the main window does, runs fn inside its modal loop, then clicks OK.
    static void WhileShown(const std::function<void()>& fn) {
        bool ran = false;
        Later([&] {
            fn();
            ran = true;
            if (Editor().IsLoaded()) Editor().cmdOK.SetValue(true);
        });
        Editor().Show(forms::ShowMode::Modal);
        EXPECT_TRUE(ran);
        EXPECT_FALSE(Editor().IsLoaded());
    }
    std::string Folder(const char* name) const {
        const std::string path = temp_ / name;
        CreateDirectoryA(path.c_str(), nullptr);
        return path;
    }
};

TEST_F(FavEd, ListsOnlyCompleteItemsAndHoldsTheDialogFlagWhileShown) {
    Favourites({{"One", "C:\\one"}, {"Two", "C:\\two"}});
    // Items the store cannot make but the menu may hold: no name, or no folder.
    auto& menu = Form().mnuFav1;
    menu.Load(2);
    menu(2).SetCaption("No folder");
    menu.Load(3);
    menu(3).SetCaption("");
    menu(3).SetTag("C:\\nameless");
    EXPECT_FALSE(Module1::DialogOpen());
    WhileShown([] {
        EXPECT_TRUE(Module1::DialogOpen());
        EXPECT_EQ(Rows(), (std::vector<MenuItem>{{"One", "C:\\one"}, {"Two", "C:\\two"}}));
        EXPECT_FALSE(ActionsEnabled());
        EXPECT_TRUE(Editor().cmdHelp.Enabled());
        EXPECT_NE(GetWindow(Editor().hWnd(), GW_OWNER), Form().hWnd()) << "shown without owner";
        EXPECT_FALSE(IsWindowEnabled(Form().hWnd())) << "modal";
    });
    EXPECT_FALSE(Module1::DialogOpen());

    Favourites({});  // the menu's own "No Favourites" item has no folder
    WhileShown([] {
        EXPECT_TRUE(Rows().empty());
        EXPECT_FALSE(ActionsEnabled());
    });
}

TEST_F(FavEd, TheSpellingOptionChangesCaptionAndHeadingOnly) {
    struct Row {
        bool american;
        const char* caption;
        const char* heading;
    };
    const Row rows[] = {
        {false, "Favourites Manager", "Favourites can be deleted, renamed and checked here"},
        {true, "Favorites Manager", "Favorites can be deleted, renamed and checked here"},
        {false, "Favourites Manager", "Favourites can be deleted, renamed and checked here"},
    };
    for (const Row& row : rows) {
        Module1::gAmericanSpelling = row.american;
        WhileShown([&] {
            EXPECT_EQ(Editor().Caption(), row.caption);
            EXPECT_EQ(Editor().Label1.Caption(), row.heading);
            EXPECT_EQ(Editor().Label2.Caption(), "Name");
        });
    }
}

TEST_F(FavEd, RowsSelectInStepByCodeAndByMouse) {
    Favourites({{"A", "C:\\a"}, {"B", "C:\\b"}, {"C", "C:\\c"}});
    WhileShown([] {
        auto& e = Editor();
        e.List1.SetListIndex(1);
        EXPECT_EQ(e.List2.ListIndex(), 1);
        EXPECT_EQ(e.List2.ToolTipText(), "C:\\b");
        EXPECT_TRUE(ActionsEnabled());
        e.List2.SetListIndex(2);
        EXPECT_EQ(e.List1.ListIndex(), 2);
        EXPECT_EQ(e.List2.ToolTipText(), "C:\\c");

        // A press on the first location row, as the user makes it.
        RECT r{};
        SendMessageA(e.List2.hWnd(), LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
        const LPARAM at = MAKELPARAM(r.left + 2, r.top + 2);
        SendMessageA(e.List2.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(e.List2.hWnd(), WM_LBUTTONUP, 0, at);
        EXPECT_TRUE(formstest::PumpUntil([&] { return e.List1.ListIndex() == 0; }, 2000));
        EXPECT_EQ(e.List2.ToolTipText(), "C:\\a");
    });
}

TEST_F(FavEd, CheckExistsTestsForAFolderAndDeletesOnlyAfterBothConfirmations) {
    const std::string folder = Folder("kept");
    temp_.Write("now-a-file", "x");
    const std::string file = temp_ / "now-a-file";
    const std::string missing = temp_ / "gone";
    struct Row {
        const char* name;
        std::string location;
        int deleteAnswer;   // to "invalid, delete it?"; 0: the favourite is valid
        int confirmAnswer;  // to the delete confirmation; 0: not asked
        bool deleted;
    };
    const Row rows[] = {
        {"a folder", folder, 0, 0, false},
        {"missing, No", missing, No, 0, false},
        {"missing, Yes then No", missing, Yes, No, false},
        {"a file, Yes then Yes", file, Yes, Yes, true},
        {"missing, Yes then Yes", missing, Yes, Yes, true},
    };
    for (const Row& row : rows) {
        Favourites({{"Before", "C:\\before"}, {"Fav", row.location}});
        formstest::Script script;
        if (row.deleteAnswer == 0) {
            script->ExpectMsgBox("This favourite is valid", forms::mb::OkOnly, "Quillview", Ok);
        } else {
            script->ExpectMsgBox(kInvalid, forms::mb::YesNo, "Delete Favourite?", row.deleteAnswer);
        }
        if (row.confirmAnswer != 0)
            script->ExpectMsgBox(kConfirm, forms::mb::YesNo, "Quillview Confirmation", row.confirmAnswer);
        WhileShown([&] {
            Editor().List1.SetListIndex(1);
            Editor().cmdCheck.SetValue(true);
            std::vector<MenuItem> left{{"Before", "C:\\before"}};
            if (!row.deleted) left.push_back({"Fav", row.location});
            EXPECT_EQ(Rows(), left) << row.name;
            EXPECT_EQ(Stored(), left) << row.name;
            EXPECT_EQ(ActionsEnabled(), !row.deleted) << row.name;
        });
        EXPECT_EQ(script->Remaining(), 0u) << row.name;
    }
}

TEST_F(FavEd, DeletingTheLastFavouriteEmptiesTheListsAndDisablesTheButtons) {
    Favourites({{"Only", "C:\\only"}});
    formstest::Script script;
    script->ExpectMsgBox(kConfirm, forms::mb::YesNo, "Quillview Confirmation", Yes);
    WhileShown([] {
        Editor().List2.SetListIndex(0);
        Editor().cmdDelete.SetValue(true);
        EXPECT_TRUE(Rows().empty());
        EXPECT_FALSE(ActionsEnabled());
    });
    EXPECT_TRUE(Stored().empty());
    EXPECT_EQ(coretest::Items(Form().mnuFav1), (std::vector<MenuItem>{{"No Favourites", ""}}));
}

TEST_F(FavEd, RenameShowsTheFavouriteInItsOldRowOnlyWhenTheStoreTookIt) {
    const std::vector<MenuItem> five{{"F1", "C:\\1"}, {"F2", "C:\\2"}, {"F3", "C:\\3"}, {"F4", "C:\\4"}, {"F5", "C:\\5"}};
    struct Row {
        const char* name;
        const char* answer;
        bool clash;  // the store's own refusal box
        std::vector<MenuItem> rows;
        std::vector<MenuItem> stored;
    };
    const Row rows[] = {
        {"renamed", "Second",  false,
         // the store moved F5 into the freed place; the editor shows the renamed one where it was
         {{"F1", "C:\\1"}, {"Second", "C:\\2"}, {"F5", "C:\\5"}, {"F3", "C:\\3"}, {"F4", "C:\\4"}},
         {{"F1", "C:\\1"}, {"F5", "C:\\5"}, {"F3", "C:\\3"}, {"F4", "C:\\4"}, {"Second", "C:\\2"}}},
        {"a name taken", "F5", true, five, five},
        {"no answer", "", false, five, five},
    };
    for (const Row& row : rows) {
        Favourites(five);
        formstest::Script script;
        script->ExpectInputBox(kRenamePrompt, "Quillview", "", row.answer);
        if (row.clash)
            script->ExpectMsgBox("This name has been used by another favourite.", forms::mb::OkOnly, "Quillview", Ok);
        WhileShown([&] {
            Editor().List1.SetListIndex(1);
            Editor().cmdRename.SetValue(true);
            EXPECT_EQ(Rows(), row.rows) << row.name;
        });
        EXPECT_EQ(script->Remaining(), 0u) << row.name;
        EXPECT_EQ(Stored(), row.stored) << row.name;
    }
    // After a rename no row is selected, and nothing may act on an empty selection.
    Favourites(five);
    formstest::Script script;
    script->ExpectInputBox(kRenamePrompt, "Quillview", "", "Second");
    WhileShown([] {
        Editor().List1.SetListIndex(1);
        Editor().cmdRename.SetValue(true);
        EXPECT_EQ(Editor().List1.ListIndex(), -1);
        EXPECT_EQ(Editor().List2.ListIndex(), -1);
        EXPECT_FALSE(ActionsEnabled());
    });
}

TEST_F(FavEd, HelpAsksForTheEngineWhenTheSystemLacksIt) {
    const std::string system = Folder("System");
    const Module1::SystemFolderOverride noEngine{system};
    formstest::Script script;
    script->ExpectMsgBox(
        "Unfortunately context-sensitive help cannot be initiated because you do not have HTML Help installed on your "
        "system, would you like to visit a webpage on the Quillview Support website for further help?",
        forms::mb::YesNo | forms::mb::Exclamation, "HTML Help not installed", No);
    WhileShown([] { Editor().cmdHelp.SetValue(true); });
    EXPECT_EQ(script->Remaining(), 0u);
}

}  // namespace
