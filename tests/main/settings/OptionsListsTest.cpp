// The Editors and Links pages over the main window's live menus, the home folder's buttons and the desktop
// shortcuts, with the real open-file dialog, input and message boxes by script.
#include "tests/main/settings/OptionsFixture.h"

#include "platform/runtime/App.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/UserPaths.h"
#include "tests/lib/services/DialogDriver.h"
#include "tests/main/LinkFiles.h"

#include <gtest/gtest.h>

#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace optionstest {
namespace {

using coretest::MenuItem;
using forms::answer::No;
using forms::answer::Ok;
using forms::answer::Yes;

void Fill(forms::ControlArray<forms::Menu>& menu, const std::vector<MenuItem>& items) {
    for (const int i : menu.Indexes())
        if (i > 0) menu.Unload(i);
    menu(0).SetCaption({});
    menu(0).SetTag({});
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) menu.Load(static_cast<int>(i));
        menu(static_cast<int>(i)).SetCaption(items[i].caption);
        menu(static_cast<int>(i)).SetTag(items[i].tag);
    }
}

std::vector<std::string> Rows(const forms::ListBox& list) {
    std::vector<std::string> rows;
    for (int i = 0; i < list.ListCount(); ++i) rows.push_back(list.List(i));
    return rows;
}

using qvtest::DesktopFolder;
using qvtest::LinkTarget;

class Lists : public OptionsTest {};

TEST_F(Lists, TheFriendlyNameIsFoundByTheWholeLowerCaseFileName) {
    const std::pair<const char*, const char*> cases[] = {
        {"PSP.EXE", "Paint Shop Pro"},          {"photoed.exe", "Microsoft Photo Editor"},
        {"Anim.exe", "Animation Shop"},         {"pictureviewer.exe", "Picture Viewer"},
        {"i_view32.exe", "Irfan View"},         {"photoshp.exe", "Adobe Photoshop"},
        {"BRYCE2.exe", "Bryce 2"},              {"MyPaint.EXE", "MyPaint.EXE"},
        {"xpsp.exe", "xpsp.exe"},               {"psp.exe.exe", "psp.exe.exe"},
    };
    for (const auto& [file, name] : cases) EXPECT_EQ(options::FriendlyEditorName(file), name) << file;
}

TEST_F(Lists, AddEditorThroughTheDialogAndItsRefusals) {
    temp_.Write("Program\\PSP.EXE", "MZ");
    temp_.Write("Program\\other.exe", "MZ");
    const std::string psp = ProgramDir() + "\\PSP.EXE";
    const std::string other = ProgramDir() + "\\other.exe";
    constexpr char kPrompt[] = "Please enter a friendly name for this editor.";
    struct Row {
        const char* name;
        std::string file;
        const char* offered;
        const char* answer;
        const char* refusal;  // AddItem's box, or nothing
        std::vector<std::string> rows;
    };
    const Row rows[] = {
        {"added", psp, "Paint Shop Pro", "Paint Shop Pro", nullptr, {psp}},
        {"the same program again", psp, "Paint Shop Pro", "Another", "This is already in the menu as 'Paint Shop Pro'.",
         {psp}},
        {"a taken name", other, "other.exe", "Paint Shop Pro", "The name Paint Shop Pro is taken.", {psp}},
        {"a blank name", other, "other.exe", "   ", nullptr, {psp}},
        {"a second one", other, "other.exe", "Other", nullptr, {psp, other}},
    };
    WhileShown([&] {
        auto& w = Window();
        for (const Row& row : rows) {
            SCOPED_TRACE(row.name);
            formstest::Script script;
            script->ExpectInputBox(kPrompt, "Add Editor...", row.offered, row.answer);
            if (row.refusal) script->ExpectMsgBox(row.refusal, forms::mb::Exclamation, "Error", Ok);
            const DialogDriver driver(DialogDriver::EnterFileName(row.file));
            w.cmdAddEditor.SetValue(true);
            EXPECT_TRUE(driver.Acted());
            EXPECT_EQ(driver.Title(), "Add Editor...");
            EXPECT_EQ(script->Remaining(), 0u);
            EXPECT_EQ(Rows(w.EditorsList), row.rows);
        }
        EXPECT_EQ(w.EditorsList.ListIndex(), 1) << "the added row is selected";
        EXPECT_EQ(w.txtEdNm.Text(), "Other");
        EXPECT_TRUE(w.cmdDelEditor.Enabled() && w.cmdChangeEdNm.Enabled());
    });
    EXPECT_EQ(coretest::Items(Main().mnuEditors),
              (std::vector<MenuItem>{{"Paint Shop Pro", psp}, {"Other", other}}));
}

