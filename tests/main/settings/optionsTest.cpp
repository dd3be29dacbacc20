// The options window shown modally as the main window shows it, over its own settings subtree: what a
// creation and a showing read, what OK, Apply, Cancel and the close box store.
#include "tests/main/settings/OptionsFixture.h"

#include "platform/forms/InputBox.h"
#include "platform/runtime/OwnedHandles.h"
#include "platform/runtime/Paths.h"
#include "platform/runtime/UserPaths.h"

#include <commctrl.h>

#include <gtest/gtest.h>

namespace optionstest {
namespace {

using forms::answer::Ok;

void Clear() {
    for (const char* section : {"Options", "Interface", "FullScreen"}) forms::DeleteSetting(kApp, section);
}

// Presses a key in the window's focused control as a user would.
void PressKey(WPARAM key) {
    const HWND focus = GetFocus();
    PostMessageA(focus, WM_KEYDOWN, key, 1);
    PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
}

class Options : public OptionsTest {};

TEST_F(Options, TheHiddenCreationLaysOutOnlyAndEachShowingReadsTheStore) {
    Store("Options", "LastDirectory", "1");
    Store("Interface", "Startdir", "D:\\pictures");
    BindOptionsLists();
    auto& w = Window();
    EXPECT_TRUE(w.IsLoaded());
    EXPECT_FALSE(IsWindowVisible(w.hWnd()));
    EXPECT_FALSE(Module1::DialogOpen());
    EXPECT_EQ(w.startdir.Caption(), "C:\\") << "the design, nothing read";
    EXPECT_EQ(w.chkLastdir.Value(), 0);
    EXPECT_EQ(Module1::gEditorsMenu().TagList, &w.EditorsList);
    EXPECT_EQ(Module1::gMyWebsMenu().NameList, &w.lstWebname);
    EXPECT_EQ(Module1::gMyWebsMenu().TagList, &w.lstWebAddr);

    // The layout's arithmetic and the tabs.
    EXPECT_FLOAT_EQ(w.Width(), 6035);
    EXPECT_FLOAT_EQ(w.Height(), 6770);
    EXPECT_FLOAT_EQ(w.cmdOK.Left(), 2395);
    EXPECT_FLOAT_EQ(w.cmdCancel.Left(), 3575);
    EXPECT_FLOAT_EQ(w.cmdApply.Left(), 4755);
    EXPECT_FLOAT_EQ(w.cmdHelp.Left(), 120);
    for (auto* b : {&w.cmdOK, &w.cmdCancel, &w.cmdApply, &w.cmdHelp}) EXPECT_FLOAT_EQ(b->Top(), 5910);
    ASSERT_EQ(w.Tabs.TabCount(), 5);
    const char* captions[] = {"Main", "Full Screen", "Links", "Editors", "Advanced"};
    for (int i = 1; i <= 5; ++i) EXPECT_EQ(w.Tabs.TabCaption(i), captions[i - 1]);
    EXPECT_EQ(w.Tabs.SelectedIndex(), 1);

    // Changed after the creation: the first showing shows it.
    Store("Interface", "Startdir", "E:\\later");
    WhileShown([&] {
        EXPECT_TRUE(Module1::DialogOpen());
        EXPECT_FALSE(IsWindowEnabled(Main().hWnd())) << "modal";
        EXPECT_NE(GetWindow(w.hWnd(), GW_OWNER), Main().hWnd()) << "shown without owner";
        EXPECT_EQ(w.Caption(), "Options");
        EXPECT_EQ(w.startdir.Caption(), "E:\\later");
        EXPECT_EQ(w.chkLastdir.Value(), 1);
        EXPECT_FALSE(w.cmdCurrent.Enabled());
        EXPECT_FALSE(w.Command1.Enabled());
        EXPECT_FALSE(w.fav.Enabled());
        w.chkLastdir.SetValue(0);
        EXPECT_TRUE(w.cmdCurrent.Enabled() && w.Command1.Enabled() && w.fav.Enabled());
    });
    EXPECT_FALSE(w.IsLoaded());
    EXPECT_FALSE(Module1::DialogOpen());
    EXPECT_EQ(Stored("Options", "LastDirectory"), "1") << "Cancel stores nothing";
}

struct LoadRow {
    const char* name;
    std::vector<std::tuple<const char*, const char*, const char*>> stored;  // section, key, text
    std::function<void(options&)> check;
    const char* message = nullptr;  // the one box loading shows
};

TEST_F(Options, LoadingTurnsEachStoredTextIntoItsControl) {
    const std::string root = forms::RootOf(forms::ProgramFolder());
    const LoadRow rows[] = {
        {"empty store", {},
         [&](options& w) {
             EXPECT_EQ(w.startdir.Caption(), root);
             for (auto* box : {&w.chkLastdir, &w.chkFollowOp, &w.chkFlatCtl, &w.chkSystray, &w.chkBrowsers,
                               &w.chkImgFll, &w.chkRevNav, &w.chkDisFSNav, &w.chkShowMBalways, &w.chkGreyMode,
                               &w.chkFavorite, &w.chkCloseAfter1, &w.chkDelFavs, &w.chkGIF87a, &w.chkFP98,
                               &w.chkFP2000})
                 EXPECT_EQ(box->Value(), 0) << box->Name();
             for (auto* box : {&w.Check5, &w.Check1, &w.chkMaintain, &w.chkLoadTipsAtStartup, &w.chkRecFiles})
                 EXPECT_EQ(box->Value(), 1) << box->Name();
             EXPECT_FALSE(w.optShowMinim.Enabled());
             EXPECT_FALSE(w.optShowAlways.Enabled());
             EXPECT_TRUE(w.optShowMinim.Value());
             EXPECT_TRUE(w.optAutowbnm.Value());
             EXPECT_FALSE(w.optPromptwnm.Value());
             EXPECT_EQ(w.txtScollsen.Text(), "3");
             EXPECT_EQ(w.txtDragSen.Text(), "3");
             EXPECT_FALSE(w.chkFP98.Enabled());
             EXPECT_FALSE(w.chkFP2000.Enabled());
             EXPECT_TRUE(w.chkRevNav.Enabled());
             EXPECT_FALSE(Main().SupportMoreBrowsers);
         }},
        {"Normal and Off exactly", {{"Interface", "ImageSize", "Normal"}, {"FullScreen", "Info", "Off"}},
         [](options& w) {
             EXPECT_EQ(w.Check1.Value(), 0);
             EXPECT_EQ(w.Check5.Value(), 0);
         }},
        {"normal and off in lower case", {{"Interface", "ImageSize", "normal"}, {"FullScreen", "Info", "off"}},
         [](options& w) {
             EXPECT_EQ(w.Check1.Value(), 1);
             EXPECT_EQ(w.Check5.Value(), 1);
         }},
        {"both of each option pair True: the later one wins",
         {{"Options", "promptwnm", "True"}, {"Options", "autowbnm", "True"}, {"Options", "showminim", "True"},
          {"Options", "showalways", "True"}},
         [](options& w) {
             EXPECT_TRUE(w.optAutowbnm.Value());
             EXPECT_FALSE(w.optPromptwnm.Value());
             EXPECT_TRUE(w.optShowAlways.Value());
             EXPECT_FALSE(w.optShowMinim.Value());
         }},
        {"a bad check-box text fails alone", {{"Options", "followop", "yes"}, {"Options", "flatctl", "1"}},
         [](options& w) {
             EXPECT_EQ(w.chkFollowOp.Value(), 0);
             EXPECT_EQ(w.chkFlatCtl.Value(), 1);
             EXPECT_EQ(w.chkGreyMode.Value(), 0);
         },
         "Type mismatchError Number: 13"},
        {"a bad option text fails alone", {{"Options", "autowbnm", "perhaps"}, {"Options", "promptwnm", "True"}},
         [](options& w) {
             EXPECT_TRUE(w.optPromptwnm.Value());
             EXPECT_FALSE(w.optAutowbnm.Value());
         },
         "Type mismatchError Number: 13"},
        {"stored choices that act on other controls",
         {{"Options", "LastDirectory", "1"}, {"Options", "systrayicon", "1"}, {"Options", "supportmb", "1"},
          {"Options", "disfsnav", "1"}, {"Options", "recyc", "0"}},
         [](options& w) {
             EXPECT_FALSE(w.fav.Enabled());
             EXPECT_TRUE(w.optShowMinim.Enabled());
             EXPECT_TRUE(w.optShowAlways.Enabled());
             EXPECT_TRUE(Main().SupportMoreBrowsers);
             EXPECT_FALSE(w.chkRevNav.Enabled());
             EXPECT_EQ(w.chkRecFiles.Value(), 0) << "a stored 0 is the user's choice";
         }},
        {"sensitivities 5 and 9", {{"Options", "scrollsen", "5"}, {"Options", "dragsen", "9"}},
         [](options& w) {
             EXPECT_EQ(w.txtScollsen.Text(), "5");
             EXPECT_EQ(w.txtDragSen.Text(), "3");
             // Up from 5 gives 6, the top.
             SendMessageA(w.Scrollsen.hWnd(), WM_KEYDOWN, VK_UP, 1);
             EXPECT_EQ(w.txtScollsen.Text(), "6");
             SendMessageA(w.Scrollsen.hWnd(), WM_KEYDOWN, VK_UP, 1);
             EXPECT_EQ(w.txtScollsen.Text(), "6");
         }},
        {"sensitivity x", {{"Options", "scrollsen", "x"}},
         [](options& w) { EXPECT_EQ(w.txtScollsen.Text(), "3"); }},
    };
    for (const LoadRow& row : rows) {
        SCOPED_TRACE(row.name);
        Clear();
        Main().SupportMoreBrowsers = false;
        for (const auto& [section, key, text] : row.stored) Store(section, key, text);
        formstest::Script script;
        if (row.message) script->ExpectMsgBox(row.message, forms::mb::OkOnly, "Quillview", Ok);
        WhileShown([&] { row.check(Window()); });
        EXPECT_EQ(script->Remaining(), 0u);
    }
}

// The 32-bit editors register under the 32-bit programs' view of the machine's registry on 64-bit Windows; a
// key in the other view is found too. Each box is offered only while its editor's program is there.
TEST_F(Options, TheEditorsAreFoundInEitherViewOfTheMachinesRegistry) {
    struct Case {
        const char* what;
        REGSAM view;
        const char* key;
        const char* value;
        std::string folderText;  // as the installer wrote it
        bool fp98, fp2000;
    };
    const std::string editor = temp_ / "editor";
    CreateDirectoryA(editor.c_str(), nullptr);
    CreateDirectoryA((editor + "\\Bin").c_str(), nullptr);
    temp_.Write("editor\\Bin\\fpeditor.exe", "MZ");
    temp_.Write("editor\\Frontpg.exe", "MZ");
    constexpr char kFp98[] = "SOFTWARE\\Microsoft\\FrontPage\\3.0";
    constexpr char kFp2000[] = "SOFTWARE\\Microsoft\\Office\\9.0\\Common\\InstallRoot";
    const Case cases[] = {
        {"FrontPage 98, 32-bit view", KEY_WOW64_32KEY, kFp98, "FrontPageRoot", "\"" + editor + "\"", true, false},
        {"FrontPage 98, 64-bit view", KEY_WOW64_64KEY, kFp98, "FrontPageRoot", editor, true, false},
        {"FrontPage 2000, 32-bit view", KEY_WOW64_32KEY, kFp2000, "Path", editor + "\\", false, true},
        {"FrontPage 2000, 64-bit view", KEY_WOW64_64KEY, kFp2000, "Path", editor, false, true},
    };
    // The keys, then their parents, in the order they can go; those the machine had before stay.
    const std::vector<std::string> made = {kFp98, "SOFTWARE\\Microsoft\\FrontPage", kFp2000,
                                           "SOFTWARE\\Microsoft\\Office\\9.0\\Common",
                                           "SOFTWARE\\Microsoft\\Office\\9.0", "SOFTWARE\\Microsoft\\Office"};
    std::vector<std::pair<std::string, REGSAM>> theTests;
    for (const REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
        for (const std::string& key : made) {
            forms::UniqueKey there;
            if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | view, there.put()) != ERROR_SUCCESS) {
                theTests.emplace_back(key, view);
            }
        }
    }
    const auto removeKeys = [&] {
        for (const auto& [key, view] : theTests) RegDeleteKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), view, 0);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        removeKeys();
        forms::UniqueKey key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, c.key, 0, nullptr, 0, KEY_SET_VALUE | c.view, nullptr,
                                  key.put(), nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExA(key.get(), c.value, 0, REG_SZ, reinterpret_cast<const BYTE*>(c.folderText.c_str()),
                                 static_cast<DWORD>(c.folderText.size() + 1)),
                  ERROR_SUCCESS);
        WhileShown([&] {
            EXPECT_EQ(Window().chkFP98.Enabled(), c.fp98);
            EXPECT_EQ(Window().chkFP2000.Enabled(), c.fp2000);
        });
    }
    removeKeys();
}

