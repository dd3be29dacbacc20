// The window's three picture states (the logo, a picture with a file, a picture without one) as one table of
// what each leaves enabled, checked, shown or set, each run from everything on and from everything off.
#include "tests/main/TestBitmap.h"
#include "tests/main/browser/ShownWindowFixture.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using browsertest::Window;

enum class After { On, Off, Kept, OnForBitmap, OnWithEditor };

struct Item {
    std::string name;
    std::function<bool()> get;
    std::function<void(bool)> set;
    After logo, withFile, withoutFile;  // after ShowLogo, ImageSaved, ImageStatic
};

template <class C>
Item Enabled(const std::string& name, C& c, After logo, After withFile, After withoutFile) {
    return {name + " enabled", [&c] { return c.Enabled(); }, [&c](bool on) { c.SetEnabled(on); }, logo, withFile,
            withoutFile};
}
template <class C>
Item Shown(const std::string& name, C& c, After logo, After withFile, After withoutFile) {
    return {name + " visible", [&c] { return c.Visible(); }, [&c](bool on) { c.SetVisible(on); }, logo, withFile,
            withoutFile};
}
Item Checked(const std::string& name, forms::Menu& m, After logo, After withFile, After withoutFile) {
    return {name + " checked", [&m] { return m.Checked(); }, [&m](bool on) { m.SetChecked(on); }, logo, withFile,
            withoutFile};
}
Item Flag(const std::string& name, bool& flag, After logo, After withFile, After withoutFile) {
    return {name, [&flag] { return flag; }, [&flag](bool on) { flag = on; }, logo, withFile, withoutFile};
}

// A picture that is no bitmap.
forms::StdPicture Metafile() {
    const HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    Rectangle(dc, 0, 0, 40, 30);
    return forms::StdPicture::FromEnhMetafile(CloseEnhMetaFile(dc));
}

class PictureStates : public browsertest::ShownWindow {
protected:
    PictureStates() : ShownWindow("PictureStates") {}
    // The table below sets the flag on and off; no test inherits it.
    void SetUp() override {
        Module1::gSuppressFileClick = false;
        ShownWindow::SetUp();
    }
    void TearDown() override {
        ShownWindow::TearDown();
        Module1::gSuppressFileClick = false;
    }
};

TEST_F(PictureStates, WhatEachStateLeaves) {
    frmQuillview& w = Window();
    using enum After;
    // The columns: after ShowLogo, after ImageSaved, after ImageStatic.
    const std::vector<Item> items = {
        Enabled("mnuRename", w.mnuRename, Off, On, Off),
        Enabled("mnuMove", w.mnuMove, Off, On, Off),
        Enabled("mnuCopyFile", w.mnuCopyFile, Off, On, Off),
        Enabled("mnuDel", w.mnuDel, Off, On, Off),
        Enabled("Fbts(0)", w.Fbts(0), Off, On, Off),
        Enabled("Fbts(1)", w.Fbts(1), Off, On, Off),
        Enabled("Fbts(2)", w.Fbts(2), Off, On, Off),
        Enabled("Fbts(3)", w.Fbts(3), Off, On, Off),
        Enabled("mnuEditor", w.mnuEditor, Off, OnWithEditor, Off),
        Enabled("mnuSave", w.mnuSave, Off, On, On),
        Enabled("mnuWallpaper", w.mnuWallpaper, On, OnForBitmap, OnForBitmap),
        Enabled("mnuZoom", w.mnuZoom, Off, On, On),
        Enabled("mnuZoommode", w.mnuZoommode, Off, On, On),
        Enabled("mnuCrop", w.mnuCrop, Off, On, On),
        Enabled("mnuFullscrn", w.mnuFullscrn, Off, Kept, Kept),
        Enabled("TilePic", w.TilePic, Off, Kept, Kept),
        Enabled("Toolbar(5)", w.Toolbar(5), Off, Kept, Kept),
        Enabled("Toolbar(6)", w.Toolbar(6), Off, Kept, Kept),
        Enabled("HScroll1", w.HScroll1, Off, Kept, Kept),
        Enabled("VScroll1", w.VScroll1, Off, Kept, Kept),
        Checked("mnuNorm", w.mnuNorm, On, Kept, Kept),
        Checked("mnuDrag", w.mnuDrag, Off, Kept, Kept),
        Checked("mnuZoommode", w.mnuZoommode, Off, Kept, Kept),
        Checked("mnuCrop", w.mnuCrop, Off, Kept, Kept),
        Shown("aniImg", w.aniImg, Off, Kept, Kept),
        Shown("Image1", w.Image1, On, Kept, Kept),
        Shown("Shape1", w.Shape1, Off, Kept, Kept),
        Shown("lblSelSize", w.lblSelSize, Off, Kept, Kept),
        Flag("gImageSaved", Module1::gImageSaved, On, Kept, Kept),
        Flag("gStatusPanelsReady", Module1::gStatusPanelsReady, Off, Kept, Kept),
        // ImageStatic holds the list's Click off only while it refreshes the list, then puts back the caller's.
        Flag("gSuppressFileClick", Module1::gSuppressFileClick, Kept, Kept, Kept),
        Flag("LogoShown", w.LogoShown_, On, Kept, Kept),
        {"a picture path", [] { return !Module1::gCurrentImagePath.empty(); },
         [this](bool on) { Module1::gCurrentImagePath = on ? folder_ / "shown.bmp" : ""; }, Off, Kept, Kept},
        {"a cursor mode but normal", [&w] { return w.CursorMode != 0; }, [&w](bool on) { w.CursorMode = on ? 3 : 0; },
         Off, Kept, Kept},
    };

    ASSERT_TRUE(qvtest::WriteBitmap(folder_ / "shown.bmp"));
    struct Routine {
        const char* name;
        std::function<void()> run;
        After Item::*column;
    };
    const Routine routines[] = {
        {"ShowLogo", [&w] { w.ShowLogo(); }, &Item::logo},
        {"ImageSaved", [&w] { w.ImageSaved(); }, &Item::withFile},
        {"ImageStatic", [&w] { w.ImageStatic(); }, &Item::withoutFile},
    };
    for (const bool bitmap : {true, false}) {
        for (const char* editor : {"  ", "C:\\Tools\\editor.exe"}) {
            for (const Routine& routine : routines) {
                for (const bool start : {false, true}) {
                    SCOPED_TRACE(std::string(routine.name) + (bitmap ? ", a bitmap" : ", a metafile") +
                                 ", editor \"" + editor + "\", from all " + (start ? "on" : "off"));
                    w.Image1.SetPicture(bitmap ? forms::LoadPicture(folder_ / "shown.bmp") : Metafile());
                    w.mnuEditors(0).SetTag(editor);
                    for (const Item& item : items) item.set(start);
                    routine.run();
                    for (const Item& item : items) {
                        bool expected = start;
                        switch (item.*routine.column) {
                        case On: expected = true; break;
                        case Off: expected = false; break;
                        case Kept: break;
                        case OnForBitmap: expected = bitmap; break;
                        case OnWithEditor: expected = editor[0] != ' '; break;
                        }
                        EXPECT_EQ(item.get(), expected) << item.name;
                    }
                }
            }
        }
    }
}

