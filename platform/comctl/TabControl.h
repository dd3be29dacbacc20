#pragma once
// A tab strip (SysTabControl32) with keyed tabs, numbered from 1 in the order they stand. The page frames
// a window shows for its tabs are siblings above the strip in z-order, placed in its client area.
//
// Member numbers: 0x6003001E SelectTab.

#include "platform/comctl/KeyedItems.h"
#include "platform/forms/DesignedControl.h"

#include <commctrl.h>

#include <functional>
#include <string>

namespace forms {

struct TabControlDesign {
    FontSpec Font;
};

class TabControl : public DesignedControl<WindowedControl, TabControlDesign> {
public:
    using DesignedControl::DesignedControl;

    // image: an index of the strip's image list, -1 none; position: 1-based place, -1 at the end (beyond
    // raises 5). A key already there raises 35602.
    void AddTab(const std::string& caption, int image = -1, int position = -1, const std::string& key = {});
    int TabCount() const;
    std::string TabCaption(int index) const;
    // 35601 for an unknown key. From code, Click runs only on a change and only when raiseClick holds.
    void SelectTab(const std::string& key, bool raiseClick = true);
    // 1-based; 0 while no tab is selected.
    int SelectedIndex() const;
    // The page area inside the tabs, in the container's units.
    float ClientLeft() const;
    float ClientTop() const;
    float ClientWidth() const;
    float ClientHeight() const;

    // A tab picked by mouse or arrow keys, or selected from code; its 1-based index.
    std::function<void(int index)> Click;

    void ResetFromDesign() override;
    // The tabs, the choice and the page area are kept (or measured) without the window.
    bool KeepsStateWithoutWindow() const override { return true; }
    bool OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    const char* WindowClass() const override { return WC_TABCONTROLA; }
    DWORD WindowStyle() const override { return WS_TABSTOP; }
    const FontSpec* Font() const override { return &state_.Font; }
    void AfterCreate() override;

private:
    struct Tab {
        std::string Key;
        std::string Caption;
        int Image = -1;
    };
    static void InsertItem(HWND window, int at, const Tab& tab);
    RECT PageRect() const;
    // The page area a window of this size, font and tabs has, asked of a scratch strip made for the question.
    RECT MeasuredPageRect() const;

    KeyedItems<Tab> tabs_;
    int selected_ = 0;  // 1-based, while there is no window
    struct Measure {
        int width = -1, height = -1;
        std::size_t tabs = 0;
        RECT page{};
    };
    mutable Measure measured_;
};

}  // namespace forms
