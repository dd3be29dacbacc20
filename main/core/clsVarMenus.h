#pragma once
// A list of (name, value) pairs kept as the items of a menu array of the main window and stored in a small
// text file, one item a line: value, "<name>", name. The editors, the user's own web links and the imaging
// sites the update program fetches are three such lists.

#include "platform/forms/ControlArray.h"
#include "platform/forms/Menu.h"

#include <cstdint>
#include <string>

namespace forms {
class ListBox;
}

class clsVarMenus {
public:
    // The menu array that holds the list: element i's Caption is the name, its Tag the value. Element 0
    // belongs to the window's design and always exists.
    forms::ControlArray<forms::Menu>* MenuItems = nullptr;
    // List boxes that FillListBox fills (the options window's).
    forms::ListBox* NameList = nullptr;
    forms::ListBox* TagList = nullptr;
    // The data file's name, without folder: read from the user's copy, else the program folder's default;
    // saved to the user's copy.
    std::string DataFile;

    // Fills the menu from the file; a missing file leaves the menu as it is. Raises base+354 without a file.
    void LoadMenu();
    // Empties the menu, then loads it again (errors ignored).
    void ReloadMenu();
    // Writes the items that have a name or a value, replacing the file only once the new one is complete;
    // an empty list removes the user's copy. Raises base+354 without a file.
    void SaveMenu();
    // Removes item Index; the last item left is blanked instead.
    void DelMenuItem(std::int32_t Index);
    // Asks for a new name; returns it, or "" when nothing changed.
    std::string RenameItem(std::int32_t Index);
    // 0 names into NameList, 1 values into TagList, 2 both; other values nothing. Raises 91 for a list not
    // bound.
    void FillListBox(std::int32_t Fill);
    // Appends an item and returns its index; on a taken value or name, or text a line cannot hold, one box,
    // Fail set and 0 returned.
    std::int32_t AddItem(std::string strName, std::string strTag, bool& Fail);
    // Whether some item's name (ChkTag false) or value (true) is exactly strChk.
    bool InArray(const std::string& strChk, bool ChkTag) const;

private:
    forms::ControlArray<forms::Menu>& Items() const;
    void DeleteDataFile() const;

    // A bad line is reported once per file for the run.
    bool badLineReported_ = false;
    std::string reportedFor_;
};
