#pragma once
// The folder chooser of the main window's copy and move commands: a folder tree and the user's favourite
// folders, one click away.

#include "main/windows/ShownHold.h"
#include "platform/forms/Form.h"
#include "platform/forms/controls/CommandButton.h"
#include "platform/forms/controls/Label.h"
#include "platform/forms/controls/ListBox.h"
#include "platform/foldertree/FolderTree.h"

#include <string>

class frmBrowse : public forms::Form {
public:
    frmBrowse();

    // Shows the chooser over Owner, its tree at InitDir. True only after OK on an existing folder; puDest
    // (when given) receives the folder last chosen in every case.
    bool ShowBrowse(forms::Form* Owner, const std::string& Msg, const std::string& InitDir,
                    std::string* puDest = nullptr);

    bool Cancelled = true;
    std::string ChosenPath;

    forms::Label Label1;
    forms::Label Label2;
    forms::FolderTree ftvDirs;
    forms::Label Label3;
    forms::ListBox lstFavs;
    forms::CommandButton Command2;
    forms::CommandButton Command1;

protected:
    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

private:
    void ftvDirs_FolderChange(const forms::FolderItem& item);
    void lstFavs_Click();
    void Command2_Click();
    void Command1_Click();

    ShownHold dialogOpen_;
};
