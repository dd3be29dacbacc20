#include "ComctlTestSupport.h"
#include "tests/platform/forms/ErrorNumber.h"

#include "platform/comctl/StatusBar.h"
#include "platform/forms/Form.h"
#include "platform/forms/Screen.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

using namespace forms;
using namespace comctltest;

namespace {
class frmStatus : public Form {
public:
    frmStatus() : Form({.Caption = "Status", .Width = 9000, .Height = 4000, .Scale = ScaleMode::Pixels}) {}
    StatusBar SB1{*this, "SB1", {0, 0, 100, 20}};  // the design extent is ignored: the bar docks
};

std::vector<int> PartEdges(HWND bar) {
    const int n = static_cast<int>(SendMessageA(bar, SB_GETPARTS, 0, 0));
    std::vector<int> edges(static_cast<size_t>(n));
    SendMessageA(bar, SB_GETPARTS, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(edges.data()));
    return edges;
}

std::string PartText(HWND bar, int part) {
    char text[256] = {};
    SendMessageA(bar, SB_GETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
    return text;
}

int ClientWidth(HWND h) {
    RECT r{};
    GetClientRect(h, &r);
    return r.right;
}

// The image loader's panels to the right of the spring "ftype", as the main window sets them up.
void AddLoaderPanels(StatusBar& sb) {
    sb.AddPanel(0, "Visit us", "", -1, 64, true, true, 0, "ftype");
    for (const char* key : {"size", "fname", "dimen", "date", "mode"}) sb.AddPanel(0, key, "", -1, 64, false, true, 0, key);
    sb.SetPanelWidth("date", 150);
    sb.SetPanelWidth("fname", 200);
    sb.SetPanelWidth("dimen", 120);
}
}  // namespace

TEST(StatusBar, SpringFillsWhatFixedPanelsLeaveAndFollowsTheForm) {
    auto form = New<frmStatus>();
    form->Show();
    AddLoaderPanels(form->SB1);
    const HWND bar = form->SB1.hWnd();

    for (const int width : {700, 900}) {
        form->SetWidth(static_cast<float>(width) * Screen().TwipsPerPixelX());
        PumpUntil([&] { return ClientWidth(bar) == ClientWidth(form->hWnd()); });
        const int total = ClientWidth(bar);
        const std::vector<int> edges = PartEdges(bar);
        ASSERT_EQ(edges.size(), 6u) << width;
        // size 64 (its minimum), fname 200, dimen 120, date 150, mode 64; ftype takes the rest.
        const int fixed = 64 + 200 + 120 + 150 + 64;
        EXPECT_EQ(edges[0], total - fixed) << width;
        EXPECT_EQ(edges[1] - edges[0], 64);
        EXPECT_EQ(edges[2] - edges[1], 200);
        EXPECT_EQ(edges[3] - edges[2], 120);
        EXPECT_EQ(edges[4] - edges[3], 150);
        EXPECT_EQ(edges[5] - edges[4], 64);
    }
    // Narrower than the fixed panels: the spring keeps its minimum.
    form->SetWidth(400 * Screen().TwipsPerPixelX());
    PumpUntil([&] { return ClientWidth(bar) == ClientWidth(form->hWnd()); });
    EXPECT_EQ(PartEdges(bar)[0], 64);
    form->Unload();
}

// The width that shows the text in the bar's font, without the part's margins.
int TextExtent(HWND bar, const std::string& text) {
    const HDC dc = GetDC(bar);
    const HGDIOBJ before = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(bar, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, before);
    ReleaseDC(bar, dc);
    return extent.cx;
}

// A spring that fits its text shares the room as springs do, and never takes less than its text needs: at
// a width that leaves room, at one that leaves less than the text, and after a longer text.
TEST(StatusBar, ASpringThatFitsItsTextNeverCutsIt) {
    struct Row {
        int width;
        const char* text;
    };
    auto form = New<frmStatus>();
    form->Show();
    StatusBar& sb = form->SB1;
    AddLoaderPanels(sb);
    sb.SetPanelSpring("mode", true);
    sb.SetPanelFitsText("mode", true);
    const HWND bar = sb.hWnd();
    for (const Row row : {Row{900, "Mode: Tile"}, Row{600, "Mode: Actual Size"}, Row{900, "Mode: Actual Size"},
                          Row{900, "A mode text much longer than the share the two springs get of the bar"}}) {
        SCOPED_TRACE(std::to_string(row.width) + " " + row.text);
        sb.SetPanelText("mode", row.text);
        form->SetWidth(static_cast<float>(row.width) * Screen().TwipsPerPixelX());
        PumpUntil([&] { return ClientWidth(bar) == ClientWidth(form->hWnd()); });
        const std::vector<int> edges = PartEdges(bar);
        ASSERT_EQ(edges.size(), 6u);
        const int fixed = 64 + 200 + 120 + 150;
        const int ftype = edges[0];
        const int mode = edges[5] - edges[4];
        EXPECT_GE(mode, TextExtent(bar, row.text) + 8) << "the text and the part's margins";
        EXPECT_GE(ftype, 64);
        EXPECT_EQ(edges[4] - ftype, fixed) << "the fixed panels keep their widths";
        const int share = (ClientWidth(bar) - fixed) / 2;
        if (TextExtent(bar, row.text) + 40 < share) {
            EXPECT_LE(std::abs(mode - ftype), 1) << "two springs share the rest";
        } else {
            EXPECT_EQ(ftype, std::max(64, ClientWidth(bar) - fixed - mode)) << "the other spring takes what is left";
        }
    }
    form->Unload();
}

TEST(StatusBar, KeysAddressTextsWidthsAndOrder) {
    auto form = New<frmStatus>();
    form->Show();
    StatusBar& sb = form->SB1;
    sb.AddPanel(0, "a", "", 50, 10, false, true, 0, "one");
    sb.AddPanel(0, "c", "", 50, 10, false, true, 0, "three");
    EXPECT_FALSE(GetWindowLongPtrA(sb.hWnd(), GWL_STYLE) & SBARS_TOOLTIPS) << "no tip window while no panel has a tip";
    sb.AddPanel(2, "b", "tip", 50, 10, false, true, 0, "two");  // between the others
    sb.AddPanel(0, "hidden", "", 50, 10, false, false, 0, "gone");
    const HWND bar = sb.hWnd();
    EXPECT_TRUE(GetWindowLongPtrA(bar, GWL_STYLE) & SBARS_TOOLTIPS);
    char tip[16] = {};
    SendMessageA(bar, SB_GETTIPTEXTA, MAKEWPARAM(1, sizeof tip), reinterpret_cast<LPARAM>(tip));
    EXPECT_STREQ(tip, "tip");
    EXPECT_EQ(PartEdges(bar), (std::vector<int>{50, 100, 150})) << "a hidden panel takes no room";
    EXPECT_EQ(PartText(bar, 0) + PartText(bar, 1) + PartText(bar, 2), "abc");

    sb.SetPanelText("TWO", "Tom & Jerry");  // keys without regard to case; "&" as written
    EXPECT_EQ(PartText(bar, 1), "Tom & Jerry");
    EXPECT_EQ(sb.PanelText("two"), "Tom & Jerry");
    sb.SetPanelWidth("one", 80);
    EXPECT_EQ(PartEdges(bar)[0], 80);
    sb.RemovePanel("one");
    EXPECT_EQ(PartText(bar, 0), "Tom & Jerry");
    // A part added again starts empty in the bar, though an earlier third part held the same text.
    sb.AddPanel(0, "c", "", 50, 10, false, true, 0, "four");
    EXPECT_EQ(PartText(bar, 2), "c");
    sb.RemovePanel("four");

    struct Refusal {
        const char* what;
        std::function<void()> call;
        int number;
    };
    const std::vector<Refusal> refusals{
        {"duplicate key", [&] { sb.AddPanel(0, "x", "", -1, 0, false, true, 0, "Two"); }, 35602},
        {"remove unknown", [&] { sb.RemovePanel("one"); }, 35601},
        {"text of unknown", [&] { sb.PanelText("nope"); }, 35601},
        {"set text of unknown", [&] { sb.SetPanelText("nope", "x"); }, 35601},
        {"width of unknown", [&] { sb.SetPanelWidth("nope", 10); }, 35601},
        {"negative width", [&] { sb.SetPanelWidth("two", -1); }, 380},
        {"position beyond the end", [&] { sb.AddPanel(9, "x", "", -1, 0, false, true, 0, "x"); }, 5},
    };
    for (const auto& r : refusals) EXPECT_EQ(ErrorNumber(r.call), r.number) << r.what;
    EXPECT_EQ(sb.PanelCount(), 3);
    EXPECT_EQ(sb.PanelText("two"), "Tom & Jerry") << "a refused width keeps the panel as it was";
    form->Unload();
    EXPECT_EQ(form->SB1.PanelCount(), 0) << "a new load starts without panels";
    form->Unload();
}

TEST(StatusBar, KeepsToTheBottomEdgeAtFullWidth) {
    auto form = New<frmStatus>();
    form->Show();
    const HWND bar = form->SB1.hWnd();
    for (const float height : {3000.0f, 5000.0f}) {
        form->SetHeight(height);
        form->SetWidth(height * 2);
        RECT client{}, r{};
        const auto docked = [&] {
            GetClientRect(form->hWnd(), &client);
            GetWindowRect(bar, &r);
            MapWindowPoints(nullptr, form->hWnd(), reinterpret_cast<POINT*>(&r), 2);
            return r.bottom == client.bottom && r.left == 0 && r.right == client.right;
        };
        EXPECT_TRUE(PumpUntil(docked)) << height << ": bar " << r.left << "," << r.top << "-" << r.right << ","
                                       << r.bottom << " in " << client.right << "x" << client.bottom;
        EXPECT_FLOAT_EQ(form->SB1.Top() + form->SB1.Height(), static_cast<float>(client.bottom));
    }
    RECT client{};
    GetClientRect(form->hWnd(), &client);
    EXPECT_EQ(form->ScaleHeight(), static_cast<float>(client.bottom)) << "the bar leaves the form's inner size whole";
    form->Unload();
}
