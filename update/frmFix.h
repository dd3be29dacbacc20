#pragma once
// The repair window: checks, stage by stage, the files the installation lays out, registers the two
// component libraries again, and tells the user whether a full re-installation is needed. It uses nothing
// of the system services library, so it works when that library cannot be created.

#include "platform/forms/Form.h"
#include "platform/forms/controls/CommandButton.h"
#include "platform/forms/controls/Label.h"
#include "update/ProgressBar.h"

#include <string>

class frmFix : public forms::Form {
public:
    frmFix();

    forms::Label Label1{*this, "Label1", {120, 120, 5415, 255},
                        {.Caption = "Click 'Fix' to scan and fix errors within the Quillview installation"}};
    forms::Label Label2{*this, "Label2", {120, 480, 5415, 855},
                        {.Caption = "Quillview Fix will attempt to re-register ActiveX components to the system and "
                                    "will detect if required files are missing. Sometimes the only option is to "
                                    "reinstall Quillview, but errors can be quickly fixed with this."}};
    forms::Label Label3{*this, "Label3", {0, 1440, 5700, 60}, {.Caption = "Label3", .BackColor = 0}};
    forms::Label lblStatus{*this, "lblStatus", {120, 1620, 5415, 255}, {.Caption = "Click 'Fix' to continue"}};
    update::ProgressBar ProgressBar1{*this, "ProgressBar1", {120, 1980, 5415, 255}, {.Min = 1}};
    forms::CommandButton cmdStart{*this, "cmdStart", {3000, 2400, 1215, 375}, {.Caption = "Fix"}};
    forms::CommandButton Command1{*this, "Command1", {4320, 2400, 1215, 375}, {.Caption = "Cancel", .Cancel = true}};

    std::string GetSystemPath() const;
    void ReportMissing(const std::string& name);
    void cmdStart_Click();
    void Command1_Click();

    // Where the installation puts the component libraries: the program folder.
    static std::string ComponentFolder();
    // Registers one library with the system's tool and waits for it; true when it succeeded.
    bool Register(const std::string& tool, const std::string& library);

private:
    bool error_ = false;
};