TEST_F(Options, OkStoresEveryKeyInItsStoredForm) {
    Clear();
    WhileShown([] {
        auto& w = Window();
        w.Check1.SetValue(0);
        w.chkRevNav.SetValue(1);
        w.chkDelFavs.SetValue(1);
        w.chkImgFll.SetValue(1);
        w.chkLastdir.SetValue(1);
        w.startdir.SetCaption("D:\\home");
        w.Check5.SetValue(0);
        w.chkLoadTipsAtStartup.SetValue(0);
        w.chkDisFSNav.SetValue(1);
        w.chkShowMBalways.SetValue(1);
        w.chkGreyMode.SetValue(1);
        w.chkBrowsers.SetValue(1);
        w.txtDragSen.SetText("2");
        w.txtScollsen.SetText("6");
        w.chkCloseAfter1.SetValue(1);
        w.chkFollowOp.SetValue(1);
        w.chkFlatCtl.SetValue(1);
        w.chkRecFiles.SetValue(0);
        w.optPromptwnm.SetValue(true);
        w.chkSystray.SetValue(1);
        w.optShowAlways.SetValue(true);
        w.chkMaintain.SetValue(0);
        w.chkFavorite.SetValue(1);
        w.chkGIF87a.SetValue(1);
        w.cmdOK.SetValue(true);
    });
    EXPECT_FALSE(Window().IsLoaded());
    std::map<std::string, std::string> expected = {
        {"Interface|ImageSize", "Normal"}, {"Options|fsnav", "1"},         {"Options|DelFavs", "1"},
        {"Options|imgfll", "1"},           {"Options|LastDirectory", "1"}, {"Interface|Startdir", "D:\\home"},
        {"FullScreen|Info", "Off"},        {"Options|Show Tips at Startup", "0"},
        {"Options|disfsnav", "1"},         {"Options|fsmbal", "1"},        {"Options|greymode", "1"},
        {"Options|supportmb", "1"},        {"Options|dragsen", "2"},       {"Options|scrollsen", "6"},
        {"Options|closeafter1", "1"},      {"Options|followop", "1"},      {"Options|flatctl", "1"},
        {"Options|recyc", "0"},            {"Options|promptwnm", "True"},  {"Options|autowbnm", "False"},
        {"Options|systrayicon", "1"},      {"Options|showalways", "True"}, {"Options|showminim", "False"},
        {"Options|maintainass", "0"},      {"Options|favorite", "1"},      {"Options|gif87a", "1"},
    };
    for (const auto& type : filetypes::kFileTypes)
        expected["Options|" + type.Key()] = Module1::gFileAssoc().Associated(type.properName, forms::ProgramFolder(),
                                                                             Program(), ".exe", "Open", type.extension)
                                                ? "1"
                                                : "0";
    EXPECT_EQ(StoredSettings(), expected);
    EXPECT_TRUE(Main().SupportMoreBrowsers);
}

