#pragma once
// One tip at a time from the main window's tips file, and the box that decides whether a tip opens at start.
// The main window owns the tips and the random choice; it sets the box and writes each tip here.

#include "main/core/Module1.h"
#include "main/windows/ShownHold.h"
#include "platform/forms/Form.h"
#include "platform/forms/controls/CheckBox.h"
#include "platform/forms/controls/CommandButton.h"
#include "platform/forms/controls/Label.h"

#include <functional>

class frmTips : public forms::Form {
public:
    frmTips();

    forms::Label lblTipText;
    forms::CommandButton cmdNextTip;
    forms::CheckBox chkLoadTipsAtStartup;
    forms::CommandButton cmdExit;

    // What "Next Tip" runs: the main window's next-tip routine, bound by the main window.
    std::function<void()> NextTip;

protected:
    void Form_Load() override;
    void Form_Unload(int& Cancel) override;
    void PaintBackground(HDC dc) override;

private:
    void cmdNextTip_Click();
    void chkLoadTipsAtStartup_Click();
    void cmdExit_Click();

    ShownHold dialogOpen_;
};
