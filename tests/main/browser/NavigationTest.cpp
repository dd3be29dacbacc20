// The main window's drives, folders and favourites, its file list's mouse and keys, and Fileseek: the real
// window on real folders of the test's own, every box answered by script.
#include "main/browser/frmQuillview.h"
#include "main/core/Module1.h"
#include "main/settings/frmFavEd.h"
#include "main/windows/Dialog.h"
#include "main/windows/frmFullscn.h"
#include "platform/runtime/App.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Paths.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/UserPaths.h"
#include "tests/main/TestBitmap.h"
#include "tests/main/browser/MappedDrive.h"
#include "tests/platform/forms/FormsTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

using formstest::Later;
using formstest::PumpUntil;
using forms::answer::No;
using forms::answer::Ok;
using forms::answer::Yes;

constexpr char kAdd[] = "Add current Folder...";
constexpr char kDelete[] = "Delete this Favourite...";

// "c:" for "C:\\...", as the drive list shows it.
std::string DriveOf(const std::string& path) { return {static_cast<char>(path[0] | 0x20), ':'}; }

std::vector<std::string> Entries(const forms::ListControl& list) {
    std::vector<std::string> entries;
    for (int i = 0; i < list.ListCount(); ++i) entries.push_back(list.List(i));
    return entries;
}

class Navigation : public ::testing::Test {
protected:
    Navigation() {
        forms::App::SetTitle("Quillview");
        Module1::gImageSaved = true;
        Module1::gCurrentImagePath.clear();
        Module1::gFullScreenOpen = false;
        Module1::gStatusPanelsReady = false;  // a fresh window has only its own panel
        CreateDirectoryA((temp_ / "user").c_str(), nullptr);
        CreateDirectoryA(Pics().c_str(), nullptr);
        CreateDirectoryA(Empty().c_str(), nullptr);
        for (const char* name : {"DSC001.bmp", "beach.bmp", "mydsc.bmp", "Zoo.bmp"}) Picture(name);
        W().LoadWithoutStartUp();
        W().Show();
        Module1::LoadFavouritesMenu();
        W().FillFavouritesList();
        W().FileseekExplained = true;  // the explanation has its own test
    }
    ~Navigation() override {
        forms::Default<Dialog>().Unload();
        forms::Default<frmFavEd>().Unload();
        W().Unload();
    }
    static frmQuillview& W() { return forms::Default<frmQuillview>(); }
    std::string Pics() const { return temp_ / "Pics"; }
    std::string Empty() const { return temp_ / "Empty"; }
    void Picture(const std::string& name) const { ASSERT_TRUE(qvtest::WriteBitmap(Pics() + "\\" + name)); }
    static void AddFavouriteToStore(const std::string& name, const std::string& folder) {
        Module1::AddFavourite(name, folder);
        W().FillFavouritesList();
    }
    static std::vector<std::string> FavouriteNames() { return Entries(W().FavList); }
    // Pumps until the focus is on the control.
    static bool FocusOn(const forms::Control& c) {
        return PumpUntil([&] { return GetFocus() == c.hWnd(); });
    }

    qvtest::TempFolder temp_;
    const forms::SettingsRootOverride settings_{std::string(forms::TestSettingsBase) + "Navigation" +
                                                ::testing::UnitTest::GetInstance()->current_test_info()->name()};
    const forms::UserPathsOverride paths_{std::nullopt, temp_ / "user"};
    formstest::Script script_;
};

// ---- Folders and drives ----

TEST_F(Navigation, FolderChangeBringsFilesResultsAndButtonsIntoLine) {
    struct Row {
        const char* name;
        bool withFiles;
    };
    const Row rows[] = {{"into a folder with pictures", true}, {"into an empty folder", false},
                        {"back to pictures", true}};
    for (const Row& row : rows) {
        W().List1.AddItem("stale result");
        const std::string folder = row.withFiles ? Pics() : Empty();
        W().Dir1.SetPath(folder);
        EXPECT_EQ(W().File1.Path(), folder) << row.name;
        EXPECT_EQ(W().File1.ListCount() > 0, row.withFiles) << row.name;
        EXPECT_EQ(W().List1.ListCount(), 0) << row.name;
        EXPECT_EQ(W().Toolbar(0).Enabled(), row.withFiles) << row.name;
        EXPECT_EQ(W().Toolbar(1).Enabled(), row.withFiles) << row.name;
    }
}

