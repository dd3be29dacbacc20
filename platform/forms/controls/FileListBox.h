#pragma once
// The files of one folder that match a pattern (LISTBOX, strings kept). Path, Pattern and Refresh re-list
// and leave no current entry, without Click; the user's choice by mouse or arrow keys and a ListIndex or
// Selected(i) set from code raise Click. What is listed and in which order: FileListing.h.

#include "platform/forms/DesignedControl.h"
#include "platform/forms/controls/ListControl.h"

namespace forms {

struct FileListBoxDesign {
    std::string Pattern = "*.*";
    int MultiSelect = multiselect::None;
    bool IntegralHeight = true;
    OleColor BackColor = color::Window;
    OleColor ForeColor = color::WindowText;
    FontSpec Font;
    int Appearance = appearance::ThreeD;
};

class FileListBox : public DesignedControl<ListControl, FileListBoxDesign> {
public:
    using DesignedControl::DesignedControl;

    // The folder listed (at load: the process's current folder). Setting it: a missing folder raises 76, a
    // drive that is not ready 68; either way the old path stays.
    std::string Path() const;
    void SetPath(std::string_view path);
    // ";"-separated wildcards; "" lists nothing.
    std::string Pattern() const;
    void SetPattern(const std::string& pattern);
    // The current entry's name, "" when none.
    std::string FileName() const;
    OleColor BackColor() const;
    void SetBackColor(OleColor value);
    // Re-lists the folder and repaints.
    void Refresh() override;

    void ResetFromDesign() override;

protected:
    int DesignMultiSelect() const override { return design_.MultiSelect; }
    int DesignAppearance() const override { return design_.Appearance; }
    DWORD ListStyle() const override { return state_.IntegralHeight ? 0 : LBS_NOINTEGRALHEIGHT; }
    const FontSpec* Font() const override { return &state_.Font; }
    bool Colors(COLORREF& back, COLORREF& fore) const override;
    void AfterCreate() override;

private:
    std::string path_;
};

}  // namespace forms