TEST_F(Options, CancelAndTheCloseBoxStoreNothingAndPutTheBrowserFlagBack) {
    Clear();
    Store("Options", "supportmb", "0");
    for (const bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox ? "close box" : "Cancel");
        const auto before = StoredSettings();
        const Tree classesBefore = ReadTree(HKEY_CLASSES_ROOT, ".png");
        bool ran = false;
        formstest::Later([&] {
            auto& w = Window();
            w.chkBrowsers.SetValue(1);
            EXPECT_TRUE(Main().SupportMoreBrowsers) << "at once";
            w.chkFlatCtl.SetValue(1);
            w.cmdCheckall.SetValue(true);
            w.startdir.SetCaption("Z:\\");
            ran = true;
            if (closeBox) PostMessageA(w.hWnd(), WM_CLOSE, 0, 0);
            else PressKey(VK_ESCAPE);
        });
        Window().Show(forms::ShowMode::Modal);
        EXPECT_TRUE(ran);
        EXPECT_FALSE(Window().IsLoaded());
        EXPECT_EQ(StoredSettings(), before);
        EXPECT_EQ(ReadTree(HKEY_CLASSES_ROOT, ".png"), classesBefore);
        EXPECT_FALSE(Main().SupportMoreBrowsers);
    }
}

