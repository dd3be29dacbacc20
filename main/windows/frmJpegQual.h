#pragma once
// Asks for the quality of a JPEG about to be written.

#include "platform/forms/Form.h"
#include "platform/forms/controls/CommandButton.h"
#include "platform/forms/controls/Frame.h"
#include "platform/forms/controls/HScrollBar.h"
#include "platform/forms/controls/Label.h"

#include <cstdint>

class frmJpegQual : public forms::Form {
public:
    frmJpegQual();

    // Shows the window over the main window with the slider at 50. bFail is True unless OK closed it;
    // the result is the value chosen at OK (after a cancel, the one of the last OK; 0 before any).
    std::int32_t GetQualVal(bool& bFail);

    bool Cancelled = true;
    std::int32_t QualityValue = 0;

    forms::Frame Frame1;
    forms::HScrollBar HScroll1;
    forms::Label lblQualVal;
    forms::Label Label2;
    forms::Label Label1;
    forms::CommandButton cmdOK;
    forms::CommandButton cmdCancel;

private:
    void HScroll1_Change();
    void HScroll1_Scroll();
    void cmdOK_Click();
    void cmdCancel_Click();
};
