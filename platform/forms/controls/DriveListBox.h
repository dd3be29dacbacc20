#pragma once
// The drives in letter order (COMBOBOX, drop-down list). Drive reads as the list shows it: a lower-case
// letter and ":", then for a fixed drive a blank and its label in brackets ("c: [SYSTEM]"), for a network
// drive its share. Filling the list never touches a removable or network drive's medium (reading a label
// there can block for seconds). The list starts on the drive of the process's current folder and re-reads
// the drives each time it drops down.

#include "platform/forms/DesignedControl.h"
#include "platform/forms/controls/ListItems.h"

namespace forms {

struct DriveListBoxDesign {
    OleColor BackColor = color::Window;
    OleColor ForeColor = color::WindowText;
    FontSpec Font;
};

class DriveListBox : public DesignedControl<WindowedControl, DriveListBoxDesign> {
public:
    using DesignedControl::DesignedControl;

    std::string Drive() const;
    // Any text beginning with a letter and ":" ("C:\", "c: [SYSTEM]"). A letter that is no drive raises 68
    // and the list keeps its drive. A drive without a medium can be chosen. Change runs on a change.
    void SetDrive(std::string_view drive);
    std::string List(int index) const;
    int ListCount() const;
    int ListIndex() const;
    OleColor BackColor() const;
    void SetBackColor(OleColor value);

    std::function<void()> Change;

    void ResetFromDesign() override;
    // The drives and the chosen one are kept here; the window shows them when it is made.
    bool KeepsStateWithoutWindow() const override { return true; }
    void LoadedWithoutWindow() override { ReadDrives(); }

protected:
    const char* WindowClass() const override { return "COMBOBOX"; }
    DWORD WindowStyle() const override { return WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_HASSTRINGS; }
    const FontSpec* Font() const override { return &state_.Font; }
    bool Colors(COLORREF& back, COLORREF& fore) const override;
    void AfterCreate() override;
    void ApplyGeometry(const RECT& before) override;
    void OnCommand(WORD code) override;

private:
    // Reads the drives again, staying on the chosen letter while it exists.
    void ReadDrives();
    int IndexOf(char letter) const;
    void Choose(int index);  // shows the entry; Change when the letter changed

    ListItems items_{ComboBoxMessages};
    std::string letters_;  // the drive letter of each entry, upper case
    char drive_ = 0;
};

}  // namespace forms