TEST_F(Lists, RemoveAndRenameEditorsKeepRowsOnTheirItems) {
    Fill(Main().mnuEditors, {{"A", "C:\\a.exe"}, {"B", "C:\\b.exe"}, {"C", "C:\\c.exe"}});
    WhileShown([&] {
        auto& w = Window();
        EXPECT_EQ(w.EditorsList.ListIndex(), 0) << "row 0 selected at the showing";
        EXPECT_EQ(w.txtEdNm.Text(), "A");
        formstest::Script script;
        // The middle row: the next editor moves into it.
        w.EditorsList.SetListIndex(1);
        script->ExpectMsgBox("Are you sure you wish to remove this editor?", forms::mb::YesNo, "Remove Editor?", No);
        w.cmdDelEditor.SetValue(true);
        EXPECT_EQ(Rows(w.EditorsList).size(), 3u) << "No removes nothing";
        script->ExpectMsgBox("Are you sure you wish to remove this editor?", forms::mb::YesNo, "Remove Editor?", Yes);
        w.cmdDelEditor.SetValue(true);
        EXPECT_EQ(Rows(w.EditorsList), (std::vector<std::string>{"C:\\a.exe", "C:\\c.exe"}));
        EXPECT_EQ(w.EditorsList.ListIndex(), 1);
        EXPECT_EQ(w.txtEdNm.Text(), "C");
        // Rename it.
        script->ExpectInputBox("Please enter the new name", "Change Name", "C", "Sea");
        w.cmdChangeEdNm.SetValue(true);
        EXPECT_EQ(w.txtEdNm.Text(), "Sea");
        // The last row: nothing selected after.
        script->ExpectMsgBox("Are you sure you wish to remove this editor?", forms::mb::YesNo, "Remove Editor?", Yes);
        w.cmdDelEditor.SetValue(true);
        EXPECT_EQ(w.EditorsList.ListIndex(), -1);
        EXPECT_EQ(w.txtEdNm.Text(), "");
        EXPECT_FALSE(w.cmdDelEditor.Enabled() || w.cmdChangeEdNm.Enabled());
        // The only row: the menu keeps its emptied placeholder.
        w.EditorsList.SetListIndex(0);
        script->ExpectMsgBox("Are you sure you wish to remove this editor?", forms::mb::YesNo, "Remove Editor?", Yes);
        w.cmdDelEditor.SetValue(true);
        EXPECT_EQ(w.EditorsList.ListCount(), 0);
        EXPECT_FALSE(w.cmdDelEditor.Enabled());
        EXPECT_EQ(script->Remaining(), 0u);
    });
    EXPECT_EQ(coretest::Items(Main().mnuEditors), (std::vector<MenuItem>{{"", ""}}));
}

