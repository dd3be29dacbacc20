#include "main/windows/Dialog.h"

#include "main/core/Module1.h"
#include "main/core/WebLink.h"
#include "main/core/clsVarMenus.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Strings.h"

Dialog::Dialog()
    : Form({.Caption = "Manually Add Link",
            .Width = 6015,
            .Height = 1725,
            .Border = forms::BorderStyle::FixedDialog,
            .ShowInTaskbar = false,
            .StartUp = forms::StartUpPosition::CenterScreen}),
      Label1(*this, "Label1", {120, 120, 5685, 615}, {.UseMnemonic = false}),
      Check1(*this, "Check1", {120, 840, 3735, 255}, {.Caption = "Do not show this message again"}),
      OKButton(*this, "OKButton", {4560, 780, 1215, 375}, {.Caption = "OK"}),
      FraAdd(*this, "FraAdd", {0, 0, 5925, 1290}, {.Caption = "Add Link"}, {.Visible = false}),
      Label2(FraAdd, "Label2", {120, 270, 1215, 255}, {.Caption = "Website Name:"}),
      txtWebName(FraAdd, "txtWebName", {1440, 240, 4335, 285}),
      Label3(FraAdd, "Label3", {120, 600, 1215, 255}, {.Caption = "Website URL"}),
      Text1(FraAdd, "Text1", {1440, 570, 4335, 285}, {.Text = "http://"}),
      cmdAddLink(FraAdd, "cmdAddLink", {3240, 900, 1215, 315}, {.Caption = "OK"}),
      cmdCanclnk(FraAdd, "cmdCanclnk", {4560, 900, 1215, 315}, {.Caption = "Cancel"}) {
    Check1.Click = [this] { Check1_Click(); };
    OKButton.Click = [this] { OKButton_Click(); };
    cmdAddLink.Click = [this] { cmdAddLink_Click(); };
    cmdCanclnk.Click = [this] { cmdCanclnk_Click(); };
    Text1.KeyPress = [this](int& KeyAscii) { Text1_KeyPress(KeyAscii); };
}

void Dialog::Form_Load() { DontShowAgain = false; }

void Dialog::ShowMessage(const std::string& Message, const std::string& Title, forms::Form* Owner,
                         bool& bChecked) {
    Label1.SetCaption(Message);
    SetCaption(Title);
    Show(forms::ShowMode::Modal, Owner);
    bChecked = DontShowAgain;
    Unload();
}

void Dialog::Check1_Click() { DontShowAgain = Check1.Value() == 1; }

void Dialog::OKButton_Click() { Unload(); }

void Dialog::cmdCanclnk_Click() { Unload(); }

void Dialog::Text1_KeyPress(int& KeyAscii) {
    if (KeyAscii == 13) {
        KeyAscii = 0;
        cmdAddLink_Click();
    }
}

void Dialog::cmdAddLink_Click() {
    if (forms::Trim(txtWebName.Text()).empty()) {
        forms::MsgBox("Please enter a name for the website", forms::mb::OkOnly | forms::mb::Exclamation, "Enter Name");
        return;
    }
    const std::string url = Text1.Text();
    // The menu refuses what it cannot open; asking again here loses nothing the user typed.
    if (forms::Trim(url).empty() || url == "http://" || !Module1::IsWebLink(url)) {
        forms::MsgBox("Please enter a website URL", forms::mb::OkOnly | forms::mb::Exclamation, "Enter URL");
        return;
    }
    bool Fail = false;
    Module1::gMyWebsMenu().AddItem(txtWebName.Text(), url, Fail);
    Unload();
}