TEST_F(Navigation, AddCommandCaptionFollowsTheFolder) {
    CreateDirectoryA((Pics() + "\\Sub").c_str(), nullptr);
    AddFavouriteToStore("Pictures", Pics());
    struct Row {
        std::string folder;
        const char* caption;
    };
    const Row rows[] = {
        {Pics(), kDelete},
        {Pics() + "\\Sub", kAdd},       // below a favourite is no favourite
        {Empty(), kAdd},
        {temp_ / "PICS", kAdd},         // the same folder in other letter case: the comparison is exact
        {Pics(), kDelete},
    };
    for (const Row& row : rows) {
        W().Dir1.SetPath(row.folder);
        EXPECT_EQ(W().mnuAdd.Caption(), row.caption) << row.folder;
    }
    // A later favourite of the folder is found too: every item is looked at until the first match.
    AddFavouriteToStore("Empty one", Empty());
    W().Dir1.SetPath(Empty());
    EXPECT_EQ(W().mnuAdd.Caption(), kDelete);
}

TEST_F(Navigation, UnavailableDriveIsSaidOnceAndTheListsStay) {
    const MappedDrive drive(temp_ / "not there");
    ASSERT_NE(drive.Letter(), 0);
    W().Dir1.SetPath(Pics());
    script_->ExpectMsgBox("Drive unavailable", forms::mb::Exclamation, "Problem", Ok);
    W().Drive1.SetDrive(drive.Root());
    EXPECT_EQ(script_->Remaining(), 0u);
    EXPECT_EQ(W().Dir1.Path(), Pics());
    EXPECT_EQ(W().File1.Path(), Pics());
    EXPECT_EQ(W().File1.ListCount(), 4);
    EXPECT_EQ(W().Drive1.Drive().substr(0, 2), DriveOf(Pics())) << "the drive list goes back to the folder's drive";
}

// The tree and the folder list show one folder, whichever of them moved.
TEST_F(Navigation, TreeAndFolderListFollowEachOther) {
    const std::string gone = temp_ / "Gone";
    CreateDirectoryA(gone.c_str(), nullptr);
    struct Row {
        const char* name;
        std::function<void()> act;
        const char* box;  // nullptr: none
        std::string folder;
        std::string tree;
    };
    const Row rows[] = {
        {"tree selects", [this] { W().ftvDirs.SetPath(Pics()); }, nullptr, Pics(), Pics()},
        {"folder list moves", [this] { W().Dir1.SetPath(Empty()); }, nullptr, Empty(), Empty()},
        {"tree selects again", [this] { W().ftvDirs.SetPath(Pics()); }, nullptr, Pics(), Pics()},
        // Other letter case stays as given: the tree does not hand its own spelling back.
        {"folder list in other case", [this] { W().Dir1.SetPath(temp_ / "EMPTY"); }, nullptr, temp_ / "EMPTY",
         Empty()},
        {"a node outside the file system",
         [] { W().ftvDirs.FolderChange(forms::FolderItem{false, "", "My Computer"}); }, "This folder is not valid!",
         temp_ / "EMPTY", Empty()},
        {"a folder gone since it was listed",
         [gone] {
             RemoveDirectoryA(gone.c_str());
             W().ftvDirs.FolderChange(forms::FolderItem{true, gone, "Gone"});
         },
         nullptr, temp_ / "EMPTY", Empty()},
    };
    for (const Row& row : rows) {
        if (row.box) script_->ExpectMsgBox(row.box, forms::mb::OkOnly, "Quillview", Ok);
        row.act();
        EXPECT_EQ(script_->Remaining(), 0u) << row.name;
        EXPECT_EQ(W().Dir1.Path(), row.folder) << row.name;
        EXPECT_EQ(W().File1.Path(), row.folder) << row.name;
        EXPECT_TRUE(forms::TextEquals(W().ftvDirs.Path(), row.tree)) << row.name << ": " << W().ftvDirs.Path();
    }
}

