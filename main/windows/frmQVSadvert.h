#pragma once
// The preview box of the maker's studio program, shown when that program is not installed: what it is to
// offer, and the way to its web site.

#include "main/windows/ShownHold.h"
#include "platform/forms/Form.h"
#include "platform/forms/controls/CommandButton.h"
#include "platform/forms/controls/Label.h"
#include "platform/forms/controls/Line.h"
#include "platform/forms/controls/Shape.h"

class frmQVSadvert : public forms::Form {
public:
    frmQVSadvert();

    forms::Label lblHeading;
    forms::Line Line1;
    forms::Shape Shape1;
    forms::Label lblFeatures;
    forms::Label lblRelease;
    forms::Label lblInvite;
    forms::CommandButton cmdQVWebsite;
    forms::CommandButton cmdCancel;

protected:
    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

private:
    void cmdCancel_Click();
    void cmdQVWebsite_Click();

    ShownHold dialogOpen_;
};
