#include "platform/comctl/StatusBar.h"

#include "platform/forms/Container.h"

#include <commctrl.h>

#include <algorithm>
#include <cstddef>

namespace forms {
namespace {
constexpr int TextStyle = 0;

// Right edges of the parts: fixed panels at their width, springs sharing the rest evenly, except that a
// spring whose minimum is above its share keeps its minimum and the others share what is left.
std::vector<int> PartEdges(const std::vector<int>& fixed, const std::vector<int>& minimum,
                           const std::vector<bool>& spring, int total) {
    const std::size_t n = fixed.size();
    std::vector<int> width(n, 0);
    int left = total;
    std::vector<bool> sharing(n, false);
    int sharers = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (spring[i]) {
            sharing[i] = true;
            ++sharers;
        } else {
            width[i] = fixed[i];
            left -= fixed[i];
        }
    }
    // Each round fixes the springs whose minimum exceeds the even share; at most n rounds.
    for (bool changed = true; changed && sharers > 0;) {
        changed = false;
        const int share = std::max(left, 0) / sharers;
        for (std::size_t i = 0; i < n; ++i) {
            if (sharing[i] && minimum[i] > share) {
                sharing[i] = false;
                --sharers;
                width[i] = minimum[i];
                left -= minimum[i];
                changed = true;
            }
        }
    }
    if (sharers > 0) {
        const int share = std::max(left, 0) / sharers;
        int extra = std::max(left, 0) - share * sharers;  // the remainder goes to the first springs
        for (std::size_t i = 0; i < n; ++i) {
            if (!sharing[i]) continue;
            width[i] = share + (extra > 0 ? 1 : 0);
            if (extra > 0) --extra;
        }
    }
    std::vector<int> edges(n);
    int x = 0;
    for (std::size_t i = 0; i < n; ++i) edges[i] = x += width[i];
    return edges;
}
}  // namespace

const char* StatusBar::WindowClass() const { return STATUSCLASSNAMEA; }

DWORD StatusBar::WindowStyle() const {
    // The tip window is a costly window of its own: a bar gets it once a panel has a tip.
    DWORD style = CCS_BOTTOM;
    if (std::any_of(panels_.All().begin(), panels_.All().end(), [](const Panel& p) { return !p.ToolTip.empty(); }))
        style |= SBARS_TOOLTIPS;
    const HWND form = GetAncestor(GetContainer().ClientWindow(), GA_ROOT);
    if (form && (GetWindowLongPtrA(form, GWL_STYLE) & WS_THICKFRAME)) style |= SBARS_SIZEGRIP;
    return style;
}

void StatusBar::ResetFromDesign() {
    DesignedControl::ResetFromDesign();
    panels_.Clear();
}

void StatusBar::AfterCreate() {
    // A new window holds nothing of the old one's.
    shownEdges_.clear();
    shownTexts_.clear();
    shownTips_.clear();
    Dock();
}

void StatusBar::ApplyGeometry(const RECT&) {
    if (!docking_) Dock();
}

void StatusBar::Dock() {
    if (!hwnd_) return;
    // The bar places itself along its parent's bottom edge at full width when told of a size change.
    SendMessageA(hwnd_, WM_SIZE, 0, 0);
    RECT r{};
    GetWindowRect(hwnd_, &r);
    MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
    const ScaleMode scale = GetContainer().ChildScale();
    docking_ = true;
    struct EndDocking {
        bool& flag;
        ~EndDocking() { flag = false; }
    } endDocking{docking_};
    // Reads of Top, Width and Height give where the bar really is.
    Move(FromPixels(r.left, scale, Axis::X), FromPixels(r.top, scale, Axis::Y),
         FromPixels(r.right - r.left, scale, Axis::X), FromPixels(r.bottom - r.top, scale, Axis::Y));
    ApplyPanels();
}

