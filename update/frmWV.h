#pragma once
// The warning that the system's runtime library is older than the suite needs.

#include "platform/forms/Form.h"
#include "platform/forms/controls/CheckBox.h"
#include "platform/forms/controls/CommandButton.h"
#include "platform/forms/controls/Image.h"
#include "platform/forms/controls/Label.h"

class frmWV : public forms::Form {
    static forms::StdPicture WarningIcon();

public:
    frmWV();

    forms::Label Label1{*this, "Label1", {960, 120, 4800, 255},
                        {.Caption = "Quillview requires Msvbvm60.dll version 608495 or higher. "}};
    forms::Label Label2{*this, "Label2", {960, 420, 4800, 255}, {.Caption = "Your version is lower than 608495."}};
    forms::Label Label3{*this, "Label3", {960, 780, 4800, 1095},
                        {.Caption = "Quillview may still continue to run nomally so you can ignore this error, but "
                                    "our advice is to download the 1Mb runtime pack from Quillview Technical Support "
                                    "so as to avoid errors that may occur."}};
    // The warning's icon.
    forms::Image Image1{*this, "Image1", {240, 180, 480, 480}, {.Picture = WarningIcon()}};
    forms::CommandButton cmdDownload{*this, "cmdDownload", {240, 2040, 2055, 375},
                                     {.Caption = "Download Runtime Pack", .Default = true}};
    forms::CommandButton Command1{*this, "Command1", {2400, 2040, 1455, 375}, {.Caption = "Tech. Support"}};
    forms::CommandButton cmdIgnore{*this, "cmdIgnore", {3960, 2040, 1215, 375}, {.Caption = "Ignore"}};
    forms::CheckBox Check1{*this, "Check1", {240, 2580, 4455, 255},
                           {.Caption = "Never display this error message again"}};

    void Form_Load() override;
    void cmdDownload_Click();
    void Command1_Click();
    void cmdIgnore_Click();
    void Check1_Click();
};
