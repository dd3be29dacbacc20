// The File, View and Help commands, the tray and the Go menu on the real main window.
#include "tests/main/browser/MenusFixture.h"

#include "main/core/clsVarMenus.h"
#include "main/settings/options.h"
#include "main/windows/frmAbout.h"
#include "main/windows/frmFileseek.h"
#include "main/windows/frmQVSadvert.h"
#include "main/windows/frmTips.h"
#include "platform/runtime/App.h"
#include "platform/runtime/MsgBox.h"
#include "tests/lib/services/DialogDriver.h"
#include "tests/main/core/Recorder.h"
#include "tests/support/ShellOpenRecorder.h"

namespace {

using menustest::Menus;
using menustest::OpensPopup;

constexpr char kSaveQuestion[] = "The image showing has not been saved, save it now?";
constexpr int kSaveButtons = forms::mb::YesNoCancel | forms::mb::Exclamation;

TEST_F(Menus, FileMenuEnablesTheFileCommandsOnlyWithAPicturePath) {
    auto& w = Window();
    for (const bool withPath : {true, false, true}) {
        Module1::gCurrentImagePath = withPath ? folder_ / "a.bmp" : "";
        w.mnuFileItem_Click();
        for (forms::Menu* item : {&w.mnuRename, &w.mnuMove, &w.mnuCopyFile, &w.mnuDel}) {
            EXPECT_EQ(item->Enabled(), withPath) << item->Name();
        }
        for (int i = 0; i <= 3; ++i) EXPECT_EQ(w.Fbts(i).Enabled(), withPath) << i;
    }
}

TEST_F(Menus, CloseAsksForAnUnsavedPictureAndClosesOnlyOnNo) {
    struct Case {
        bool saved;
        int answer;  // 0: no question
        bool closed;
    };
    const Case cases[] = {
        {true, 0, true},
        {false, forms::answer::Yes, false},  // the save (cancelled here) keeps the picture
        {false, forms::answer::Cancel, false},
        {false, forms::answer::No, true},
    };
    auto& w = Window();
    for (const Case& c : cases) {
        Choose(1);
        Module1::gImageSaved = c.saved;
        if (c.answer) answers_.ExpectMsgBox(kSaveQuestion, kSaveButtons, "Save Image?", c.answer);
        {
            const DialogDriver save(DialogDriver::Cancel);
            w.mnuClose_Click();
            EXPECT_EQ(save.Acted(), c.answer == forms::answer::Yes);
        }
        EXPECT_EQ(w.LogoShown(), c.closed) << c.answer;
        EXPECT_EQ(w.File1.ListIndex(), c.closed ? -1 : 1) << c.answer;
        if (c.closed) {
            EXPECT_FALSE(w.mnuClose.Enabled());
            EXPECT_EQ(w.Caption(), "Quillview - Vivid Imaging");
        } else {
            EXPECT_EQ(w.Caption(), "Quillview - b.bmp");
        }
        EXPECT_EQ(answers_.Remaining(), 0u);
        Module1::gImageSaved = true;
    }
}

// Choosing another file while the picture shown is unsaved: Yes saves first, Cancel and a Yes whose save is
// cancelled load nothing and leave no entry chosen, not even one chosen before the picture came, on which Del,
// F2 or Move would then act; No loads the file.
TEST_F(Menus, ChoosingAFileOverAnUnsavedPictureAsksFirst) {
    struct Case {
        int answer;
        bool loads;
    };
    const Case cases[] = {
        {forms::answer::Cancel, false},
        {forms::answer::Yes, false},  // the save dialog cancelled
        {forms::answer::No, true},
    };
    auto& w = Window();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        // b.bmp chosen and closed, then a picture without a file.
        Choose(1);
        w.mnuClose_Click();
        Module1::ShowImage(forms::StdPicture::FromBitmap(qvtest::PaintedBitmap(8, 6, {})));
        ASSERT_FALSE(Module1::gImageSaved);
        ASSERT_EQ(w.File1.ListIndex(), -1);
        answers_.ExpectMsgBox(kSaveQuestion, kSaveButtons, "Save Image?", c.answer);
        {
            const DialogDriver save(DialogDriver::Cancel);
            w.File1.SetListIndex(2);
            EXPECT_EQ(save.Acted(), c.answer == forms::answer::Yes);
        }
        EXPECT_EQ(answers_.Remaining(), 0u);
        EXPECT_EQ(w.Caption(), c.loads ? "Quillview - c.bmp" : "Quillview - Unsaved Image");
        EXPECT_EQ(w.File1.ListIndex(), c.loads ? 2 : -1);
        EXPECT_EQ(w.File1.SelCount(), c.loads ? 1 : 0);
        EXPECT_EQ(Module1::gCurrentImagePath, c.loads ? folder_ / "c.bmp" : "");
        Module1::gImageSaved = true;
    }
}

