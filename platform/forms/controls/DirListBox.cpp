#include "platform/forms/controls/DirListBox.h"

#include "platform/forms/EventErrorBoundary.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/DriveFolders.h"
#include "platform/runtime/FileListing.h"
#include "platform/runtime/Paths.h"
#include "platform/runtime/RuntimeError.h"

#include <utility>

namespace forms {
namespace {
constexpr int IndentPixels = 12;
}

DWORD DirListBox::WindowStyle() const {
    return WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_HASSTRINGS | LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT |
           AppearanceStyle(state_.Appearance);
}

void DirListBox::ResetFromDesign() {
    DesignedControl::ResetFromDesign();
    rows_.Attach(nullptr);
    rows_.Clear();
    chain_.clear();
    subfolders_.clear();
    highlighted_ = -1;
    filled_ = false;
    char current[MAX_PATH * 4] = {};
    const DWORD n = GetCurrentDirectoryA(sizeof current, current);
    path_ = n > 0 && n < sizeof current ? std::string(current, n) : std::string();
}

void DirListBox::FillAtLoad() {
    try {
        Fill(path_.empty() ? std::vector<std::string>{} : ListSubfolders(path_));
    } catch (const RuntimeError&) {
        // A folder that cannot be read at load shows its path alone; setting Path reports it.
    }
}

void DirListBox::LoadedWithoutWindow() {
    FillAtLoad();
    filled_ = true;
}

void DirListBox::AfterCreate() {
    rows_.Attach(hwnd_);
    TEXTMETRICA tm{};
    {
        const HDC dc = GetDC(hwnd_);
        const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(hwnd_, WM_GETFONT, 0, 0)));
        GetTextMetricsA(dc, &tm);
        SelectObject(dc, old);
        ReleaseDC(hwnd_, dc);
    }
    SendMessageA(hwnd_, LB_SETITEMHEIGHT, 0, tm.tmHeight + 2);
    if (std::exchange(filled_, false)) {
        rows_.Mirror();
        SendMessageA(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(highlighted_), 0);
        return;
    }
    FillAtLoad();
}

bool DirListBox::Colors(COLORREF& back, COLORREF& fore) const {
    back = ToColorRefOr(state_.BackColor, GetSysColor(COLOR_WINDOW));
    fore = ToColorRefOr(state_.ForeColor, GetSysColor(COLOR_WINDOWTEXT));
    return true;
}

std::vector<std::string> DirListBox::Chain(const std::string& path) {
    std::vector<std::string> chain;
    for (std::string p = path; !p.empty();) {
        chain.insert(chain.begin(), p);
        const std::string up = FolderOf(p);
        if (up == p || up.empty() || up.size() >= p.size()) break;
        p = up;
    }
    return chain;
}

void DirListBox::Fill(std::vector<std::string> subfolders) {
    chain_ = Chain(path_);
    subfolders_ = std::move(subfolders);
    std::vector<std::string> rows;
    rows.reserve(chain_.size() + subfolders_.size());
    for (size_t i = 0; i < chain_.size(); ++i) rows.push_back(i == 0 ? chain_[i] : FileNameOf(chain_[i]));
    for (const std::string& s : subfolders_) rows.push_back(s);
    rows_.Assign(std::move(rows));
    highlighted_ = OpenRow();
    if (hwnd_) SendMessageA(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(OpenRow()), 0);
}

std::string DirListBox::Path() const {
    Touch();
    return path_;
}

void DirListBox::SetPath(std::string_view path) {
    Touch();
    std::string folder = CheckedListFolder(path);
    RememberDriveFolder(folder);
    if (folder == path_) return;
    // The folder is read once for its subfolders and the files the Change handlers list.
    const ListingSnapshot listing;
    std::vector<std::string> subfolders = ListSubfolders(folder);  // an unreadable folder leaves the old path
    path_ = std::move(folder);
    Fill(std::move(subfolders));
    if (Change) Change();
}

std::string DirListBox::List(int index) const {
    Touch();
    if (index >= 0) return index < static_cast<int>(subfolders_.size()) ? JoinPath(path_, subfolders_[index]) : "";
    const int row = OpenRow() + 1 + index;
    return row >= 0 ? chain_[static_cast<size_t>(row)] : "";
}

int DirListBox::ListCount() const {
    Touch();
    return static_cast<int>(subfolders_.size());
}

int DirListBox::ListIndex() const {
    Touch();
    const int row = hwnd_ ? static_cast<int>(SendMessageA(hwnd_, LB_GETCURSEL, 0, 0)) : highlighted_;
    return row == LB_ERR ? -1 : row - OpenRow() - 1;
}

void DirListBox::SetListIndex(int index) {
    Touch();
    index = CInt(index);
    const int row = OpenRow() + 1 + index;
    if (row < 0 || index >= ListCount()) throw RuntimeError(err::InvalidPropertyValue);
    highlighted_ = row;
    if (hwnd_) SendMessageA(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
}

void DirListBox::Refresh() {
    Touch();
    Fill(ListSubfolders(path_));
    WindowedControl::Refresh();
}

int DirListBox::Appearance() const {
    Touch();
    return state_.Appearance;
}

void DirListBox::SetAppearance(int value) {
    Touch();
    state_.Appearance = CheckedAppearance(CInt(value));
    ApplyAppearance(hwnd_, state_.Appearance);
}

OleColor DirListBox::BackColor() const {
    Touch();
    return state_.BackColor;
}

void DirListBox::SetBackColor(OleColor value) {
    Touch();
    ToColorRef(value);
    state_.BackColor = value;
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void DirListBox::OpenHighlighted() {
    const int index = ListIndex();
    if (index == -1) return;
    const std::string target = List(index);
    Guarded([&] { SetPath(target); });
}

void DirListBox::OnCommand(WORD code) {
    if (code == LBN_DBLCLK) OpenHighlighted();
}

bool DirListBox::HandlesDialogKey(int key, HWND target) {
    if (key != VK_RETURN || target != hwnd_ || !hwnd_) return false;
    OpenHighlighted();
    return true;
}

bool DirListBox::OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_DRAWITEM) {
        Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
    }
    return DesignedControl::OnReflect(msg, wParam, lParam, result);
}

// Each row indented by its depth: the open path one step further per folder, the subfolders one step
// below the open folder.
void DirListBox::Draw(const DRAWITEMSTRUCT& item) const {
    if (item.itemID == static_cast<UINT>(-1)) return;
    const int row = static_cast<int>(item.itemID);
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    COLORREF back = 0, fore = 0;
    Colors(back, fore);
    if (selected) {
        back = GetSysColor(COLOR_HIGHLIGHT);
        fore = GetSysColor(COLOR_HIGHLIGHTTEXT);
    }
    const HDC dc = item.hDC;
    SetBkColor(dc, back);
    SetTextColor(dc, fore);
    const int depth = row <= OpenRow() ? row : OpenRow() + 1;
    RECT text = item.rcItem;
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &item.rcItem, nullptr, 0, nullptr);
    text.left += 2 + depth * IndentPixels;
    const std::string& label = rows_.Text(row);
    DrawTextA(dc, label.c_str(), static_cast<int>(label.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &item.rcItem);
}

}  // namespace forms
