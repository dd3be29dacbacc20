#pragma once
// Where the stored window placement opens, given the monitors: portable, so that the rule is tested as a
// table without real monitors.

#include <vector>

namespace browser {

struct StoredPlacement {
    int state = 0;  // 0 normal, 2 maximised (1, minimised, opens normal)
    float left = 0;
    float top = 0;
    float width = 8690;
    float height = 6050;
};

struct MonitorRect {
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;
};

// Sizes below 2000 twips become 2000. A negative left or top is kept only when the window's top-left corner
// lies on a monitor, else it becomes 100; a rectangle that meets no monitor opens at 100, 100.
StoredPlacement PlaceOnMonitors(StoredPlacement stored, const std::vector<MonitorRect>& monitors);

// The system's monitors, in twips of the primary screen.
std::vector<MonitorRect> MonitorsInTwips();

}  // namespace browser