// File > Close leaves no selection in the list, however many entries the user had selected.
TEST_F(Menus, ClosingThePictureClearsEverySelection) {
    auto& w = Window();
    Choose(0);
    w.File1.SetSelected(2, true);
    ASSERT_EQ(w.File1.SelCount(), 2);
    w.mnuClose_Click();
    EXPECT_TRUE(w.LogoShown());
    EXPECT_EQ(w.File1.SelCount(), 0);
    EXPECT_EQ(w.File1.ListIndex(), -1);
}

TEST_F(Menus, FileTypesKeepThePathOfAPictureTheUserKept) {
    struct Case {
        bool saved;
        int answer;
        bool pathKept;
    };
    const Case cases[] = {
        {true, 0, false},
        {false, forms::answer::No, false},
        {false, forms::answer::Yes, true},
        {false, forms::answer::Cancel, true},
    };
    auto& w = Window();
    w.File1.SetPattern(w.SetPattern());
    const int gif = 2;
    for (const Case& c : cases) {
        Choose(0);
        const std::string path = Module1::gCurrentImagePath;
        ASSERT_EQ(path, folder_ / "a.bmp");
        Module1::gImageSaved = c.saved;
        const bool checked = w.mnuFTs(gif).Checked();
        if (c.answer) answers_.ExpectMsgBox(kSaveQuestion, kSaveButtons, "Save Image?", c.answer);
        {
            const DialogDriver save(DialogDriver::Cancel);
            w.mnuFTs_Click(gif);
            EXPECT_EQ(save.Acted(), c.answer == forms::answer::Yes);
        }
        EXPECT_NE(w.mnuFTs(gif).Checked(), checked);
        EXPECT_EQ(Module1::gCurrentImagePath, c.pathKept ? path : "") << c.answer;
        EXPECT_EQ(w.LogoShown(), !c.pathKept) << c.answer;
        EXPECT_EQ(answers_.Remaining(), 0u);
        Module1::gImageSaved = true;
    }
}

