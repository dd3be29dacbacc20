#include "platform/forms/controls/DriveListBox.h"

#include "platform/forms/EventErrorBoundary.h"
#include "platform/forms/controls/ComboBox.h"
#include "platform/runtime/RuntimeError.h"

#include <winnetwk.h>

namespace forms {
namespace {

char UpperLetter(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// How the list shows a drive. Only a fixed drive's label is read: its medium is always there.
std::string DriveText(char letter) {
    const char root[4] = {letter, ':', '\\', '\0'};
    std::string text{static_cast<char>(letter - 'A' + 'a'), ':'};
    switch (GetDriveTypeA(root)) {
    case DRIVE_FIXED: {
        char label[MAX_PATH + 1] = {};
        if (GetVolumeInformationA(root, label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0) && label[0])
            text += std::string(" [") + label + "]";
        break;
    }
    case DRIVE_REMOTE: {
        const char device[3] = {letter, ':', '\0'};
        char share[MAX_PATH + 1] = {};
        DWORD size = sizeof share;
        if (WNetGetConnectionA(device, share, &size) == NO_ERROR && share[0]) text += std::string(" [") + share + "]";
        break;
    }
    default: break;
    }
    return text;
}

}  // namespace

void DriveListBox::ResetFromDesign() {
    DesignedControl::ResetFromDesign();
    items_.Attach(nullptr);
    items_.Clear();
    letters_.clear();
    char current[MAX_PATH * 4] = {};
    const DWORD n = GetCurrentDirectoryA(sizeof current, current);
    drive_ = n >= 2 && current[1] == ':' ? UpperLetter(current[0]) : 0;
}

void DriveListBox::AfterCreate() {
    items_.Attach(hwnd_);
    ReadDrives();
    PlaceDropDown(hwnd_, PixelRect());
}

void DriveListBox::ApplyGeometry(const RECT&) { PlaceDropDown(hwnd_, PixelRect()); }

bool DriveListBox::Colors(COLORREF& back, COLORREF& fore) const {
    back = ToColorRefOr(state_.BackColor, GetSysColor(COLOR_WINDOW));
    fore = ToColorRefOr(state_.ForeColor, GetSysColor(COLOR_WINDOWTEXT));
    return true;
}

void DriveListBox::ReadDrives() {
    const DWORD mask = GetLogicalDrives();
    std::vector<std::string> texts;
    letters_.clear();
    for (int i = 0; i < 26; ++i) {
        if (!(mask & (1u << i))) continue;
        const char letter = static_cast<char>('A' + i);
        letters_ += letter;
        texts.push_back(DriveText(letter));
    }
    items_.Assign(std::move(texts));
    int index = IndexOf(drive_);
    if (index < 0 && !letters_.empty()) index = 0;  // the chosen drive went away
    drive_ = index >= 0 ? letters_[static_cast<size_t>(index)] : 0;
    if (hwnd_) SendMessageA(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int DriveListBox::IndexOf(char letter) const {
    const size_t at = letter ? letters_.find(UpperLetter(letter)) : std::string::npos;
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

std::string DriveListBox::Drive() const {
    Touch();
    return items_.Text(IndexOf(drive_));
}

void DriveListBox::SetDrive(std::string_view drive) {
    Touch();
    if (drive.size() < 2 || drive[1] != ':') throw RuntimeError(err::DeviceUnavailable);
    int index = IndexOf(drive[0]);
    if (index < 0) {  // a drive added since the last drop-down
        ReadDrives();
        index = IndexOf(drive[0]);
    }
    if (index < 0) throw RuntimeError(err::DeviceUnavailable);
    SendMessageA(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    const char letter = letters_[static_cast<size_t>(index)];
    if (letter == drive_) return;
    drive_ = letter;
    if (Change) Change();
}

void DriveListBox::Choose(int index) {
    if (index < 0 || index >= static_cast<int>(letters_.size())) return;
    const char letter = letters_[static_cast<size_t>(index)];
    if (letter == drive_) return;
    drive_ = letter;
    if (Change) Guarded([this] { Change(); });
}

void DriveListBox::OnCommand(WORD code) {
    if (code == CBN_DROPDOWN) ReadDrives();
    else if (code == CBN_SELCHANGE || code == CBN_CLOSEUP || code == CBN_SELENDOK)
        Choose(static_cast<int>(SendMessageA(hwnd_, CB_GETCURSEL, 0, 0)));
}

std::string DriveListBox::List(int index) const {
    Touch();
    return items_.Text(index);
}

int DriveListBox::ListCount() const {
    Touch();
    return items_.Count();
}

int DriveListBox::ListIndex() const {
    Touch();
    return IndexOf(drive_);
}

OleColor DriveListBox::BackColor() const {
    Touch();
    return state_.BackColor;
}

void DriveListBox::SetBackColor(OleColor value) {
    Touch();
    ToColorRef(value);
    state_.BackColor = value;
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

}  // namespace forms
