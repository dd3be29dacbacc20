#include "main/windows/frmFileseek.h"

#include "main/core/MainWindowView.h"
#include "main/core/Module1.h"
#include "platform/forms/Screen.h"
#include "platform/forms/SendKeys.h"
#include "platform/forms/controls/FileListBox.h"
#include "platform/runtime/ErrorSteps.h"
#include "platform/runtime/Strings.h"

#include <windows.h>

namespace fileseek {

std::vector<Match> Search(const forms::ListControl& files, const std::string& text) {
    std::vector<Match> found;
    if (text.empty()) return found;
    const int count = files.ListCount();
    for (int i = 0; i < count; ++i) {
        std::string name = files.List(i);
        if (forms::InStr(name, text, forms::Compare::Text) > 0) found.push_back({std::move(name), i});
    }
    return found;
}

int FindEntry(const forms::ListControl& files, const std::string& name) {
    const int count = files.ListCount();
    for (int i = 0; i < count; ++i)
        if (forms::TextEquals(files.List(i), name)) return i;
    return -1;
}

}  // namespace fileseek

namespace {

// The window's outer size for a client area given in twips, with the frame this system draws at its DPI.
SIZE OuterTwips(float clientWidth, float clientHeight) {
    const float tppx = forms::Screen().TwipsPerPixelX();
    const float tppy = forms::Screen().TwipsPerPixelY();
    RECT r{0, 0, static_cast<LONG>(clientWidth / tppx), static_cast<LONG>(clientHeight / tppy)};
    AdjustWindowRectEx(&r, WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU, FALSE, WS_EX_TOOLWINDOW);
    return {static_cast<LONG>((r.right - r.left) * tppx), static_cast<LONG>((r.bottom - r.top) * tppy)};
}

constexpr float kClientWidth = 2055;
constexpr float kClientHeight = 2595;

}  // namespace

frmFileseek::frmFileseek()
    : Form({.Caption = "Fileseek",
            .Width = static_cast<float>(OuterTwips(kClientWidth, kClientHeight).cx),
            .Height = static_cast<float>(OuterTwips(kClientWidth, kClientHeight).cy),
            .Border = forms::BorderStyle::SizableToolWindow,
            .ShowInTaskbar = false,
            .StartUp = forms::StartUpPosition::WindowsDefault}),
      Text1(*this, "Text1", {60, 30, 1935, 240}, {.Text = "Enter search here"}, {.TabIndex = 0}),
      List1(*this, "List1", {60, 330, 1935, 2205}, {.IntegralHeight = false}, {.TabIndex = 1}) {
    Text1.GotFocus = [this] { Text1_GotFocus(); };
    Text1.KeyPress = [this](int& KeyAscii) { Text1_KeyPress(KeyAscii); };
    Text1.LostFocus = [this] { Text1_LostFocus(); };
    List1.Click = [this] { List1_Click(); };
    List1.KeyPress = [this](int& KeyAscii) { List1_KeyPress(KeyAscii); };
}

void frmFileseek::Form_Load() { List1.SetAppearance(Module1::MainWindow().FileseekResults().Appearance()); }

// A window made smaller than the margins leaves the controls at their last sizes.
void frmFileseek::Form_Resize() {
    forms::IgnoringErrors([&] { List1.SetWidth(Width() - 270); });
    forms::IgnoringErrors([&] { List1.SetHeight(Height() - 790); });
    forms::IgnoringErrors([&] { Text1.SetWidth(List1.Width()); });
}

void frmFileseek::Text1_GotFocus() {
    Text1.SetSelStart(0);
    Text1.SetSelLength(static_cast<int>(Text1.Text().size()));
    List1.Clear();
}

void frmFileseek::Text1_KeyPress(int& KeyAscii) {
    if (KeyAscii != 13) return;
    KeyAscii = 0;  // no beep: the key has done its work
    List1.SetFocus();
}

// Runs on every focus loss; the list was emptied when the box took the focus.
void frmFileseek::Text1_LostFocus() {
    for (const fileseek::Match& match : fileseek::Search(Module1::MainWindow().FileList(), Text1.Text())) {
        List1.AddItem(match.name);
        List1.SetItemData(List1.NewIndex(), match.index);
    }
}

void frmFileseek::List1_Click() {
    const int chosen = List1.ListIndex();
    if (chosen < 0) return;
    const std::string name = List1.List(chosen);
    if (name.empty()) return;
    forms::FileListBox& files = Module1::MainWindow().FileList();
    // The folder may have been re-read since the search: a file that has gone picks nothing.
    const int entry = fileseek::FindEntry(files, name);
    if (entry < 0) return;
    // Clearing the other selections is no choice of a picture; the main window's one click comes with the
    // new current entry.
    {
        struct Suppressed {
            Suppressed() { Module1::gSuppressFileClick = true; }
            ~Suppressed() { Module1::gSuppressFileClick = false; }
        } suppressed;
        for (int i = 0; i < files.ListCount(); ++i)
            if (files.Selected(i)) files.SetSelected(i, false);
    }
    files.SetListIndex(entry);
}

void frmFileseek::List1_KeyPress(int& KeyAscii) {
    if (KeyAscii != 8) return;
    KeyAscii = 0;
    Text1.SetFocus();
    // After the box's select-all, the key deletes the search text.
    forms::SendKeys("{BS}");
}
