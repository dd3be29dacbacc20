#pragma once
// The About box: banner, the running version, the maker's line and link, the support note and the way to
// the update program. Borderless, cut to a rounded rectangle.

#include "main/core/Module1.h"
#include "main/windows/ShownHold.h"
#include "platform/forms/Form.h"
#include "platform/forms/controls/CommandButton.h"
#include "platform/forms/controls/Image.h"
#include "platform/forms/controls/Label.h"
#include "platform/forms/controls/Line.h"

#include <cstdint>
#include <string>

class frmAbout : public forms::Form {
public:
    frmAbout();

    // "Quillview major.minor.revision" of the running program.
    static std::string VersionText();
    // The region's size in pixels: whole twips over whole twips per pixel, each axis.
    static SIZE RegionSize(float widthTwips, float heightTwips, float twipsPerPixelX, float twipsPerPixelY);

    static constexpr forms::OleColor kLinkColour = 0xFFFF80;
    static constexpr forms::OleColor kLinkHotColour = 0x0000FF;

    forms::Image Image1;
    forms::Label Label1;
    forms::Label Label2;
    forms::Label Label3;
    forms::Label Label5;
    forms::Label Label7;
    forms::Label Label8;
    forms::Line Line1;
    forms::CommandButton cmdUpdate;
    forms::CommandButton Command1;

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(int& Cancel) override;
    void Form_MouseMove(int Button, int Shift, float X, float Y) override;

private:
    void SetRoundRegion(std::int32_t Mode);
    void cmdUpdate_Click();
    void Command1_Click();
    void Label2_Click();

    ShownHold dialogOpen_;
};