TEST_F(Lists, LinkListsSelectInStepAndDeleteOrRenameTheirItem) {
    // An item without a name stays a row of its own, so later rows still name their items.
    Fill(Main().mnuMyWebs, {{"", "http://nameless.example/"},
                            {"Bee", "http://b.example/?q=1&r=2"},
                            {"Sea", "http://c.example/"}});
    WhileShown([&] {
        auto& w = Window();
        EXPECT_EQ(Rows(w.lstWebname), (std::vector<std::string>{"", "Bee", "Sea"}));
        EXPECT_EQ(Rows(w.lstWebAddr).size(), 3u);
        // A press on the second address, as the user makes it.
        RECT r{};
        SendMessageA(w.lstWebAddr.hWnd(), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
        const LPARAM at = MAKELPARAM(r.left + 2, r.top + 2);
        SendMessageA(w.lstWebAddr.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(w.lstWebAddr.hWnd(), WM_LBUTTONUP, 0, at);
        EXPECT_TRUE(formstest::PumpUntil([&] { return w.lstWebname.ListIndex() == 1; }, 2000));
        EXPECT_EQ(w.lstWebAddr.ToolTipText(), "http://b.example/?q=1&r=2");
        EXPECT_TRUE(w.Webctls(0).Enabled() && w.Webctls(1).Enabled());

        formstest::Script script;
        // Rename keeps the address byte for byte, and the row.
        script->ExpectInputBox("Please enter the new name", "Change Name", "Bee", "Bea");
        w.Webctls(1).Click();
        EXPECT_EQ(w.lstWebname.ListIndex(), 1);
        // Delete the last row: the new last is selected.
        w.lstWebname.SetListIndex(2);
        script->ExpectMsgBox("Are you sure you want to delete 'Sea' from your imaging websites", forms::mb::YesNo,
                             "Delete Link?", Yes);
        w.Webctls(0).Click();
        EXPECT_EQ(Rows(w.lstWebname), (std::vector<std::string>{"", "Bea"}));
        EXPECT_EQ(w.lstWebname.ListIndex(), 1);
        EXPECT_EQ(w.lstWebAddr.ListIndex(), 1);
        EXPECT_EQ(script->Remaining(), 0u);
    });
    EXPECT_EQ(coretest::Items(Main().mnuMyWebs),
              (std::vector<MenuItem>{{"", "http://nameless.example/"}, {"Bea", "http://b.example/?q=1&r=2"}}));

    Fill(Main().mnuMyWebs, {{"Only", "http://only.example/"}});
    WhileShown([&] {
        auto& w = Window();
        formstest::Script script;
        script->ExpectMsgBox("Are you sure you want to delete 'Only' from your imaging websites", forms::mb::YesNo,
                             "Delete Link?", Yes);
        w.Webctls(0).Click();
        EXPECT_EQ(w.lstWebname.ListCount(), 0);
        EXPECT_EQ(w.lstWebAddr.ListCount(), 0);
        EXPECT_FALSE(w.Webctls(0).Enabled() || w.Webctls(1).Enabled());
    });
}

TEST_F(Lists, HomeFolderFromTheMainWindowAndNoFavourites) {
    Main().CurrentFolder = "D:\\current";
    WhileShown([&] {
        auto& w = Window();
        w.cmdCurrent.SetValue(true);
        EXPECT_EQ(w.startdir.Caption(), "D:\\current");
        formstest::Script script;
        script->ExpectMsgBox("There are no favourites set!", forms::mb::OkOnly | forms::mb::Exclamation,
                             "No Favourites", Ok);
        w.fav.SetValue(true);
        EXPECT_EQ(script->Remaining(), 0u);
    });

}

TEST_F(Lists, DesktopShortcutsToBothProgramsAndAFailureSaid) {
    const std::string program = forms::ProgramFolder() + "\\" + forms::App::EXEName() + ".exe";
    const std::string update = forms::ProgramFolder() + "\\qvupdate.exe";
    temp_.Write("Program\\" + forms::App::EXEName() + ".exe", "MZ");
    temp_.Write("Program\\qvupdate.exe", "MZ");
    const std::string main = DesktopFolder() + "\\Quillview.lnk";
    const std::string updater = DesktopFolder() + "\\Quillview Update.lnk";
    const auto clean = [&] {
        for (const std::string& file : {main, updater}) {
            DeleteFileA(file.c_str());
            RemoveDirectoryA(file.c_str());
        }
    };
    clean();
    WhileShown([&] {
        Window().cmdDesktop.SetValue(true);
        EXPECT_TRUE(LinkTarget(main) == program) << LinkTarget(main);
        EXPECT_TRUE(LinkTarget(updater) == update) << LinkTarget(updater);
        // A folder where the program's shortcut would go: it cannot be made, and the user is told.
        clean();
        ASSERT_TRUE(CreateDirectoryA(main.c_str(), nullptr));
        formstest::Script script;
        script->ExpectMsgBox("The desktop shortcut 'Quillview' could not be made.",
                             forms::mb::OkOnly | forms::mb::Exclamation, "Quillview", Ok);
        Window().cmdDesktop.SetValue(true);
        EXPECT_EQ(script->Remaining(), 0u);
    });
    clean();
}

}  // namespace
}  // namespace optionstest
