#include "main/windows/frmSettingUp.h"

#include "platform/forms/Units.h"

#include <windows.h>

#include <algorithm>

frmSettingUp::frmSettingUp()
    : Form({.Caption = "Quillview",
            .Width = 4800,
            .Height = 1500,
            .Border = forms::BorderStyle::None,
            .ShowInTaskbar = false,
            .StartUp = forms::StartUpPosition::Manual}),
      Label1(*this, "Label1", {240, 900, 4320, 300},
             {.Caption = "Loading Quillview components...", .Alignment = forms::alignment::Center,
              .Font = {.Name = "Arial", .Size = 9}, .UseMnemonic = false}),
      Label2(*this, "Label2", {240, 240, 4320, 480},
             {.Caption = "Quillview", .Alignment = forms::alignment::Center,
              .Font = {.Name = "Arial", .Size = 18, .Bold = true}}) {}

// The start-up's questions come up at the centre of the screen, where a centred splash would sit under them
// and show as a blank strip beside a narrower box. The splash stands above them, centred across, its lower
// edge one box half (a two-line question's) above the centre.
void frmSettingUp::Form_Load() {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoA(MonitorFromWindow(hWnd(), MONITOR_DEFAULTTOPRIMARY), &monitor)) return;
    using forms::Axis;
    const auto twips = [](LONG pixels, Axis axis) {
        return forms::FromPixels(static_cast<int>(pixels), forms::ScaleMode::Twips, axis);
    };
    const RECT& area = monitor.rcWork;
    const float centreX = twips(area.left + area.right, Axis::X) / 2;
    const float centreY = twips(area.top + area.bottom, Axis::Y) / 2;
    const float clear = Height() * 3 / 5;
    Move(centreX - Width() / 2, std::max(twips(area.top, Axis::Y), centreY - clear - Height()));
}
