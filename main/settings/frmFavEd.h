#pragma once
// The favourites manager: lists every favourite of the main window's favourites menu with its folder, checks
// that a folder still exists, deletes and renames favourites. It keeps no favourites of its own: it reads
// the menu and changes the favourites only through the store, which rebuilds that menu.

#include "main/windows/ShownHold.h"
#include "platform/forms/Form.h"
#include "platform/forms/controls/CommandButton.h"
#include "platform/forms/controls/Label.h"
#include "platform/forms/controls/ListBox.h"

#include <string>

class frmFavEd : public forms::Form {
public:
    frmFavEd();

    forms::Label Label1;
    forms::Label Label2;
    forms::ListBox List1;
    forms::Label Label3;
    forms::ListBox List2;
    forms::CommandButton cmdCheck;
    forms::CommandButton cmdRename;
    forms::CommandButton cmdDelete;
    forms::CommandButton cmdHelp;
    forms::CommandButton cmdOK;

protected:
    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

private:
    void cmdOK_Click();
    void List1_Click();
    void List2_Click();
    void List1_MouseDown();
    void List2_MouseDown();
    void cmdCheck_Click();
    void cmdDelete_Click();
    void cmdRename_Click();
    void cmdHelp_Click();

    // Rows from the favourites menu: only items with both a name and a folder.
    void FillLists();
    // The three action buttons work on the selected row, so they are usable exactly while one is.
    void EnableActions(bool enabled);
    // Selects row index of the other list; a row it lacks selects nothing.
    static void SelectRow(forms::ListBox& list, int index);

    ShownHold dialogOpen_;
};