// While the viewer is open, its drive list follows the main window's.
TEST_F(Navigation, ViewersDriveFollowsADriveChange) {
    W().Dir1.SetPath(Pics());
    auto& viewer = forms::Default<frmFullscn>();
    viewer.Load();
    ASSERT_TRUE(Module1::gFullScreenOpen);
    const std::string other = DriveOf(Pics()) == "z:" ? "c:" : "z:";
    W().Drive1.SetDrive(other);
    EXPECT_EQ(W().Dir1.Path().substr(0, 2), (std::string{static_cast<char>(other[0] & ~0x20), ':'}));
    EXPECT_EQ(viewer.Drive1.Drive().substr(0, 2), other);
    viewer.Unload();
    EXPECT_FALSE(Module1::gFullScreenOpen);
}

// The folder commands belong to the folder popup only; the favourites list's popup has none of them.
TEST_F(Navigation, FolderCommandsAreVisibleOnlyInTheFolderPopup) {
    struct Row {
        const char* name;
        std::function<void()> click;
        bool popup;
        bool folderCommands;
    };
    const Row rows[] = {
        {"folder list, right", [] { W().Dir1.MouseUp(forms::button::Right, 0, 5, 5); }, true, true},
        {"folder list, left", [] { W().Dir1.MouseUp(forms::button::Left, 0, 5, 5); }, false, false},
        {"tree, right", [] { W().ftvDirs.MouseUp(forms::button::Right, 0, 5, 5); }, true, true},
        {"tree, middle", [] { W().ftvDirs.MouseUp(forms::button::Middle, 0, 5, 5); }, false, false},
        {"favourites list, right", [] { W().FavList.MouseUp(forms::button::Right, 0, 5, 5); }, true, false},
        {"favourites list, left", [] { W().FavList.MouseUp(forms::button::Left, 0, 5, 5); }, false, false},
    };
    forms::Menu* const commands[] = {&W().lin882, &W().mnuCreateDir, &W().mnuDelDir, &W().mnuCopyDir,
                                     &W().mnuMoveDir};
    for (const Row& row : rows) {
        bool popupSeen = false;
        std::vector<bool> visible;
        Later([&] {
            popupSeen = FindWindowA("#32768", nullptr) != nullptr;
            for (forms::Menu* m : commands) visible.push_back(m->Visible());
            EndMenu();
        }, 200);
        row.click();
        if (row.popup) {
            EXPECT_TRUE(popupSeen) << row.name;
            EXPECT_EQ(visible, std::vector<bool>(5, row.folderCommands)) << row.name;
        } else {
            EXPECT_TRUE(PumpUntil([&] { return !visible.empty(); })) << row.name;
            EXPECT_FALSE(popupSeen) << row.name;
        }
        for (forms::Menu* m : commands) EXPECT_FALSE(m->Visible()) << row.name << ": " << m->Name();
    }
}

// ---- Favourites ----