// The logo: its caption, its place, the black view and the status bar down to the one panel.
TEST_F(PictureStates, TheLogoShowsWithTheWebSiteInTheStatusBar) {
    frmQuillview& w = Window();
    // The design's "ftype" panel, and the five a picture adds.
    ASSERT_EQ(w.SB1.PanelCount(), 1);
    for (const char* key : {"size", "fname", "dimen", "date", "mode"}) {
        w.SB1.AddPanel(w.SB1.PanelCount(), key, "", -1, 0, false, true, 0, key);
    }
    w.Picture1.SetBackColor(0xFFFFFF);
    w.ShowLogo();
    EXPECT_EQ(w.Caption(), "Quillview - Vivid Imaging");
    EXPECT_EQ(w.Picture1.BackColor(), 0);
    EXPECT_EQ(w.Image1.Left(), 20);
    EXPECT_EQ(w.Image1.Top(), 40);
    EXPECT_EQ(w.SB1.PanelCount(), 1);
    EXPECT_EQ(w.SB1.PanelText("ftype"), "Quillview Website www.quillview.example for news and updates");
}

// The listed folder has gone (deleted, or its drive unplugged) when the logo comes: refreshing the list fails,
// and a click on a file of another folder afterwards still loads it.
TEST_F(PictureStates, AFailedRefreshOfTheListLeavesItsClicksWorking) {
    frmQuillview& w = Window();
    const std::string gone = folder_ / "gone";
    const std::string other = folder_ / "other";
    ASSERT_TRUE(CreateDirectoryA(gone.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(other.c_str(), nullptr));
    ASSERT_TRUE(qvtest::WriteBitmap(gone + "\\a.bmp"));
    ASSERT_TRUE(qvtest::WriteBitmap(other + "\\b.bmp"));
    w.Dir1.SetPath(gone);
    ASSERT_EQ(w.File1.ListCount(), 1);
    ASSERT_TRUE(DeleteFileA((gone + "\\a.bmp").c_str()));
    ASSERT_TRUE(RemoveDirectoryA(gone.c_str()));

    w.ShowLogo();
    EXPECT_EQ(w.Caption(), "Quillview - Vivid Imaging");
    EXPECT_FALSE(Module1::gSuppressFileClick);

    w.Dir1.SetPath(other);
    ASSERT_EQ(w.File1.ListCount(), 1);
    RECT row{};
    ASSERT_NE(SendMessageA(w.File1.hWnd(), LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)), LB_ERR);
    const bool loaded = comctltest::ClickUntil(comctltest::CentreOf(w.File1.hWnd(), row),
                                               [&w] { return w.Caption() == "Quillview - b.bmp"; });
    EXPECT_TRUE(loaded) << "the click on b.bmp loaded it; caption " << w.Caption();
}

}  // namespace