TEST_F(Options, EnterIsOkAndApplyTwiceChangesNothingTheSecondTime) {
    Clear();
    WhileShown([&] {
        auto& w = Window();
        w.chkGreyMode.SetValue(1);
        w.cmdApply.SetValue(true);
        EXPECT_TRUE(w.IsLoaded());
        const auto first = StoredSettings();
        EXPECT_EQ(first.at("Options|greymode"), "1");
        w.cmdApply.SetValue(true);
        EXPECT_EQ(StoredSettings(), first);
        w.chkFollowOp.SetFocus();
        PressKey(VK_RETURN);
        EXPECT_TRUE(formstest::PumpUntil([&] { return !w.IsLoaded(); }, 3000)) << "Enter is OK";
    });
}

TEST_F(Options, AFailingStepIsReportedTheOthersAreStoredAndOkStaysOpen) {
    Clear();
    // The application key is volatile: the missing FullScreen section cannot be made under it, the others exist.
    const std::string app = settings_.Root() + "\\" + kApp;
    RegDeleteTreeA(HKEY_CURRENT_USER, app.c_str());
    for (const std::string& key : {app, app + "\\Options", app + "\\Interface"}) {
        HKEY made = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                                  nullptr, &made, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(made);
    }
    formstest::Script script;
    WhileShown([&] {
        auto& w = Window();
        w.chkGreyMode.SetValue(1);
        script->ExpectMsgBox("Invalid procedure call or argument ErrorNumber: 5", forms::mb::OkOnly, "Quillview", Ok);
        w.cmdOK.SetValue(true);
        EXPECT_TRUE(w.IsLoaded()) << "the choices stay on the screen";
        EXPECT_EQ(script->Remaining(), 0u) << (script->Seen().empty() ? "" : script->Seen().back());
    });
    EXPECT_EQ(Stored("Options", "greymode"), "1");
    EXPECT_EQ(Stored("Options", "gif87a"), "0") << "later steps ran";
    EXPECT_EQ(Stored("FullScreen", "Info"), "<none>");
    RegDeleteTreeA(HKEY_CURRENT_USER, app.c_str());
}