TEST_F(Navigation, AddingAFavourite) {
    struct Row {
        const char* name;
        bool atRoot;
        std::string answer;
        const char* refusal;  // the box, or nullptr
        std::vector<std::string> favourites;
    };
    const Row rows[] = {
        {"suggested name taken", false, "Pics", nullptr, {"Pics"}},
        {"own name", false, "Holiday", nullptr, {"Holiday"}},
        {"cancelled", false, "", nullptr, {"No Favourites"}},
        {"blank", false, "   ", nullptr, {"No Favourites"}},
        {"reserved", false, "No Favourites", "Illegal Favourites name, please choose another name",
         {"No Favourites"}},
        {"reserved with a blank", false, "No Favourites ", "Illegal Favourites name, please choose another name",
         {"No Favourites"}},
        {"reserved in other case is a name", false, "no favourites", nullptr, {"no favourites"}},
        {"trimmed", false, "  Holiday ", nullptr, {"Holiday"}},
        {"root, suggestion accepted", true, "", nullptr, {"No Favourites"}},
    };
    for (const Row& row : rows) {
        forms::DeleteSetting("Quillview2", "Favs");
        Module1::LoadFavouritesMenu();
        W().FillFavouritesList();
        const std::string folder = row.atRoot ? forms::RootOf(Pics()) : Pics();
        W().Dir1.SetPath(Empty());
        W().Dir1.SetPath(folder);
        ASSERT_EQ(W().mnuAdd.Caption(), kAdd) << row.name;
        script_->ExpectInputBox("Please input a name for this favourite", "Enter Name", row.atRoot ? "" : "Pics",
                                row.answer);
        if (row.refusal) script_->ExpectMsgBox(row.refusal, forms::mb::Exclamation, "Illegal Name", Ok);
        W().mnuAdd.Click();
        EXPECT_EQ(script_->Remaining(), 0u) << row.name;
        const bool added = row.favourites.front() != "No Favourites";
        if (added) {
            EXPECT_EQ(W().mnuFav1(0).Tag(), folder) << row.name;
            EXPECT_EQ(W().mnuAdd.Caption(), kDelete) << row.name << ": right after adding";
        }
        std::vector<std::string> list = FavouriteNames();
        if (!added) list.insert(list.begin(), "No Favourites");  // the list is empty without favourites
        EXPECT_EQ(list, row.favourites) << row.name;
        EXPECT_EQ(W().mnuFav1(0).Caption(), row.favourites.front()) << row.name;
    }
}

TEST_F(Navigation, DeletingTheCurrentFolderAsFavourite) {
    for (const int answer : {No, Yes}) {
        forms::DeleteSetting("Quillview2", "Favs");
        Module1::LoadFavouritesMenu();
        AddFavouriteToStore("Other", Empty());
        AddFavouriteToStore("Mine", Pics());
        W().Dir1.SetPath(Pics());
        ASSERT_EQ(W().mnuAdd.Caption(), kDelete);
        script_->ExpectMsgBox("Are you sure you wish to delete this favourite?", forms::mb::YesNo, "Delete Favourite?",
                              answer);
        W().mnuAdd.Click();
        const std::vector<std::string> expected =
            answer == Yes ? std::vector<std::string>{"Other"} : std::vector<std::string>{"Other", "Mine"};
        EXPECT_EQ(FavouriteNames(), expected) << answer;
        EXPECT_EQ(W().mnuAdd.Caption(), answer == Yes ? kAdd : kDelete) << answer;
        EXPECT_EQ(forms::GetSetting("Quillview2", "Favs", "favn2"), answer == Yes ? "" : "Mine") << answer;
    }
}

TEST_F(Navigation, GoingToAFavourite) {
    AddFavouriteToStore("Empty", Empty());
    AddFavouriteToStore("Pictures", Pics());
    W().mnuFav1(1).Click();
    EXPECT_EQ(W().Dir1.Path(), Pics());
    EXPECT_EQ(W().File1.ListCount(), 4);
    EXPECT_EQ(W().mnuAdd.Caption(), kDelete);
    W().FavList.SetListIndex(0);  // "Empty"
    EXPECT_EQ(W().Dir1.Path(), Empty());
    EXPECT_EQ(W().File1.ListCount(), 0);
    EXPECT_FALSE(W().Toolbar(0).Enabled());
}

