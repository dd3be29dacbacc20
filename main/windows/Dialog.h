#pragma once
// One small window with two uses: a message with a "Do not show this message again" box (ShowMessage), and
// the frame in which a user adds a web link of their own by hand (the opener makes FraAdd visible and shows
// the window). Every showing starts from the design, as the window is unloaded after each.

#include "platform/forms/Form.h"
#include "platform/forms/controls/CheckBox.h"
#include "platform/forms/controls/CommandButton.h"
#include "platform/forms/controls/Frame.h"
#include "platform/forms/controls/Label.h"
#include "platform/forms/controls/TextBox.h"

#include <string>

class Dialog : public forms::Form {
public:
    Dialog();

    // Shows Message modally over Owner under Title; bChecked receives the box as the user left it in this
    // showing. The window is unloaded on return.
    void ShowMessage(const std::string& Message, const std::string& Title, forms::Form* Owner, bool& bChecked);

    bool DontShowAgain = false;

    forms::Label Label1;
    forms::CheckBox Check1;
    forms::CommandButton OKButton;
    forms::Frame FraAdd;
    forms::Label Label2;
    forms::TextBox txtWebName;
    forms::Label Label3;
    forms::TextBox Text1;
    forms::CommandButton cmdAddLink;
    forms::CommandButton cmdCanclnk;

protected:
    void Form_Load() override;

private:
    void Check1_Click();
    void OKButton_Click();
    void cmdAddLink_Click();
    void cmdCanclnk_Click();
    void Text1_KeyPress(int& KeyAscii);
};
