#pragma once
// A folder list (LISTBOX, strings kept, drawn indented): the open path from its root down, then its
// subfolders. A double click or Enter opens the highlighted entry. Hidden and system folders are not
// listed; the order is the file list's.
//
// Index members count from the open folder: List(-1) is the open folder itself, -2 its parent and so on up
// to the root; 0..ListCount-1 are its subfolders. List(i) gives full paths.
//
// Path is kept as given (FileListing.h), and a change of letter case alone is a change: Change runs for
// every change, by the user or by code. A drive text ("c: [SYSTEM]") opens that drive's last folder, which
// the runtime remembers for each drive as Path moves (DriveFolders.h).

#include "platform/forms/DesignedControl.h"
#include "platform/forms/controls/Appearance.h"
#include "platform/forms/controls/ListItems.h"

#include <vector>

namespace forms {

struct DirListBoxDesign {
    OleColor BackColor = color::Window;
    OleColor ForeColor = color::WindowText;
    FontSpec Font;
    int Appearance = appearance::ThreeD;
};

class DirListBox : public DesignedControl<WindowedControl, DirListBoxDesign> {
public:
    using DesignedControl::DesignedControl;

    std::string Path() const;
    // A missing folder raises 76, a drive that is not ready 68; either way the old path stays.
    void SetPath(std::string_view path);
    // The open path's entries are negative (see above); "" outside.
    std::string List(int index) const;
    // The number of subfolders.
    int ListCount() const;
    // The highlighted entry (-1: the open folder). Setting: from the root's index to ListCount-1, else 380.
    int ListIndex() const;
    void SetListIndex(int index);
    // Re-reads the subfolders.
    void Refresh() override;
    int Appearance() const;
    void SetAppearance(int value);
    OleColor BackColor() const;
    void SetBackColor(OleColor value);

    std::function<void()> Change;

    void ResetFromDesign() override;
    // The open path, its subfolders and the highlighted row are kept here; the window shows them when it
    // is made.
    bool KeepsStateWithoutWindow() const override { return true; }
    void LoadedWithoutWindow() override;
    bool OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool HandlesDialogKey(int key, HWND target) override;

protected:
    const char* WindowClass() const override { return "LISTBOX"; }
    DWORD WindowStyle() const override;
    DWORD WindowExStyle() const override { return AppearanceExStyle(state_.Appearance); }
    const FontSpec* Font() const override { return &state_.Font; }
    bool Colors(COLORREF& back, COLORREF& fore) const override;
    void AfterCreate() override;
    void OnCommand(WORD code) override;

private:
    // The open path from the root down: the full path of each row above the subfolders.
    static std::vector<std::string> Chain(const std::string& path);
    void Fill(std::vector<std::string> subfolders);
    // The open folder read as a load finds it; an unreadable folder leaves the rows as they are.
    void FillAtLoad();
    void Draw(const DRAWITEMSTRUCT& item) const;
    void OpenHighlighted();
    int OpenRow() const noexcept { return static_cast<int>(chain_.size()) - 1; }

    ListItems rows_{ListBoxMessages};
    std::string path_;
    std::vector<std::string> chain_;
    std::vector<std::string> subfolders_;
    int highlighted_ = -1;   // the highlighted row while there is no window
    bool filled_ = false;    // the rows were read without a window, for the window to show
};

}  // namespace forms