TEST_F(Options, EditLinksOpensOnTheLinksPageAndTheTabStripSwitchesPages) {
    Clear();
    auto& w = Window();
    // What the main window's Go > Edit Links does before the showing.
    w.Tabs.SelectTab("links");
    w.fraMain(1).SetVisible(false);
    w.fraMain(3).ZOrder(0);
    w.fraMain(3).SetVisible(true);
    WhileShown([&] {
        EXPECT_EQ(w.Tabs.SelectedIndex(), 3);
        EXPECT_TRUE(IsWindowVisible(w.fraMain3.hWnd()));
        EXPECT_FALSE(IsWindowVisible(w.fraMain1.hWnd()));
        // A click on the fifth tab, as the user makes it.
        RECT r{};
        SendMessageA(w.Tabs.hWnd(), TCM_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&r));
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        PostMessageA(w.Tabs.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(w.Tabs.hWnd(), WM_LBUTTONUP, 0, at);
        EXPECT_TRUE(formstest::PumpUntil([&] { return w.Tabs.SelectedIndex() == 5; }, 3000));
        for (int i = 1; i <= 5; ++i) EXPECT_EQ(IsWindowVisible(w.fraMain(i).hWnd()) != 0, i == 5) << i;
    });
}

}  // namespace
}  // namespace optionstest
