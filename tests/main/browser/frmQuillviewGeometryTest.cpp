// Where the layout puts the panel, the view and its scroll bars, read back from the windows themselves, over
// the dock side, the panel shown or hidden, the Fileseek pane and the window's size, at 96 DPI. Every
// expected number is worked by hand from the design sizes: the view's top 46, the scroll bars 14 thick,
// the logo 95 wide, the caption bar 270 and the button strip 660 twips high, the tree's top 285 twips.
#include "main/core/clsIface.h"
#include "tests/main/browser/ShownWindowFixture.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

using browsertest::Window;

struct Box {
    int left, top, width, height;  // left < 0: not checked
};

// The rectangle of a control's window in the main window's client pixels.
Box WindowBox(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, Window().hWnd(), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void ExpectBox(const Box& seen, const Box& expected, const char* what) {
    if (expected.left >= 0) EXPECT_EQ(seen.left, expected.left) << what;
    EXPECT_EQ(seen.top, expected.top) << what;
    EXPECT_EQ(seen.width, expected.width) << what;
    EXPECT_EQ(seen.height, expected.height) << what;
}

// Sizes the window so that its client area is width x height pixels; the menu bar may wrap at a new width
// and take another row.
bool SizeClient(HWND window, int width, int height) {
    for (int attempt = 0; attempt < 4; ++attempt) {
        RECT outer{}, client{};
        GetWindowRect(window, &outer);
        GetClientRect(window, &client);
        if (client.right == width && client.bottom == height) return true;
        SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + width - client.right,
                     outer.bottom - outer.top + height - client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return false;
}

class Layout : public browsertest::ShownWindow {
protected:
    Layout() : ShownWindow("Layout") {}
    void SetUp() override {
        if (forms::Screen().TwipsPerPixelX() != 15 || forms::Screen().TwipsPerPixelY() != 15) {
            GTEST_SKIP() << "the numbers are those of 96 DPI";
        }
        ShownWindow::SetUp();
    }
};

TEST_F(Layout, PanelViewAndBarsOverDockPanelPaneAndSize) {
    struct Case {
        const char* what;
        int dock;       // 0 left, 1 right
        bool shown;     // the panel, 200 pixels wide
        bool fileseek;  // the pane open
        int sw, sh;     // the client size
        Box panel;
        float splitter;  // its left; < 0: not checked
        Box view, vbar, hbar;
        bool logo;
        float logoLeft;
        float tree, fileTop, results;  // twips, in the panel; results < 0: pane closed
    };
    const Case cases[] = {
        {"left, pane closed", 0, true, false, 800, 600, {2, 46, 200, 530}, 200, {206, 46, 578, 516},
         {785, 46, 14, 516}, {206, 563, 578, 14}, true, 695, 3400, 3755, -1},
        {"left, pane open: a third each", 0, true, true, 800, 600, {2, 46, 200, 530}, 200, {206, 46, 578, 516},
         {785, 46, 14, 516}, {206, 563, 578, 14}, true, 695, 6800.0f / 3, 285 + 6800.0f / 3 + 70,
         6800.0f / 3 - 135},
        {"right, pane closed", 1, true, false, 800, 600, {598, 46, 200, 530}, 595, {2, 46, 578, 516},
         {581, 46, 14, 516}, {2, 563, 578, 14}, true, 695, 3400, 3755, -1},
        {"right, pane open, 647 wide: no logo", 1, true, true, 647, 480, {445, 46, 200, 410}, 442,
         {2, 46, 425, 396}, {428, 46, 14, 396}, {2, 443, 425, 14}, false, 542, 5000.0f / 3,
         285 + 5000.0f / 3 + 70, 5000.0f / 3 - 135},
        {"hidden", 0, false, false, 800, 600, {-1, 46, 0, 530}, -1, {2, 46, 778, 516}, {781, 46, 14, 516},
         {2, 563, 778, 14}, true, 695, 3400, 3755, -1},
        {"hidden, docked right, pane open, 648 wide", 1, false, true, 648, 480, {-1, 46, 0, 410}, -1,
         {2, 46, 626, 396}, {629, 46, 14, 396}, {2, 443, 626, 14}, true, 543, 5000.0f / 3,
         285 + 5000.0f / 3 + 70, 5000.0f / 3 - 135},
        {"left, 647 wide: no logo", 0, true, false, 647, 480, {2, 46, 200, 410}, 200, {206, 46, 425, 396},
         {632, 46, 14, 396}, {206, 443, 425, 14}, false, 542, 2500, 2855, -1},
        {"left, 648 wide: the logo", 0, true, false, 648, 480, {2, 46, 200, 410}, 200, {206, 46, 426, 396},
         {633, 46, 14, 396}, {206, 443, 426, 14}, true, 543, 2500, 2855, -1},
    };
    frmQuillview& w = Window();
    clsIface& state = *w.mInterface;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(SizeClient(w.hWnd(), c.sw, c.sh));
        ASSERT_EQ(w.ScaleWidth(), c.sw);
        ASSERT_EQ(w.ScaleHeight(), c.sh);
        state.SetBrowserToolsWidth(200);
        state.SetFileseekToggle(c.fileseek ? 0 : 1);
        state.SetBrowserToolsDockMode(c.dock);
        state.SetBrowserTools(1);
        if (c.shown) state.SetBrowserTools(0);

        ExpectBox(WindowBox(w.FraFiles.hWnd()), c.panel, "panel");
        ExpectBox(WindowBox(w.Picture1.hWnd()), c.view, "view");
        ExpectBox(WindowBox(w.VScroll1.hWnd()), c.vbar, "vertical bar");
        ExpectBox(WindowBox(w.HScroll1.hWnd()), c.hbar, "horizontal bar");
        if (c.splitter >= 0) {
            EXPECT_EQ(w.imgSplitter.Left(), c.splitter);
            EXPECT_EQ(w.imgSplitter.Height(), c.panel.height);
        }
        EXPECT_EQ(w.Image2.Visible(), c.logo);
        EXPECT_EQ(w.Image2.Left(), c.logoLeft);
        EXPECT_FLOAT_EQ(w.ftvDirs.Height(), c.tree);
        EXPECT_FLOAT_EQ(w.File1.Top(), c.fileTop);
        EXPECT_FLOAT_EQ(w.File1.Height(), c.tree);
        if (c.results >= 0) EXPECT_FLOAT_EQ(w.List1.Height(), c.results);
    }
}

// Every list, the search box and the four file buttons lie wholly inside the panel, their right borders
// included, from the narrowest width the panel takes (150) up; the buttons keep their design size when
// there is room for it.
TEST_F(Layout, ThePanelsContentsFitItsWidth) {
    frmQuillview& w = Window();
    clsIface& state = *w.mInterface;
    ASSERT_TRUE(SizeClient(w.hWnd(), 800, 600));
    state.SetFileseekToggle(0);
    for (const int width : {150, 180, 200, 320}) {
        SCOPED_TRACE(width);
        state.SetBrowserTools(1);  // hiding keeps the width shown before
        state.SetBrowserToolsWidth(width);
        state.SetBrowserTools(0);
        const Box panel = WindowBox(w.FraFiles.hWnd());
        ASSERT_EQ(panel.width, width);
        const int inside = panel.left + panel.width;
        const std::pair<const char*, HWND> inPanel[] = {
            {"tree", w.ftvDirs.hWnd()}, {"files", w.File1.hWnd()}, {"search box", w.txtSearch.hWnd()},
            {"results", w.List1.hWnd()}, {"button strip", w.Picture2.hWnd()}};
        for (const auto& [what, hwnd] : inPanel) {
            const Box b = WindowBox(hwnd);
            EXPECT_LE(b.left + b.width, inside - 1) << what << ": its right border shows";
            EXPECT_GE(b.width, width - 8) << what << " fills the panel";
        }
        const Box strip = WindowBox(w.Picture2.hWnd());
        for (int i = 0; i < 4; ++i) {
            const Box b = WindowBox(w.Fbts(i).hWnd());
            EXPECT_LE(b.left + b.width, strip.left + strip.width) << "button " << i;
            EXPECT_GE(b.width, 32) << "button " << i << " holds its picture";
            if (width >= 180) EXPECT_EQ(b.width, 37) << "button " << i;
        }
    }
}

// Minimised, the client area has no size: the sizes the layout would give are refused and the old ones stay,
// the positions it can still work out are set, and the window comes back as it was.
TEST_F(Layout, AMinimisedWindowKeepsTheSizesItCannotHave) {
    frmQuillview& w = Window();
    clsIface& state = *w.mInterface;
    ASSERT_TRUE(SizeClient(w.hWnd(), 800, 600));
    state.SetBrowserToolsWidth(200);
    state.SetFileseekToggle(1);
    state.SetBrowserToolsDockMode(0);
    state.SetBrowserTools(1);
    state.SetBrowserTools(0);

    w.SetWindowState(1);
    ASSERT_EQ(w.ScaleWidth(), 0);
    ASSERT_EQ(w.ScaleHeight(), 0);
    EXPECT_EQ(w.Picture1.Left(), 206);
    EXPECT_EQ(w.Picture1.Width(), 578);
    EXPECT_EQ(w.Picture1.Height(), 516);
    EXPECT_EQ(w.VScroll1.Left(), 785);
    EXPECT_EQ(w.HScroll1.Top(), 563);
    EXPECT_EQ(w.FraFiles.Height(), 530);
    EXPECT_FALSE(w.Image2.Visible());
    EXPECT_EQ(w.Image2.Left(), -105);

    w.SetWindowState(0);
    ASSERT_EQ(w.ScaleWidth(), 800);
    ExpectBox(WindowBox(w.Picture1.hWnd()), {206, 46, 578, 516}, "view");
    ExpectBox(WindowBox(w.FraFiles.hWnd()), {2, 46, 200, 530}, "panel");
    EXPECT_TRUE(w.Image2.Visible());
    EXPECT_EQ(w.Image2.Left(), 695);
}

}  // namespace
