#include "main/windows/frmSettingUp.h"

frmSettingUp::frmSettingUp()
    : Form({.Caption = "Quillview",
            .Width = 4800,
            .Height = 1500,
            .Border = forms::BorderStyle::None,
            .ShowInTaskbar = false,
            .StartUp = forms::StartUpPosition::CenterScreen}),
      Label1(*this, "Label1", {240, 900, 4320, 300},
             {.Caption = "Loading Quillview components...", .Alignment = forms::alignment::Center,
              .Font = {.Name = "Arial", .Size = 9}, .UseMnemonic = false}),
      Label2(*this, "Label2", {240, 240, 4320, 480},
             {.Caption = "Quillview", .Alignment = forms::alignment::Center,
              .Font = {.Name = "Arial", .Size = 18, .Bold = true}}) {}
