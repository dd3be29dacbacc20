#pragma once
// A frozen picture of the whole desktop, exactly where it was, on which the user draws the area to keep;
// any key ends the selection. Its picture box also serves the main window as a scratch surface for copies,
// which is why nothing of the capture happens until SetPic.

#include "platform/forms/Form.h"
#include "platform/forms/StdPicture.h"
#include "platform/forms/Timer.h"
#include "platform/forms/controls/Label.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/controls/Shape.h"

#include <windows.h>

#include <cstdint>

class frmCrop : public forms::Form {
public:
    frmCrop();

    // Takes the shot: the window covers the desktop it came from, tells the user what to do (unless told not
    // to) and goes on top.
    void SetPic(const forms::StdPicture& Pic);

    // The selection from the press point to the pointer, in any direction.
    static RECT Selection(POINT press, POINT pointer);

    float PressX = 0;
    float PressY = 0;
    bool WholeScreen = false;
    std::int16_t BlinkCount = 0;

    forms::Shape Record;
    forms::Shape Shape1;
    forms::Label Size;
    forms::PictureBox Picture1;
    forms::Timer Captim;
    forms::Timer Timer1;

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void Form_MouseDown(int Button, int Shift, float X, float Y) override;
    void Form_MouseMove(int Button, int Shift, float X, float Y) override;

private:
    void Captim_Timer();
    void Timer1_Timer();
    // Shows the shot where it was taken, over the whole desktop.
    void Cover(const forms::StdPicture& Pic);
    void ShowCustomCaptureHint();
    void FinishCrop();
    bool AreaDrawn() const;
};
