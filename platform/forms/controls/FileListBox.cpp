#include "platform/forms/controls/FileListBox.h"

#include "platform/runtime/FileListing.h"
#include "platform/runtime/RuntimeError.h"

namespace forms {

void FileListBox::ResetFromDesign() {
    DesignedControl::ResetFromDesign();
    char current[MAX_PATH * 4] = {};
    const DWORD n = GetCurrentDirectoryA(sizeof current, current);
    path_ = n > 0 && n < sizeof current ? std::string(current, n) : std::string();
}

void FileListBox::AfterCreate() {
    ListControl::AfterCreate();
    try {
        Relist(ListFiles(path_, state_.Pattern));
    } catch (const RuntimeError&) {
        // A folder that cannot be read at load shows an empty list; setting Path reports it.
    }
}

bool FileListBox::Colors(COLORREF& back, COLORREF& fore) const {
    back = ToColorRefOr(state_.BackColor, GetSysColor(COLOR_WINDOW));
    fore = ToColorRefOr(state_.ForeColor, GetSysColor(COLOR_WINDOWTEXT));
    return true;
}

std::string FileListBox::Path() const {
    Touch();
    return path_;
}

void FileListBox::SetPath(std::string_view path) {
    Touch();
    std::string folder = CheckedListFolder(path);
    Relist(ListFiles(folder, state_.Pattern));
    path_ = std::move(folder);
}

std::string FileListBox::Pattern() const {
    Touch();
    return state_.Pattern;
}

void FileListBox::SetPattern(const std::string& pattern) {
    Touch();
    Relist(ListFiles(path_, pattern));
    state_.Pattern = pattern;
}

std::string FileListBox::FileName() const { return Text(); }

OleColor FileListBox::BackColor() const {
    Touch();
    return state_.BackColor;
}

void FileListBox::SetBackColor(OleColor value) {
    Touch();
    ToColorRef(value);
    state_.BackColor = value;
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void FileListBox::Refresh() {
    Touch();
    Relist(ListFiles(path_, state_.Pattern));
    WindowedControl::Refresh();
}

}  // namespace forms
