#include "main/core/Module1.h"

#include "tests/main/core/CoreFixture.h"

namespace coretest {
namespace {

class Favourites : public CoreTest {
protected:
    static void Store(int n, const std::string& name, const std::string& folder) {
        forms::SaveSetting("Quillview2", "Favs", "favn" + std::to_string(n), name);
        forms::SaveSetting("Quillview2", "Favs", "fava" + std::to_string(n), folder);
    }
    static MenuItem Stored(int n) {
        return {forms::GetSetting("Quillview2", "Favs", "favn" + std::to_string(n)),
                forms::GetSetting("Quillview2", "Favs", "fava" + std::to_string(n))};
    }
    static void Load() {
        Module1::gFavNames.assign(1, {});
        Module1::gFavPaths.assign(1, {});
        Module1::LoadFavouritesMenu();
    }
    static std::vector<MenuItem> Menu() { return Items(Form().mnuFav1); }
    void StoreFour() {
        for (int n = 1; n <= 4; ++n) Store(n, "F" + std::to_string(n), "C:\\f" + std::to_string(n));
        Load();
    }
};

TEST_F(Favourites, LoadShowsTheStoreUpToItsFirstGap) {
    Load();
    EXPECT_EQ(Menu(), (std::vector<MenuItem>{{"No Favourites", ""}}));
    EXPECT_FALSE(Form().mnuFav1(0).Enabled());
    EXPECT_EQ(Module1::gFavNames.size(), 1u);

    Store(1, "One", "C:\\one");
    Store(2, "Two", "C:\\two");
    Store(4, "Four", "C:\\four");
    Load();
    EXPECT_EQ(Menu(), (std::vector<MenuItem>{{"One", "C:\\one"}, {"Two", "C:\\two"}}));
    EXPECT_TRUE(Form().mnuFav1(0).Enabled());
    EXPECT_EQ(Module1::gFavPaths, (std::vector<std::string>{"", "C:\\one", "C:\\two"}));
    EXPECT_EQ(Stored(4).caption, "Four") << "an entry behind a gap stays in the store";

    for (int n = 1; n <= 61; ++n) Store(n, "N" + std::to_string(n), "C:\\n" + std::to_string(n));
    Load();
    EXPECT_EQ(Form().mnuFav1.Count(), 61) << "no cap";
    forms::DeleteSetting("Quillview2", "Favs");
    Load();
    EXPECT_EQ(Menu(), (std::vector<MenuItem>{{"No Favourites", ""}})) << "items above 0 go again";
}

TEST_F(Favourites, RemoveMovesTheLastIntoTheGap) {
    StoreFour();
    Module1::RemoveFavourite("F2", "C:\\f2");
    EXPECT_EQ(Menu(), (std::vector<MenuItem>{{"F1", "C:\\f1"}, {"F4", "C:\\f4"}, {"F3", "C:\\f3"}}));
    EXPECT_EQ(Stored(2), (MenuItem{"F4", "C:\\f4"}));
    EXPECT_EQ(Stored(4), (MenuItem{"", ""}));
    Module1::RemoveFavourite("F3", "C:\\f3");  // the last one
    Module1::RemoveFavourite("nobody", "C:\\f1");
    Module1::RemoveFavourite("", "");
    EXPECT_EQ(Menu(), (std::vector<MenuItem>{{"F1", "C:\\f1"}, {"F4", "C:\\f4"}}));
}

TEST_F(Favourites, RemoveLeavesANameBehindAGapAlone) {
    Store(1, "A", "C:\\a");
    Store(2, "B", "C:\\b");
    Store(5, "Hidden", "C:\\hidden");
    Load();
    Module1::RemoveFavourite("Hidden", "C:\\hidden");
    EXPECT_EQ(Stored(5), (MenuItem{"Hidden", "C:\\hidden"}));
    EXPECT_EQ(Stored(2), (MenuItem{"B", "C:\\b"}));
    EXPECT_EQ(Menu(), (std::vector<MenuItem>{{"A", "C:\\a"}, {"B", "C:\\b"}}));
}

TEST_F(Favourites, AddRefusesATakenFolderOrName) {
    Store(1, "Photos", "C:\\photos");
    Load();
    {
        formstest::Script script;
        script->ExpectMsgBox("The directory has already been set as a favourite!", forms::mb::Exclamation, "Quillview",
                             forms::answer::Ok);
        script->ExpectMsgBox("This name has been used by another favourite.", forms::mb::OkOnly, "Quillview",
                             forms::answer::Ok);
        script->ExpectMsgBox("The directory has already been set as a favourite!", forms::mb::Exclamation, "Quillview",
                             forms::answer::Ok);
        Module1::AddFavourite("Other", "C:\\photos");
        Module1::AddFavourite("Photos", "C:\\elsewhere");
        Module1::AddFavourite("Empty", "");
    }
    Module1::AddFavourite("Upper", "C:\\PHOTOS");  // another letter case is another folder
    EXPECT_EQ(Menu(), (std::vector<MenuItem>{{"Photos", "C:\\photos"}, {"Upper", "C:\\PHOTOS"}}));
    EXPECT_EQ(Stored(2), (MenuItem{"Upper", "C:\\PHOTOS"}));
}

TEST_F(Favourites, RenameMovesToTheEndAndKeepsTheFavouriteOnAClash) {
    StoreFour();
    Module1::RenameFavourite("F1", "C:\\f1", "First");
    EXPECT_EQ(Menu(), (std::vector<MenuItem>{{"F4", "C:\\f4"}, {"F2", "C:\\f2"}, {"F3", "C:\\f3"}, {"First", "C:\\f1"}}));
    Module1::RenameFavourite("F2", "C:\\f2", "F2");  // its own name
    EXPECT_EQ(Menu().back(), (MenuItem{"F2", "C:\\f2"}));
    const auto before = Menu();
    {
        formstest::Script script;
        script->ExpectMsgBox("This name has been used by another favourite.", forms::mb::OkOnly, "Quillview",
                             forms::answer::Ok);
        script->ExpectMsgBox("This name has been used by another favourite.", forms::mb::OkOnly, "Quillview",
                             forms::answer::Ok);
        Module1::RenameFavourite("F3", "C:\\f3", "F4");
        Module1::RenameFavourite("F3", "C:\\f3", "");
    }
    EXPECT_EQ(Menu(), before) << "name, folder and place kept";
    EXPECT_EQ(Stored(3), before[2]);
}

}  // namespace
}  // namespace coretest