// A favourite whose folder has gone is offered for deletion, from the menu and from the list alike.
TEST_F(Navigation, InvalidFavouriteIsOfferedForDeletion) {
    struct Row {
        const char* name;
        bool fromMenu;
        int answer;
    };
    const Row rows[] = {{"menu, kept", true, No}, {"menu, deleted", true, Yes}, {"list, kept", false, No},
                        {"list, deleted", false, Yes}};
    for (const Row& row : rows) {
        forms::DeleteSetting("Quillview2", "Favs");
        Module1::LoadFavouritesMenu();
        const std::string gone = temp_ / "Gone";
        CreateDirectoryA(gone.c_str(), nullptr);
        AddFavouriteToStore("Pictures", Pics());
        AddFavouriteToStore("Gone", gone);
        RemoveDirectoryA(gone.c_str());
        W().Dir1.SetPath(Pics());
        script_->ExpectMsgBox("This favourite is invalid, delete it?", forms::mb::YesNo, "Delete Favourite?",
                              row.answer);
        if (row.fromMenu) W().mnuFav1(1).Click();
        else W().FavList.SetListIndex(1);
        EXPECT_EQ(script_->Remaining(), 0u) << row.name;
        EXPECT_EQ(W().Dir1.Path(), Pics()) << row.name << ": the folder stays";
        const std::vector<std::string> expected =
            row.answer == Yes ? std::vector<std::string>{"Pictures"} : std::vector<std::string>{"Pictures", "Gone"};
        EXPECT_EQ(FavouriteNames(), expected) << row.name;
        EXPECT_EQ(W().mnuFav1.Count(), static_cast<int>(expected.size())) << row.name;
    }
}

TEST_F(Navigation, FavouriteOnAnUnavailableDriveFromTheListSaysOnlyThat) {
    const MappedDrive drive(temp_ / "not there");
    ASSERT_NE(drive.Letter(), 0);
    AddFavouriteToStore("Away", drive.Root() + "Photos");
    W().Dir1.SetPath(Pics());
    script_->ExpectMsgBox("Drive unavailable", forms::mb::Exclamation, "Problem", Ok);
    W().FavList.SetListIndex(0);
    EXPECT_EQ(script_->Remaining(), 0u);
    EXPECT_EQ(W().Dir1.Path(), Pics());
    EXPECT_EQ(W().Drive1.Drive().substr(0, 2), DriveOf(Pics()));
    EXPECT_EQ(FavouriteNames(), std::vector<std::string>{"Away"});
}

TEST_F(Navigation, FavouritesManagerChangesShowInTheList) {
    AddFavouriteToStore("Pictures", Pics());
    W().Dir1.SetPath(Pics());
    ASSERT_EQ(W().mnuAdd.Caption(), kDelete);
    bool shownModal = false;
    Later([&] {
        auto& editor = forms::Default<frmFavEd>();
        shownModal = editor.Visible() && editor.IsModal();
        // As the editor's own commands change the store.
        Module1::RemoveFavourite("Pictures", Pics());
        Module1::AddFavourite("Empty", Empty());
        editor.cmdOK.SetValue(true);
    }, 100);
    W().mnuFavMan.Click();
    EXPECT_TRUE(shownModal);
    EXPECT_EQ(FavouriteNames(), std::vector<std::string>{"Empty"});
    EXPECT_EQ(W().mnuAdd.Caption(), kAdd) << "the current folder is no favourite any more";
}

// ---- File list ----

TEST_F(Navigation, PropertiesItemNeedsASavedPictureWithAPath) {
    struct Row {
        const char* path;
        bool saved;
        bool enabled;
    };
    const Row rows[] = {{"C:\\a.bmp", true, true}, {"C:\\a.bmp", false, false}, {"", true, false}, {"", false, false}};
    for (const Row& row : rows) {
        Module1::gCurrentImagePath = row.path;
        Module1::gImageSaved = row.saved;
        bool visibleInPopup = false;
        bool enabledInPopup = false;
        Later([&] {
            visibleInPopup = W().mnuProp.Visible() && W().lin857.Visible();
            enabledInPopup = W().mnuProp.Enabled();
            EndMenu();
        }, 200);
        W().File1.MouseUp(forms::button::Right, 0, 5, 5);
        EXPECT_TRUE(visibleInPopup) << row.path << row.saved;
        EXPECT_EQ(enabledInPopup, row.enabled) << row.path << row.saved;
        EXPECT_FALSE(W().mnuProp.Visible());
        EXPECT_FALSE(W().lin857.Visible());
    }
    Module1::gImageSaved = true;
    Module1::gCurrentImagePath.clear();
}

