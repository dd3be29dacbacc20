#include "main/core/clsVarMenus.h"

#include "main/core/WebLink.h"
#include "platform/runtime/RuntimeError.h"
#include "tests/main/core/CoreFixture.h"

#include <windows.h>

namespace coretest {
namespace {

using forms::mb::Critical;
using forms::mb::Exclamation;

class VarMenus : public CoreTest {
protected:
    VarMenus() {
        list_.MenuItems = &Form().mnuItems;
        list_.NameList = &Form().lstNames;
        list_.TagList = &Form().lstTags;
        list_.DataFile = "QVEditors.dat";
    }
    std::string UserFile() const { return UserDir() + "\\QVEditors.dat"; }
    void WriteUserFile(std::string_view bytes) const { temp_.Write("User\\QVEditors.dat", bytes); }
    std::string ReadUserFile() const { return temp_.Read("User\\QVEditors.dat"); }
    bool UserFileExists() const { return GetFileAttributesA(UserFile().c_str()) != INVALID_FILE_ATTRIBUTES; }

    clsVarMenus list_;
};

TEST_F(VarMenus, FileBytesToItemsAndBackAfterASave) {
    struct Case {
        const char* what;
        std::string bytes;
        std::vector<MenuItem> items;
        std::string saved;  // "": the file is gone after the save
        bool badLineBox = false;
    };
    const Case cases[] = {
        {"editor, then the marker alone", "C:\\p\\mspaint.exe<name>Paint\r\n<name>\r\n",
         {{"Paint", "C:\\p\\mspaint.exe"}, {"", ""}}, "C:\\p\\mspaint.exe<name>Paint\r\n"},
        {"marker in another case splits at its first place; the name after the last",
         "http://a.example/<NAME>x<Name>Site\r\n", {{"Site", "http://a.example/"}},
         "http://a.example/<name>Site\r\n"},
        {"bare LF line ends, blank lines skipped", "v1<name>One\n   \n\nv2<name>Two\n",
         {{"One", "v1"}, {"Two", "v2"}}, "v1<name>One\r\nv2<name>Two\r\n"},
        {"last line without a line end", "v1<name>One", {{"One", "v1"}}, "v1<name>One\r\n"},
        {"a name without a value and a value without a name are no items",
         "<name>NoValue\r\nnoName<name> \r\nv<name>Kept\r\n", {{"Kept", "v"}}, "v<name>Kept\r\n"},
        {"nothing is trimmed", " v <name> Spaced \r\n", {{" Spaced ", " v "}}, " v <name> Spaced \r\n"},
        {"a line without the marker is left out, the rest kept", "v1<name>One\r\nno marker here\r\nv2<name>Two\r\n",
         {{"One", "v1"}, {"Two", "v2"}}, "v1<name>One\r\nv2<name>Two\r\n", true},
        {"an empty first item keeps the items behind it", "<name>\r\nv2<name>Two\r\n", {{"", ""}, {"Two", "v2"}},
         "v2<name>Two\r\n"},
        {"a Windows-1252 line reads converted and saves as UTF-8", "C:\\caf\xe9.exe<name>Caf\xe9\r\n",
         {{"Caf\xc3\xa9", "C:\\caf\xc3\xa9.exe"}}, "C:\\caf\xc3\xa9.exe<name>Caf\xc3\xa9\r\n"},
        {"UTF-8 stays as it is", "x<name>\xe2\x82\xac\r\n", {{"\xe2\x82\xac", "x"}}, "x<name>\xe2\x82\xac\r\n"},
        {"only blank items: the list is empty and the file goes", "<name>\r\n", {{"", ""}}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        formstest::Script script;
        if (c.badLineBox) {
            script->ExpectMsgBox("An error occured while loading the list file 'QVEditors.dat'!", Critical,
                                 "Error: 5", forms::answer::Ok);
        }
        WriteUserFile(c.bytes);
        list_.ReloadMenu();
        EXPECT_EQ(Items(Form().mnuItems), c.items);
        list_.SaveMenu();
        if (c.saved.empty()) {
            EXPECT_FALSE(UserFileExists());
        } else {
            EXPECT_EQ(ReadUserFile(), c.saved);
        }
    }
}

TEST_F(VarMenus, ABadLineIsReportedOncePerFileAndTheFileKept) {
    const std::string bytes = "v<name>One\r\nbroken\r\n";
    WriteUserFile(bytes);
    {
        formstest::Script script;
        script->ExpectMsgBox("An error occured while loading the list file 'QVEditors.dat'!", Critical, "Error: 5",
                             forms::answer::Ok);
        list_.LoadMenu();
    }
    formstest::Script quiet;  // the second reading shows nothing
    list_.ReloadMenu();
    EXPECT_EQ(ReadUserFile(), bytes) << "the file may be the update program's: never deleted for a bad line";
    EXPECT_EQ(Items(Form().mnuItems), (std::vector<MenuItem>{{"One", "v"}}));
}

TEST_F(VarMenus, TheShippedListIsReadUntilTheFirstSaveWritesTheUsersCopy) {
    temp_.Write("Program\\QVEditors.dat", "C:\\ed.exe<name>Ed\r\n");
    list_.LoadMenu();
    EXPECT_EQ(Items(Form().mnuItems), (std::vector<MenuItem>{{"Ed", "C:\\ed.exe"}}));
    bool fail = false;
    EXPECT_EQ(list_.AddItem("Other", "C:\\other.exe", fail), 1);
    list_.SaveMenu();
    EXPECT_EQ(ReadUserFile(), "C:\\ed.exe<name>Ed\r\nC:\\other.exe<name>Other\r\n");
    EXPECT_EQ(temp_.Read("Program\\QVEditors.dat"), "C:\\ed.exe<name>Ed\r\n") << "the program folder is not written";

    // Emptied, the list stays empty: the shipped default does not come back at the next start.
    list_.DelMenuItem(0);
    list_.DelMenuItem(0);
    list_.SaveMenu();
    list_.ReloadMenu();
    EXPECT_EQ(Items(Form().mnuItems), (std::vector<MenuItem>{{"", ""}}));
}

TEST_F(VarMenus, AFailedSaveKeepsTheOldFileAndSaysSo) {
    WriteUserFile("old<name>Old\r\n");
    list_.LoadMenu();
    bool fail = false;
    list_.AddItem("New", "new", fail);
    const HANDLE held = CreateFileA(UserFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    {
        formstest::Script script;
        // A file held by another program: the runtime's path/file access error.
        script->ExpectMsgBox("An error occured while saving the list file 'QVEditors.dat'!", Critical, "Error: 75",
                             forms::answer::Ok);
        list_.SaveMenu();
    }
    CloseHandle(held);
    EXPECT_EQ(ReadUserFile(), "old<name>Old\r\n");
}

TEST_F(VarMenus, AReloadAfterTheFileVanishedLeavesNoStaleItem) {
    WriteUserFile("a<name>A\r\nb<name>B\r\n");
    list_.LoadMenu();
    ASSERT_EQ(Form().mnuItems.Count(), 2);
    DeleteFileA(UserFile().c_str());
    list_.ReloadMenu();
    EXPECT_EQ(Items(Form().mnuItems), (std::vector<MenuItem>{{"", ""}}));
}

TEST_F(VarMenus, WithoutADataFileLoadAndSaveRaise) {
    list_.DataFile.clear();
    for (const auto& [call, text] :
         {std::pair<void (clsVarMenus::*)(), const char*>{&clsVarMenus::LoadMenu,
                                                          "No Data file set, set a data file before loading items"},
          {&clsVarMenus::SaveMenu, "No Data file set, set a data file before saving items"}}) {
        try {
            (list_.*call)();
            ADD_FAILURE() << "no error: " << text;
        } catch (const forms::RuntimeError& e) {
            EXPECT_EQ(static_cast<std::uint32_t>(e.Number()), 0x80040162u);
            EXPECT_EQ(e.Description(), text);
        }
    }
}

TEST_F(VarMenus, AddItemRefusesTakenValuesNamesAndTextALineCannotHold) {
    bool fail = false;
    EXPECT_EQ(list_.AddItem("Paint", "C:\\paint.exe", fail), 0) << "the empty list's element is used";
    EXPECT_FALSE(fail);
    struct Case {
        std::string name, tag, prompt;
    };
    const Case refused[] = {
        {"Other", " C:\\paint.exe ", "This is already in the menu as 'Paint'."},
        {"Paint ", "C:\\x.exe", "The name Paint  is taken."},
        {"Two\r\nLines", "C:\\y.exe", "The name Two\r\nLines cannot be stored in the list."},
        {"Fine", "C:\\a<NAME>b.exe", "The value C:\\a<NAME>b.exe cannot be stored in the list."},
        {"Fine", "C:\\a\nb.exe", "The value C:\\a\nb.exe cannot be stored in the list."},
    };
    for (const Case& c : refused) {
        formstest::Script script;
        script->ExpectMsgBox(c.prompt, Exclamation, "Error", forms::answer::Ok);
        fail = false;
        EXPECT_EQ(list_.AddItem(c.name, c.tag, fail), 0) << c.prompt;
        EXPECT_TRUE(fail) << c.prompt;
    }
    fail = false;
    EXPECT_EQ(list_.AddItem("paint", "C:\\other.exe", fail), 1) << "names are compared with case";
    EXPECT_FALSE(fail);
    EXPECT_EQ(Items(Form().mnuItems), (std::vector<MenuItem>{{"Paint", "C:\\paint.exe"}, {"paint", "C:\\other.exe"}}));
    EXPECT_TRUE(list_.InArray("paint", false));
    EXPECT_FALSE(list_.InArray("paint ", false));
    EXPECT_TRUE(list_.InArray("C:\\other.exe", true));
    EXPECT_FALSE(list_.InArray("Paint", true));
}

TEST_F(VarMenus, DeletingAndRenamingItems) {
    WriteUserFile("a<name>A\r\nb<name>B\r\nc<name>C\r\n");
    list_.LoadMenu();
    list_.DelMenuItem(0);
    EXPECT_EQ(Items(Form().mnuItems), (std::vector<MenuItem>{{"B", "b"}, {"C", "c"}}));
    {
        formstest::Script script;
        script->ExpectInputBox("Please enter the new name", "Change Name", "C", "  ");
        script->ExpectInputBox("Please enter the new name", "Change Name", "C", " New ");
        script->ExpectInputBox("Please enter the new name", "Change Name", " New ", "x<name>y");
        script->ExpectMsgBox("The name x<name>y cannot be stored in the list.", Exclamation, "Error",
                             forms::answer::Ok);
        EXPECT_EQ(list_.RenameItem(1), "");
        EXPECT_EQ(list_.RenameItem(1), " New ");
        EXPECT_EQ(list_.RenameItem(1), "");
    }
    EXPECT_EQ(Items(Form().mnuItems), (std::vector<MenuItem>{{"B", "b"}, {" New ", "c"}}));
    list_.DelMenuItem(1);
    list_.DelMenuItem(0);
    EXPECT_EQ(Items(Form().mnuItems), (std::vector<MenuItem>{{"", ""}})) << "the last item is blanked, not removed";
}

std::vector<std::string> Entries(const forms::ListBox& list) {
    std::vector<std::string> entries;
    for (int i = 0; i < list.ListCount(); ++i) entries.push_back(list.List(i));
    return entries;
}

TEST_F(VarMenus, FillListBox) {
    WriteUserFile("a<name>A\r\n<name>\r\nb<name>B\r\n");
    list_.LoadMenu();
    using V = std::vector<std::string>;
    struct Case {
        int fill;
        V names, tags;
    };
    const Case cases[] = {{0, {"A", "B"}, {"old"}}, {1, {"old"}, {"a", "b"}}, {2, {"A", "B"}, {"a", "b"}},
                          {3, {"old"}, {"old"}}, {-1, {"old"}, {"old"}}};
    for (const Case& c : cases) {
        Form().lstNames.Clear();
        Form().lstTags.Clear();
        Form().lstNames.AddItem("old");
        Form().lstTags.AddItem("old");
        list_.FillListBox(c.fill);
        EXPECT_EQ(Entries(Form().lstNames), c.names) << c.fill;
        EXPECT_EQ(Entries(Form().lstTags), c.tags) << c.fill;
    }
    list_.TagList = nullptr;
    try {
        list_.FillListBox(1);
        ADD_FAILURE() << "a list never bound is an error of the caller's";
    } catch (const forms::RuntimeError& e) {
        EXPECT_EQ(e.Number(), 91);
    }
}

TEST(WebLink, OnlyAddressesTheLinkMenusOpen) {
    const std::pair<const char*, bool> cases[] = {
        {"http://www.example.com/", true}, {"HTTPS://x.example", true}, {"mailto:a@b.example", true},
        {"Mailto:a@b.example", true},      {"ftp://x.example", false},  {"www.example.com", false},
        {"C:\\Windows\\notepad.exe", false}, {"http://", false},        {" http://x.example", false},
        {"", false},
    };
    for (const auto& [address, expected] : cases) EXPECT_EQ(Module1::IsWebLink(address), expected) << address;
}

}  // namespace
}  // namespace coretest
