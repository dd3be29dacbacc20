#pragma once
// The splash window shown while the main program starts; only its status line changes at run time.

#include "platform/forms/Form.h"
#include "platform/forms/controls/Label.h"

class frmSettingUp : public forms::Form {
public:
    frmSettingUp();

    forms::Label Label1;
    forms::Label Label2;

protected:
    void Form_Load() override;
};