TEST_F(Navigation, PressOnTheFileListPutsThePromptBack) {
    W().txtSearch.SetText("dsc");
    W().File1.MouseDown(forms::button::Left, 0, 5, 5);
    EXPECT_EQ(W().txtSearch.Text(), "Enter search here");
}

// Keys go to the window as the keyboard queues them: through the shortcuts and the window's key preview.
void PressKey(HWND target, WPARAM key) {
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
    // A timer comes only once the queue holds nothing else: the keys have been handled by then.
    bool done = false;
    Later([&] { done = true; });
    PumpUntil([&] { return done; });
}

// A dialog box of this thread on the screen (a confirmation of the shell's), answered No so that nothing
// happens to the files.
bool AnswerShellDialogNo() {
    bool seen = false;
    EnumThreadWindows(GetCurrentThreadId(), [](HWND h, LPARAM found) -> BOOL {
        char cls[16] = {};
        GetClassNameA(h, cls, sizeof cls);
        if (std::string(cls) == "#32770" && IsWindowVisible(h)) {
            *reinterpret_cast<bool*>(found) = true;
            PostMessageA(h, WM_COMMAND, IDNO, 0);
            PostMessageA(h, WM_COMMAND, IDCANCEL, 0);
        }
        return TRUE;
    }, reinterpret_cast<LPARAM>(&seen));
    return seen;
}

// Delete, Home and the arrows typed in the Fileseek box edit its text and never reach the file commands or
// the navigation; in the file list the arrows keep their own meaning.
TEST_F(Navigation, KeysInTheSearchBoxEditItsText) {
    W().Dir1.SetPath(Pics());
    W().File1.SetListIndex(1);  // a picture with a file is shown: Delete File is usable
    ASSERT_FALSE(Module1::gCurrentImagePath.empty());
    ASSERT_TRUE(W().mnuDel.Enabled());
    struct Row {
        WPARAM key;
        const char* text;  // the box afterwards
    };
    const Row rows[] = {{VK_DELETE, "bc"}, {VK_HOME, "abc"}, {VK_LEFT, "abc"}, {VK_RIGHT, "abc"}};
    for (const Row& row : rows) {
        W().txtSearch.SetFocus();
        ASSERT_TRUE(FocusOn(W().txtSearch));
        W().txtSearch.SetText("abc");
        W().txtSearch.SetSelStart(0);
        W().txtSearch.SetSelLength(0);
        bool dialog = false;
        bool looked = false;
        Later([&] {
            dialog = AnswerShellDialogNo();
            looked = true;
        }, 300);
        PressKey(W().txtSearch.hWnd(), row.key);
        ASSERT_TRUE(PumpUntil([&] { return looked; }));
        EXPECT_FALSE(dialog) << row.key;
        EXPECT_EQ(W().txtSearch.Text(), row.text) << row.key;
        EXPECT_EQ(W().File1.FileName(), "DSC001.bmp") << row.key;
        EXPECT_NE(GetFileAttributesA((Pics() + "\\DSC001.bmp").c_str()), INVALID_FILE_ATTRIBUTES) << row.key;
    }
}

// Left and Right step once through the files: in the file list by the list's own keys, elsewhere by Back
// and Forward, the focused control getting the key as well.
TEST_F(Navigation, LeftAndRightStepOnceWhereverTheFocusIs) {
    W().Dir1.SetPath(Pics());
    ASSERT_EQ(W().File1.ListCount(), 4);
    struct Row {
        forms::Control* control;
        WPARAM key;
        int from;
        int after;  // the current entry after the key: one step, never two
    };
    const Row rows[] = {
        {&W().File1, VK_RIGHT, 1, 2},
        {&W().File1, VK_LEFT, 2, 1},
        {&W().Picture1, VK_RIGHT, 1, 2},
        {&W().Picture1, VK_LEFT, 2, 1},
    };
    for (const Row& row : rows) {
        W().File1.SetListIndex(row.from);
        row.control->SetFocus();
        ASSERT_TRUE(FocusOn(*row.control)) << row.control->Name();
        PressKey(row.control->hWnd(), row.key);
        EXPECT_EQ(W().File1.ListIndex(), row.after) << row.control->Name() << " " << row.key;
        EXPECT_EQ(W().Caption(), "Quillview - " + W().File1.List(row.after)) << row.control->Name() << " " << row.key;
    }
}

