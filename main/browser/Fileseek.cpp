// Fileseek in the browser panel: the names of the file list that contain the typed text, and a chosen
// result selected in the file list.
#include "main/browser/frmQuillview.h"
#include "main/core/SettingsNames.h"
#include "main/windows/Dialog.h"
#include "platform/forms/SendKeys.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/Strings.h"

#include <utility>
#include <vector>

namespace {

constexpr char kExplanation[] =
    "Fileseek will help you find certain image files within the file list box at lightning speed. Type a small "
    "part of a filename you are looking for then press Enter. Press Backspace to reset the search.  For a full "
    "explanation please look in Help under the Features Guide for Fileseek.";

}  // namespace

void frmQuillview::txtSearch_Click() {
    if (FileseekExplained) return;
    if (forms::GetSettingNumber(settingsnames::kApp, "Options", "nofileseekexp", 0) != 0) return;
    auto& dialog = forms::Default<Dialog>();
    dialog.Label1.SetHeight(dialog.Label1.Height() + 500);
    bool dontShowAgain = false;
    dialog.ShowMessage(kExplanation, "Fileseek Quick Explanation", this, dontShowAgain);
    FileseekExplained = true;
    if (dontShowAgain) forms::SaveSetting(settingsnames::kApp, "Options", "nofileseekexp", "1");
}

void frmQuillview::txtSearch_GotFocus() {
    txtSearch.SetSelStart(0);
    txtSearch.SetSelLength(static_cast<int>(txtSearch.Text().size()));
    List1.Clear();
    lblBTFiles2.SetBackColor(forms::color::ActiveCaption);
}

void frmQuillview::txtSearch_KeyPress(int& KeyAscii) {
    if (KeyAscii != 13) return;
    KeyAscii = 0;  // no beep: the box is single-line
    List1.SetFocus();
}

void frmQuillview::txtSearch_LostFocus() {
    lblBTFiles2.SetBackColor(forms::color::InactiveCaption);
    const std::string find = txtSearch.Text();
    if (find.empty()) return;
    std::vector<std::pair<std::string, int>> hits;
    const int count = File1.ListCount();
    for (int i = 0; i < count; ++i) {
        std::string name = File1.List(i);
        if (forms::InStr(name, find, forms::Compare::Text) != 0) hits.emplace_back(std::move(name), i);
    }
    if (hits.empty()) return;
    // A large folder's results go in with the list's drawing held, as one repaint.
    const HWND list = List1.hWnd();
    std::size_t bytes = 0;
    for (const auto& hit : hits) bytes += hit.first.size() + 1;
    SendMessageA(list, LB_INITSTORAGE, hits.size(), bytes);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    struct RedrawAfter {
        HWND list;
        ~RedrawAfter() {
            SendMessageA(list, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(list, nullptr, TRUE);
        }
    } redraw{list};
    for (const auto& [name, index] : hits) {
        List1.AddItem(name);
        List1.SetItemData(List1.NewIndex(), index);
    }
}

void frmQuillview::List1_Click() {
    const std::string chosen = List1.Text();
    if (chosen.empty()) return;
    const int stored = static_cast<int>(List1.ItemData(List1.ListIndex()));
    File1.Refresh();
    // The folder may have changed since the search: the entry is found by its name, the stored index being
    // only where it was then. A name that has gone selects nothing.
    int entry = -1;
    if (stored >= 0 && stored < File1.ListCount() && forms::TextEquals(File1.List(stored), chosen)) {
        entry = stored;
    } else {
        const int count = File1.ListCount();
        for (int i = 0; i < count && entry < 0; ++i) {
            if (forms::TextEquals(File1.List(i), chosen)) entry = i;
        }
    }
    if (entry >= 0) File1.SetListIndex(entry);
}

void frmQuillview::List1_KeyPress(int& KeyAscii) {
    if (KeyAscii != 8) return;
    txtSearch.SetFocus();
    forms::SendKeys("{BS}");
}