// View > Back Colour through the window's menu: the view shows the colour at once, one item carries the mark,
// the choice is stored; From Palette opens the system's dialog on black, owned by the window, and its Cancel
// changes nothing.
TEST_F(Menus, BackColourShowsMarksAndStoresTheChoice) {
    auto& w = Window();
    Choose(0);
    w.Show();
    const auto shownCorner = [&] {
        RedrawWindow(w.hWnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        const HDC dc = GetDCEx(w.Picture1.hWnd(), nullptr, DCX_CACHE);
        const COLORREF pixel = GetPixel(dc, 2, 2) & 0xFFFFFF;
        ReleaseDC(w.Picture1.hWnd(), dc);
        return pixel;
    };
    const auto marked = [&] {
        std::string items;
        for (forms::Menu* m : {&w.mnuBGrey, &w.mnuBWhite, &w.mnuBBlack, &w.mnuChooseCol}) {
            if (m->Checked()) items += (items.empty() ? "" : ",") + m->Name();
        }
        return items;
    };
    // In the dialog: what it opened on, then a colour typed into its red, green and blue boxes.
    std::string openedOn, dialogOwnerIsWindow;
    const auto pick = [&](const char* red, const char* green, const char* blue, bool confirm) {
        return [&, red, green, blue, confirm](HWND dialog) {
            openedOn.clear();
            for (const int box : {706, 707, 708}) openedOn += std::to_string(GetDlgItemInt(dialog, box, nullptr, FALSE));
            dialogOwnerIsWindow = GetWindow(dialog, GW_OWNER) == w.hWnd() ? "yes" : "no";
            SetDlgItemTextA(dialog, 706, red);
            SetDlgItemTextA(dialog, 707, green);
            SetDlgItemTextA(dialog, 708, blue);
            confirm ? DialogDriver::Confirm(dialog) : DialogDriver::Cancel(dialog);
        };
    };
    struct Case {
        const char* what;
        forms::Menu& item;
        DialogDriver::Action dialog;  // empty: no dialog
        forms::OleColor colour;
        const char* mark;
        const char* stored;
    };
    const Case cases[] = {
        {"Grey", w.mnuBGrey, {}, 0xC0C0C0, "mnuBGrey", "Grey"},
        {"From Palette, OK", w.mnuChooseCol, pick("144", "96", "48", true), 0x306090, "mnuChooseCol", "3170448"},
        {"White", w.mnuBWhite, {}, 0xFFFFFF, "mnuBWhite", "White"},
        {"From Palette, Cancel", w.mnuChooseCol, pick("1", "2", "3", false), 0xFFFFFF, "mnuBWhite", "White"},
        {"Black", w.mnuBBlack, {}, 0x000000, "mnuBBlack", "Black"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        {
            const DialogDriver driver(c.dialog ? c.dialog : DialogDriver::Action([](HWND) {}));
            SendMessageA(w.hWnd(), WM_COMMAND, MAKEWPARAM(c.item.Id(), 0), 0);
            EXPECT_EQ(driver.Acted(), static_cast<bool>(c.dialog));
        }
        if (c.dialog) {
            EXPECT_EQ(openedOn, "000") << "the dialog opens on black";
            EXPECT_EQ(dialogOwnerIsWindow, "yes");
        }
        EXPECT_EQ(w.Picture1.BackColor(), c.colour);
        EXPECT_EQ(shownCorner(), forms::ToColorRef(c.colour));
        EXPECT_EQ(marked(), c.mark);
        EXPECT_EQ(Stored("Interface", "Colour"), c.stored);
    }
    // The next picture that replaces the logo brings the stored choice back.
    forms::SaveSetting("Quillview2", "Interface", "Colour", "3170448");
    w.mnuClose_Click();
    Choose(1);
    EXPECT_EQ(w.Picture1.BackColor(), 0x306090u);
    EXPECT_EQ(shownCorner(), RGB(0x90, 0x60, 0x30));
}

TEST_F(Menus, TipsItemFollowsTheStoredChoiceAndLeavesNoHiddenTipsWindow) {
    auto& w = Window();
    Choose(0);
    forms::Default<frmTips>().Unload();
    // Showing a picture cleared the mark; the stored choice (nothing stored: on) decides.
    ASSERT_FALSE(w.mnuTips.Checked());
    w.mnuTips_Click();
    EXPECT_EQ(Stored("Options", "Show Tips at Startup"), "0");
    EXPECT_FALSE(w.mnuTips.Checked());
    EXPECT_FALSE(forms::Default<frmTips>().IsLoaded()) << "switched off without loading the tips window";
    EXPECT_FALSE(Module1::DialogOpen()) << "the tray still answers";
    EXPECT_TRUE(w.mnuFullscrn.Enabled()) << "the picture's commands stay";
    EXPECT_TRUE(w.Toolbar(5).Enabled());
    EXPECT_TRUE(w.Toolbar(6).Enabled());
    EXPECT_TRUE(w.mnuStatus.Enabled());

    w.mnuTips_Click();
    EXPECT_EQ(Stored("Options", "Show Tips at Startup"), "1");
    EXPECT_TRUE(w.mnuTips.Checked());
    EXPECT_EQ(forms::Default<frmTips>().chkLoadTipsAtStartup.Value(), 1);
    w.mnuTips_Click();
    EXPECT_EQ(Stored("Options", "Show Tips at Startup"), "0");
    EXPECT_EQ(forms::Default<frmTips>().chkLoadTipsAtStartup.Value(), 0) << "a loaded tips window follows";
    forms::Default<frmTips>().Unload();
}

TEST_F(Menus, PictureAreaPopupOnlyForAShownUntiledPictureAndTheRightButton) {
    auto& w = Window();
    Choose(0);
    struct Case {
        bool tiled;
        bool pictureShown;
        int button;
        bool opens;
    };
    const Case cases[] = {
        {false, true, 2, true}, {false, true, 1, false}, {true, true, 2, false}, {false, false, 2, false},
    };
    for (const Case& c : cases) {
        if (c.tiled != w.Tiled()) w.TilePic_Click();
        w.mnuStatus.SetEnabled(c.pictureShown);
        EXPECT_EQ(OpensPopup([&] { w.Picture1_MouseUp(c.button, 0, 5, 5); }), c.opens)
            << c.tiled << c.pictureShown << c.button;
    }
}

TEST_F(Menus, OpenFileseekShowsItsWindowOwnedByThisOneAndReturnsAtOnce) {
    auto& w = Window();
    w.Show();
    w.mnuFileseek_Click();
    auto& seek = forms::Default<frmFileseek>();
    EXPECT_TRUE(seek.Visible());
    EXPECT_EQ(GetWindow(seek.hWnd(), GW_OWNER), w.hWnd());
    EXPECT_FALSE(Module1::DialogOpen()) << "no dialog: the tray stays live";
    seek.Unload();
}

TEST_F(Menus, OptionsAreAppliedAfterTheOptionsWindowClosesButNotAfterEditLinks) {
    auto& w = Window();
    w.Show();
    struct Case {
        const char* name;
        std::function<void()> command;
        bool applied;
        bool linksPage;
    };
    const Case cases[] = {
        {"Tools > Options", [&] { w.mnuOptions_Click(); }, true, false},
        {"toolbar", [&] { w.Toolbar_Click(7); }, true, false},
        {"Edit Links", [&] { w.mnuEditLinks_Click(); }, false, true},
    };
    for (const Case& c : cases) {
        w.File1.SetAppearance(1);
        forms::SaveSetting("Quillview2", "Options", "flatctl", "1");
        bool shown = false;
        bool linksShown = false;
        bool mainHidden = false;
        formstest::Later([&] {
            auto& o = forms::Default<options>();
            shown = o.Visible() && o.IsModal();
            linksShown = o.fraMain(3).Visible();
            mainHidden = !o.fraMain(1).Visible();
            // Cancel stores nothing: what is applied afterwards is what was stored before.
            o.cmdCancel.SetValue(true);
        });
        c.command();
        EXPECT_TRUE(shown) << c.name;
        EXPECT_FALSE(forms::Default<options>().IsLoaded()) << c.name;
        EXPECT_EQ(w.File1.Appearance(), c.applied ? 0 : 1) << c.name;
        if (c.linksPage) {
            EXPECT_TRUE(linksShown);
            EXPECT_TRUE(mainHidden);
        }
    }
}

// ---- Tray ----

TEST_F(Menus, TrayMenuCopiesTheImagingSitesAsTheyAreNow) {
    auto& w = Window();
    w.Show();
    const auto open = [&] {
        int button = 2;
        return OpensPopup([&] { w.morwen_MouseUp(button); });
    };
    for (int i = 1; i <= 2; ++i) w.mnuImgWebs.Load(i);
    for (int i = 0; i <= 2; ++i) {
        w.mnuImgWebs(i).SetCaption("Site " + std::to_string(i));
        w.mnuImgWebs(i).SetTag("http://site" + std::to_string(i) + ".example/");
    }
    ASSERT_TRUE(open());
    EXPECT_EQ(w.mnuShowQV.Caption(), "Hide Quillview");
    ASSERT_EQ(w.mnuImgWebs2.Count(), 3);
    for (int i = 0; i <= 2; ++i) {
        EXPECT_EQ(w.mnuImgWebs2(i).Caption(), w.mnuImgWebs(i).Caption());
        EXPECT_EQ(w.mnuImgWebs2(i).Tag(), w.mnuImgWebs(i).Tag());
    }

    w.mnuImgWebs.Unload(2);
    w.mnuImgWebs.Unload(1);
    w.mnuImgWebs(0).SetCaption("");
    w.mnuImgWebs(0).SetTag("");
    ASSERT_TRUE(open());
    ASSERT_EQ(w.mnuImgWebs2.Count(), 1) << "only the list's items";
    EXPECT_EQ(w.mnuImgWebs2(0).Caption(), "Update...");

    int left = 1;
    EXPECT_FALSE(OpensPopup([&] { w.morwen_MouseUp(left); }));
}

TEST_F(Menus, TrayWaitsWhileASecondaryWindowIsShown) {
    auto& w = Window();
    w.Show();
    w.mnuShowQV.SetCaption("Show Quillview");
    Module1::DialogOpenHold hold;
    hold.Take();
    int button = 2;
    EXPECT_FALSE(OpensPopup([&] { w.morwen_MouseUp(button); }));
    EXPECT_EQ(w.mnuShowQV.Caption(), "Show Quillview") << "the menu did not open";
    w.morwen_DblClick(1);
    EXPECT_EQ(w.mnuShowQV.Caption(), "Hide Quillview") << "the caption follows the window";
    EXPECT_EQ(w.WindowState(), forms::windowstate::Normal) << "but the window stays";
    hold.GiveBack();
    w.morwen_DblClick(1);
    EXPECT_EQ(w.WindowState(), forms::windowstate::Minimized);
    w.morwen_DblClick(1);
    EXPECT_EQ(w.mnuShowQV.Caption(), "Show Quillview");
    EXPECT_EQ(w.WindowState(), forms::windowstate::Normal);
}

TEST_F(Menus, TrayCopyImageFollowsEditCopyAtEitherEvent) {
    auto& w = Window();
    w.Show();
    Module1::DialogOpenHold hold;
    hold.Take();  // the double click then toggles nothing
    for (const bool copyEnabled : {false, true}) {
        w.mnuCopy.SetEnabled(copyEnabled);
        w.morwen_DblClick(1);
        EXPECT_EQ(w.mnuCopyImg.Enabled(), copyEnabled);
    }
    hold.GiveBack();
    w.mnuCopy.SetEnabled(false);
    int button = 2;
    OpensPopup([&] { w.morwen_MouseUp(button); });
    EXPECT_FALSE(w.mnuCopyImg.Enabled());
}

TEST_F(Menus, TrayCloseAnsweredNoLeavesEverything) {
    auto& w = Window();
    w.Show();
    w.morwen.SetShown(true);
    answers_.ExpectMsgBox("Exit Quillview?", forms::mb::YesNo, forms::App::Title(), forms::answer::No);
    w.mnuCloseQV_Click();
    EXPECT_TRUE(w.IsLoaded());
    EXPECT_TRUE(w.morwen.Shown());
    EXPECT_EQ(answers_.Remaining(), 0u);
}

TEST_F(Menus, AboutFromTheTrayTogglesTheWindowThenShowsTheBoxOverIt) {
    auto& w = Window();
    w.Show();
    w.mnuShowQV.SetCaption("Hide Quillview");
    int state = -1;
    bool held = false;
    HWND owner = nullptr;
    formstest::Later([&] {
        auto& about = forms::Default<frmAbout>();
        state = w.WindowState();
        held = Module1::DialogOpen();
        owner = GetWindow(about.hWnd(), GW_OWNER);
        about.Command1.SetValue(true);
    });
    w.mnuAboutQV_Click();
    EXPECT_EQ(state, forms::windowstate::Minimized);
    EXPECT_TRUE(held);
    EXPECT_EQ(owner, w.hWnd());
    EXPECT_FALSE(Module1::DialogOpen());
}

// ---- Processes ----

class Processes : public Menus {
protected:
    void SetUp() override {
        Menus::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(coretest::Recorder::PlaceAs(program_ + "\\qvupdate.exe"));
    }
    const coretest::Recorder recorder_{folder_ / "started.txt"};
};

TEST_F(Processes, UpdateCommandsStartTheUpdateProgramWithTheirWord) {
    auto& w = Window();
    const std::string program = "\"" + program_ + "\\qvupdate.exe\" ";
    struct Case {
        std::function<void()> command;
        std::string word;
    };
    w.mnuImgWebs(0).SetCaption("Update...");
    const Case cases[] = {
        {[&] { w.mnuUpdate_Click(); }, ""},
        {[&] { w.mnuUpdateLinks_Click(); }, "links"},
        {[&] { w.mnuSubmitweb_Click(); }, "submitweb"},
        {[&] { w.mnuImgWebs_Click(0); }, "links"},
        {[&] { w.mnuImgWebs2(0).SetCaption("Update..."); w.mnuImgWebs2_Click(0); }, "links"},
    };
    std::size_t expected = 0;
    for (const Case& c : cases) {
        c.command();
        const auto lines = recorder_.WaitForLines(++expected);
        ASSERT_EQ(lines.size(), expected);
        EXPECT_EQ(lines.back(), program + c.word);
    }
}

TEST_F(Processes, AnEditorStartsWithBothPathsQuoted) {
    auto& w = Window();
    const std::string editors = folder_ / "my editor";
    CreateDirectoryA(editors.c_str(), nullptr);
    const std::string editor = editors + "\\paint it.exe";
    ASSERT_TRUE(coretest::Recorder::PlaceAs(editor));
    ASSERT_TRUE(qvtest::WriteBitmap(folder_ / "a b.bmp"));
    Module1::gCurrentImagePath = folder_ / "a b.bmp";
    w.mnuEditors(0).SetTag(editor);
    w.mnuEditors_Click(0);
    const auto lines = recorder_.WaitForLines(1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "\"" + editor + "\" \"" + Module1::gCurrentImagePath + "\"");
}

TEST_F(Processes, AnEditorThatIsNoFileIsReportedAndNothingStarts) {
    auto& w = Window();
    Module1::gCurrentImagePath = folder_ / "a.bmp";
    for (const std::string& editor : {folder_ / "gone.exe", folder_.Path()}) {
        answers_.ExpectMsgBox("Cannot launch " + editor, forms::mb::Critical, "File not Found!", forms::answer::Ok);
        w.mnuEditors(0).SetTag(editor);
        w.mnuEditors_Click(0);
    }
    EXPECT_EQ(answers_.Remaining(), 0u);
    w.mnuUpdate_Click();  // a start after them is the first line
    const auto lines = recorder_.WaitForLines(1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "\"" + program_ + "\\qvupdate.exe\" ");
}

TEST_F(Processes, TheStudioStartsQuotedElseNothingStarts) {
    auto& w = Window();
    // Nothing stored: the program folder, which is no file, so the preview box shows.
    bool previewShown = false;
    formstest::Later([&] {
        auto& preview = forms::Default<frmQVSadvert>();
        previewShown = preview.Visible();
        preview.cmdCancel.SetValue(true);
    });
    w.mnuOpenQVStud_Click();
    EXPECT_TRUE(previewShown);
    EXPECT_FALSE(forms::Default<frmQVSadvert>().IsLoaded());
    const std::string studio = folder_ / "studio dir";
    CreateDirectoryA(studio.c_str(), nullptr);
    ASSERT_TRUE(coretest::Recorder::PlaceAs(studio + "\\studio app.exe"));
    forms::SaveSetting("QuillviewStudio", "constants", "path", studio + "\\studio app.exe");
    w.mnuOpenQVStud_Click();
    const auto lines = recorder_.WaitForLines(1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "\"" + studio + "\\studio app.exe\"");
    forms::DeleteSetting("QuillviewStudio", "constants");
}

// ---- Go menu ----

TEST_F(Menus, FixedAndGalleryLinksOpenThroughTheShellAsDocuments) {
    auto& w = Window();
    qvtest::ShellOpenRecorder shell;
    struct Case {
        std::function<void()> command;
        std::string address;
    };
    const Case cases[] = {
        {[&] { w.mnuMail_Click(); }, "Mailto:support@quillview.example"},
        {[&] { w.mnuHomepage_Click(); }, "http://www.quillview.example/"},
        {[&] { w.mnuOVSWebsite_Click(); }, "http://www.orvane.example/"},
        {[&] { w.mnuVividimghme_Click(); }, "http://www.vividimaging.example/"},
        {[&] { w.mnuTobinMarshLnk_Click(0); }, "http://www.tobinmarsh.example"},
        {[&] { w.mnuTobinMarshLnk_Click(1); }, "http://www.tobinmarsh.example/Tutorials.htm"},
        {[&] { w.mnuTobinMarshLnk_Click(6); }, "http://www.tobinmarsh.example/Other.htm"},
    };
    for (const Case& c : cases) {
        shell.opened.clear();
        c.command();
        ASSERT_EQ(shell.opened.size(), 1u) << c.address;
        const auto& r = shell.opened[0];
        EXPECT_EQ(r.verb, "Open");
        EXPECT_EQ(r.file, c.address);
        EXPECT_EQ(r.parameters, "");
        EXPECT_EQ(r.directory, program_);
        EXPECT_EQ(r.show, SW_SHOWNORMAL);
        EXPECT_EQ(r.owner, w.hWnd());
    }
}

TEST_F(Menus, ListLinksThatAreNoWebAddressesAreRefused) {
    auto& w = Window();
    w.mnuMyWebs(0).SetCaption("Sneaky");
    w.mnuImgWebs(0).SetCaption("Sneaky too");
    for (const char* tag : {"C:\\windows\\system32\\calc.exe", "file:///c:/x.exe", "cmd /c del x", ""}) {
        answers_.ExpectMsgBox(std::string("This link cannot be opened, it is no web or mail address:\r\n\r\n") + tag,
                              forms::mb::Exclamation, forms::App::Title(), forms::answer::Ok);
        answers_.ExpectMsgBox(std::string("This link cannot be opened, it is no web or mail address:\r\n\r\n") + tag,
                              forms::mb::Exclamation, forms::App::Title(), forms::answer::Ok);
        w.mnuMyWebs(0).SetTag(tag);
        w.mnuImgWebs(0).SetTag(tag);
        w.mnuMyWebs_Click(0);
        w.mnuImgWebs_Click(0);
    }
    EXPECT_EQ(answers_.Remaining(), 0u);
}

TEST_F(Menus, GoMenuOpeningOffersUpdateForAnEmptySitesListAndGreysAnEmptyOwnList) {
    auto& w = Window();
    w.mnuGoItem_Click();
    EXPECT_EQ(w.mnuImgWebs(0).Caption(), "Update...");
    EXPECT_FALSE(w.mnuMyWeb.Enabled());

    // The update program's list, as it writes it for this user.
    CreateDirectoryA((folder_ / "user").c_str(), nullptr);
    const std::string list = folder_ / "user\\QVSetwebs.dat";
    const std::string text = "http://one.example/<name>One\r\nhttp://two.example/<name>Two\r\n";
    const HANDLE file = CreateFileA(list.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    w.mnuMyWebs(0).SetCaption("Mine");
    w.mnuGoItem_Click();
    ASSERT_EQ(w.mnuImgWebs.Count(), 2);
    EXPECT_EQ(w.mnuImgWebs(0).Caption(), "One");
    EXPECT_EQ(w.mnuImgWebs(1).Tag(), "http://two.example/");
    EXPECT_TRUE(w.mnuMyWeb.Enabled());
}

TEST_F(Menus, AddLinkAsksANameWhenToldOrWhenThePageHasNoTitle) {
    auto& w = Window();
    const auto names = [&] {
        std::vector<std::string> out;
        for (const int i : w.mnuMyWebs.Indexes()) out.push_back(w.mnuMyWebs(i).Caption());
        return out;
    };
    // Without promptwnm the title is the name.
    w.mnuLink(0).SetCaption("Galaxy pictures");
    w.mnuLink(0).SetTag("http://galaxy.example/");
    w.mnuLink_Click(0);
    // A page without a title is asked for one; a blank answer adds nothing.
    w.mnuLink(1).SetCaption("");
    w.mnuLink(1).SetTag("http://untitled.example/");
    answers_.ExpectInputBox("Please enter a name for this website.", "Website Name", "", "   ");
    w.mnuLink_Click(1);
    answers_.ExpectInputBox("Please enter a name for this website.", "Website Name", "", "Untitled");
    w.mnuLink_Click(1);
    // Told to ask, the title is offered.
    forms::SaveSetting("Quillview2", "Options", "promptwnm", "True");
    w.mnuLink(2).SetCaption("Nebulae");
    w.mnuLink(2).SetTag("http://nebulae.example/");
    answers_.ExpectInputBox("Please enter a name for this website.", "Website Name", "Nebulae", "My nebulae");
    w.mnuLink_Click(2);
    EXPECT_EQ(names(), (std::vector<std::string>{"Galaxy pictures", "Untitled", "My nebulae"}));
    EXPECT_EQ(answers_.Remaining(), 0u);
}

}  // namespace