// ---- Focus highlights ----

TEST_F(Navigation, CaptionsShowWhereTheFocusIs) {
    W().Dir1.SetPath(Pics());
    struct Row {
        forms::Control* control;
        forms::Label* caption;
        forms::Label* other;
    };
    const Row rows[] = {
        {&W().ftvDirs, &W().lblBTfiles, &W().lblBTFiles2},
        {&W().File1, &W().lblBTfiles, &W().lblBTFiles2},
        {&W().txtSearch, &W().lblBTFiles2, &W().lblBTfiles},
        {&W().List1, &W().lblBTFiles2, &W().lblBTfiles},
    };
    for (const Row& row : rows) {
        row.control->SetFocus();
        ASSERT_TRUE(FocusOn(*row.control)) << row.control->Name();
        EXPECT_EQ(row.caption->BackColor(), forms::color::ActiveCaption) << row.control->Name();
        EXPECT_EQ(row.other->BackColor(), forms::color::InactiveCaption) << row.control->Name();
    }
    W().File1.SetFocus();
    ASSERT_TRUE(FocusOn(W().File1));
    EXPECT_EQ(W().lblBTFiles2.BackColor(), forms::color::InactiveCaption);
}

// ---- Fileseek ----

class Fileseek : public Navigation {
protected:
    Fileseek() { W().Dir1.SetPath(Pics()); }
    // Types the term into the box and presses Enter, as the user does.
    static void Search(const std::string& term) {
        W().txtSearch.SetFocus();
        ASSERT_TRUE(FocusOn(W().txtSearch));
        W().txtSearch.SetText(term);
        SendMessageA(W().txtSearch.hWnd(), WM_CHAR, VK_RETURN, 0);
        ASSERT_TRUE(FocusOn(W().List1));
    }
    static std::vector<std::pair<std::string, long>> Results() {
        std::vector<std::pair<std::string, long>> results;
        for (int i = 0; i < W().List1.ListCount(); ++i) results.emplace_back(W().List1.List(i), W().List1.ItemData(i));
        return results;
    }
};

TEST_F(Fileseek, ResultsAreTheFileListEntriesContainingTheText) {
    // The file list's order: DSC001.bmp, beach.bmp, mydsc.bmp, Zoo.bmp.
    ASSERT_EQ(Entries(W().File1), (std::vector<std::string>{"beach.bmp", "DSC001.bmp", "mydsc.bmp", "Zoo.bmp"}));
    using Results = std::vector<std::pair<std::string, long>>;
    struct Row {
        std::string term;
        Results results;
    };
    const Row rows[] = {
        {"dsc", {{"DSC001.bmp", 1}, {"mydsc.bmp", 2}}},
        {"DSC", {{"DSC001.bmp", 1}, {"mydsc.bmp", 2}}},
        {".BMP", {{"beach.bmp", 0}, {"DSC001.bmp", 1}, {"mydsc.bmp", 2}, {"Zoo.bmp", 3}}},
        {"zoo.bmp", {{"Zoo.bmp", 3}}},
        {"", {}},
        {"Enter search here", {}},
        {"xyz", {}},
    };
    for (const Row& row : rows) {
        W().List1.AddItem("stale");  // emptied when the box takes the focus
        Search(row.term);
        EXPECT_EQ(this->Results(), row.results) << row.term;
    }
}

