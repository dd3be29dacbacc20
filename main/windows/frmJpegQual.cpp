#include "main/windows/frmJpegQual.h"

#include <string>

frmJpegQual::frmJpegQual()
    : Form({.Caption = "Jpeg Quality",
            .Width = 4770,
            .Height = 2370,
            .Border = forms::BorderStyle::FixedSingle,
            .MinButton = false,
            .MaxButton = false,
            .ShowInTaskbar = false,
            .StartUp = forms::StartUpPosition::CenterOwner}),
      Frame1(*this, "Frame1", {120, 60, 4425, 1275}, {.Caption = "Select Quality"}),
      HScroll1(Frame1, "HScroll1", {120, 300, 4185, 255},
               {.Min = 1, .Max = 100, .Value = 1, .SmallChange = 1, .LargeChange = 10}),
      lblQualVal(Frame1, "lblQualVal", {120, 960, 4185, 255},
                 {.Caption = "Quality Value: 1", .Alignment = forms::alignment::Center,
                  .Font = {.Name = "Arial", .Size = 9}}),
      Label2(Frame1, "Label2", {120, 600, 2055, 255}, {.Caption = "Smaller File, Lower Quality"}),
      Label1(Frame1, "Label1", {2250, 600, 2055, 255},
             {.Caption = "Larger File, Higher Quality", .Alignment = forms::alignment::Right}),
      cmdOK(*this, "cmdOK", {2040, 1440, 1215, 375}, {.Caption = "OK", .Default = true}),
      cmdCancel(*this, "cmdCancel", {3330, 1440, 1215, 375}, {.Caption = "Cancel", .Cancel = true}) {
    HScroll1.Change = [this] { HScroll1_Change(); };
    HScroll1.Scroll = [this] { HScroll1_Scroll(); };
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
}

std::int32_t frmJpegQual::GetQualVal(bool& bFail) {
    // The close box counts as Cancel: no result may depend on an earlier showing's OK.
    Cancelled = true;
    HScroll1.SetValue(50);
    Show(forms::ShowMode::Modal, forms::Form::MainForm());
    bFail = Cancelled;
    Unload();
    return QualityValue;
}

void frmJpegQual::HScroll1_Change() { lblQualVal.SetCaption("Quality Value: " + std::to_string(HScroll1.Value())); }

void frmJpegQual::HScroll1_Scroll() {
    HScroll1_Change();
    QualityValue = HScroll1.Value();
}

void frmJpegQual::cmdOK_Click() {
    QualityValue = HScroll1.Value();
    Cancelled = false;
    Unload();
}

void frmJpegQual::cmdCancel_Click() {
    Cancelled = true;
    Unload();
}
