#pragma once
// Fileseek as a floating window over the main window's file list: part of a file name typed into the box,
// Enter, and every file of the list whose name holds that text is listed; a click on one makes it the only
// selected and the current file of the main window. Shown modeless and owned by the main window; it is not
// a dialog, so the tray menu stays live while it is up.

#include "platform/forms/Form.h"
#include "platform/forms/controls/ListBox.h"
#include "platform/forms/controls/ListControl.h"
#include "platform/forms/controls/TextBox.h"

#include <string>
#include <vector>

namespace fileseek {

struct Match {
    std::string name;
    int index;  // in the searched list, at the time of the search
    bool operator==(const Match&) const = default;
};

// The entries of a file list whose name contains text anywhere, letter case ignored, in list order. The
// main window's own Fileseek panel searches by the same rule.
std::vector<Match> Search(const forms::ListControl& files, const std::string& text);

// The entry of files named name (letter case ignored, as the file system does), -1 when there is none. A
// result is picked by its name: the list may have been re-read since the search.
int FindEntry(const forms::ListControl& files, const std::string& name);

}  // namespace fileseek

class frmFileseek : public forms::Form {
public:
    frmFileseek();

    forms::TextBox Text1;
    forms::ListBox List1;

protected:
    void Form_Load() override;
    void Form_Resize() override;

private:
    void Text1_GotFocus();
    void Text1_KeyPress(int& KeyAscii);
    void Text1_LostFocus();
    void List1_Click();
    void List1_KeyPress(int& KeyAscii);
};
