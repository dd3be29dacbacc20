#pragma once
// The main window of the picture browser. It is the running instance that later starts hand their
// command line to, and its unload ends the program.

#include "platform/forms/Form.h"
#include "platform/subclass/ISubclass.h"

#include <string>

class frmQuillview : public forms::Form, public subclass::ISubclass {
public:
    frmQuillview();

    // Turns a command line (this start's, when sCommand is empty) into the picture chosen in the browser.
    void ProcessCmdLine(const std::string& sCommand = {});

    // The hand-in of a later start's command line (WM_COPYDATA only).
    std::int32_t MsgResponse() const override { return subclass::ConsumeMessage; }
    void SetMsgResponse(std::int32_t) override {}
    LRESULT WindowProc(HWND hwnd, UINT iMsg, WPARAM wParam, LPARAM lParam) override;

protected:
    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

private:
    void ReceiveCommandLine(const std::string& text);
};