TEST_F(Fileseek, ChosenResultSelectsItsFileEvenAfterTheFolderChanged) {
    struct Row {
        const char* name;
        std::function<void()> change;
        const char* selected;  // nullptr: nothing
    };
    const Row rows[] = {
        {"unchanged", [] {}, "mydsc.bmp"},
        {"a file added before it", [this] { Picture("aaa.bmp"); }, "mydsc.bmp"},
        {"the file removed", [this] { DeleteFileA((Pics() + "\\mydsc.bmp").c_str()); }, nullptr},
    };
    for (const Row& row : rows) {
        Search("mydsc");
        ASSERT_EQ(W().List1.ListCount(), 1) << row.name;
        row.change();
        W().List1.SetListIndex(0);
        if (row.selected) {
            EXPECT_EQ(W().File1.FileName(), row.selected) << row.name;
            EXPECT_EQ(W().Caption(), std::string("Quillview - ") + row.selected) << row.name;
        } else {
            EXPECT_EQ(W().File1.ListIndex(), -1) << row.name;
        }
    }
}

TEST_F(Fileseek, BackspaceInTheResultsStartsAgain) {
    Search("dsc");
    ASSERT_EQ(W().List1.ListCount(), 2);
    SendMessageA(W().List1.hWnd(), WM_CHAR, VK_BACK, 0);
    EXPECT_TRUE(FocusOn(W().txtSearch));
    EXPECT_EQ(W().List1.ListCount(), 0);
    EXPECT_TRUE(PumpUntil([] { return W().txtSearch.Text().empty(); })) << W().txtSearch.Text();
}

TEST_F(Fileseek, FolderChangeEmptiesTheResults) {
    Search("dsc");
    ASSERT_EQ(W().List1.ListCount(), 2);
    W().Dir1.SetPath(Empty());
    EXPECT_EQ(W().List1.ListCount(), 0);
}

// The explanation: once per run, never again once ticked, and the setting is read at each click.
TEST_F(Fileseek, ExplanationOncePerRunUnlessTurnedOff) {
    constexpr char text[] =
        "Fileseek will help you find certain image files within the file list box at lightning speed. Type a small "
        "part of a filename you are looking for then press Enter. Press Backspace to reset the search.  For a full "
        "explanation please look in Help under the Features Guide for Fileseek.";
    struct Row {
        const char* name;
        bool newRun;
        const char* stored;  // nofileseekexp before the click; nullptr: none
        bool tick;
        bool shown;
        const char* storedAfter;
    };
    const Row rows[] = {
        {"first click", true, nullptr, false, true, nullptr},
        {"second click of the run", false, nullptr, false, false, nullptr},
        {"next run", true, "0", true, true, "1"},
        {"after ticking", true, "1", false, false, "1"},
        {"not a number", true, "x", false, true, "x"},
    };
    const float designHeight = forms::Default<Dialog>().Label1.Height();
    forms::Default<Dialog>().Unload();
    for (const Row& row : rows) {
        if (row.newRun) W().FileseekExplained = false;
        if (row.stored) forms::SaveSetting("Quillview2", "Options", "nofileseekexp", row.stored);
        else forms::DeleteSetting("Quillview2", "Options", "nofileseekexp");
        bool shown = false;
        std::string caption, message;
        float height = 0;
        HWND owner = nullptr;
        if (row.shown) {
            Later([&] {
                auto& dialog = forms::Default<Dialog>();
                shown = dialog.Visible() && dialog.IsModal();
                caption = dialog.Caption();
                message = dialog.Label1.Caption();
                height = dialog.Label1.Height();
                owner = GetWindow(dialog.hWnd(), GW_OWNER);
                if (row.tick) dialog.Check1.SetValue(1);
                dialog.OKButton.SetValue(true);
            }, 100);
        }
        W().txtSearch.Click();
        EXPECT_EQ(shown, row.shown) << row.name;
        if (row.shown) {
            EXPECT_EQ(caption, "Fileseek Quick Explanation") << row.name;
            EXPECT_EQ(message, text) << row.name;
            EXPECT_FLOAT_EQ(height, designHeight + 500) << row.name;
            EXPECT_EQ(owner, W().hWnd()) << row.name;
        }
        EXPECT_EQ(forms::GetSetting("Quillview2", "Options", "nofileseekexp", "none"),
                  row.storedAfter ? row.storedAfter : "none")
            << row.name;
    }
}

}  // namespace