StatusBar::Batch::~Batch() {
    if (--bar_.batches_ > 0 || !bar_.batched_) return;
    bar_.batched_ = false;
    const HWND bar = bar_.hwnd_;
    if (!bar) return;
    // The bar draws each text as it takes it: once, after all of them. A hidden bar draws nothing, and turning
    // its drawing back on would show it.
    const bool shown = (GetWindowLongPtrA(bar, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown) SendMessageA(bar, WM_SETREDRAW, FALSE, 0);
    bar_.SendPanels();
    if (!shown) return;
    // Turning drawing off dropped what was due to be drawn: the whole bar is due.
    SendMessageA(bar, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void StatusBar::ApplyPanels() {
    if (!hwnd_) return;
    if (batches_ > 0) {
        batched_ = true;
        return;
    }
    SendPanels();
}

void StatusBar::SendPanels() {
    std::vector<const Panel*> shown;
    for (const Panel& p : panels_.All()) {
        if (p.Visible) shown.push_back(&p);
    }
    std::vector<int> fixed, minimum;
    std::vector<bool> spring;
    for (const Panel* p : shown) {
        const int least = p->FitsText ? std::max(p->MinWidth, TextWidth(*p, p == shown.back())) : p->MinWidth;
        const int width = p->Width < 0 ? p->MinWidth : p->Width;
        fixed.push_back(std::max(width, least));
        minimum.push_back(least);
        spring.push_back(p->Spring);
    }
    RECT client{};
    GetClientRect(hwnd_, &client);
    std::vector<int> edges = PartEdges(fixed, minimum, spring, client.right);
    if (edges.empty()) {
        // No panel: one empty part, so the bar shows nothing rather than its simple-mode text.
        edges = {-1};
    }
    if (edges != shownEdges_) {
        SendMessageA(hwnd_, SB_SETPARTS, static_cast<WPARAM>(edges.size()), reinterpret_cast<LPARAM>(edges.data()));
        shownEdges_ = edges;
        // Parts beyond the new count go with their texts; parts added later start empty.
        shownTexts_.resize(std::min(shownTexts_.size(), edges.size()));
        shownTips_.resize(std::min(shownTips_.size(), edges.size()));
    }
    if (shown.empty()) {
        ApplyPart(0, "", "");
        return;
    }
    for (std::size_t i = 0; i < shown.size(); ++i) ApplyPart(i, shown[i]->Text, shown[i]->ToolTip);
}

void StatusBar::ApplyPart(std::size_t i, const std::string& text, const std::string& toolTip) {
    if (shownTexts_.size() <= i) shownTexts_.resize(i + 1);
    if (shownTips_.size() <= i) shownTips_.resize(i + 1);
    if (shownTexts_[i] != text) {
        SendMessageA(hwnd_, SB_SETTEXTA, static_cast<WPARAM>(i) | TextStyle, reinterpret_cast<LPARAM>(text.c_str()));
        shownTexts_[i] = text;
    }
    if (shownTips_[i] != toolTip) {
        SendMessageA(hwnd_, SB_SETTIPTEXTA, i, reinterpret_cast<LPARAM>(toolTip.c_str()));
        shownTips_[i] = toolTip;
    }
}

int StatusBar::TextWidth(const Panel& panel, bool last) const {
    const HDC dc = GetDC(hwnd_);
    if (!dc) return 0;
    const HGDIOBJ before = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32A(dc, panel.Text.c_str(), static_cast<int>(panel.Text.size()), &extent);
    SelectObject(dc, before);
    ReleaseDC(hwnd_, dc);
    // The part's edges and the text's margin on both sides, and the size grip over the last part.
    int borders[3] = {};
    SendMessageA(hwnd_, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    int width = extent.cx + 2 * (borders[0] + borders[2] + GetSystemMetrics(SM_CXEDGE) + 2);
    if (last && (GetWindowLongPtrA(hwnd_, GWL_STYLE) & SBARS_SIZEGRIP)) width += GetSystemMetrics(SM_CXVSCROLL);
    return width;
}

void StatusBar::AddPanel(int position, const std::string& text, const std::string& toolTip, int width,
                         int minWidth, bool spring, bool visible, int style, const std::string& key) {
    Touch();
    if (width < -1 || minWidth < 0 || style != TextStyle) throw RuntimeError(err::InvalidPropertyValue);
    panels_.Insert(position, Panel{key, text, toolTip, width, minWidth, spring, visible});
    if (hwnd_ && !toolTip.empty() && !(GetWindowLongPtrA(hwnd_, GWL_STYLE) & SBARS_TOOLTIPS)) {
        Recreate();  // its new window shows every panel
        return;
    }
    ApplyPanels();
}

void StatusBar::RemovePanel(const std::string& key) {
    Touch();
    panels_.Remove(key);
    ApplyPanels();
}

std::string StatusBar::PanelText(const std::string& key) const {
    Touch();
    return panels_[key].Text;
}

void StatusBar::SetPanelText(const std::string& key, const std::string& text) {
    Touch();
    Panel& panel = panels_[key];
    panel.Text = text;
    if (!hwnd_ || !panel.Visible) return;
    if (panel.FitsText || batches_ > 0) {
        ApplyPanels();
        return;
    }
    std::size_t part = 0;
    for (const Panel& p : panels_.All()) {
        if (&p == &panel) break;
        if (p.Visible) ++part;
    }
    ApplyPart(part, text, panel.ToolTip);
}

void StatusBar::SetPanelWidth(const std::string& key, int pixels) {
    Touch();
    Panel& panel = panels_[key];
    if (pixels < 0) throw RuntimeError(err::InvalidPropertyValue);
    if (panel.Spring) panel.MinWidth = pixels;
    else panel.Width = pixels;
    ApplyPanels();
}

void StatusBar::SetPanelSpring(const std::string& key, bool on) {
    Touch();
    panels_[key].Spring = on;
    ApplyPanels();
}

void StatusBar::SetPanelFitsText(const std::string& key, bool on) {
    Touch();
    panels_[key].FitsText = on;
    ApplyPanels();
}

int StatusBar::PanelCount() const {
    Touch();
    return static_cast<int>(panels_.All().size());
}

}  // namespace forms
