#include "main/browser/Placement.h"

#include "platform/forms/Screen.h"

#include <windows.h>

namespace browser {
namespace {

bool Contains(const MonitorRect& m, float x, float y) { return x >= m.left && x < m.right && y >= m.top && y < m.bottom; }

BOOL CALLBACK CollectMonitor(HMONITOR, HDC, LPRECT r, LPARAM data) {
    reinterpret_cast<std::vector<RECT>*>(data)->push_back(*r);
    return TRUE;
}

bool Meets(const MonitorRect& m, const StoredPlacement& p) {
    return p.left < m.right && p.left + p.width > m.left && p.top < m.bottom && p.top + p.height > m.top;
}

}  // namespace

StoredPlacement PlaceOnMonitors(StoredPlacement p, const std::vector<MonitorRect>& monitors) {
    if (p.state == 1) p.state = 0;
    if (p.width < 2000) p.width = 2000;
    if (p.height < 2000) p.height = 2000;
    bool cornerOnMonitor = false;
    for (const MonitorRect& m : monitors) cornerOnMonitor = cornerOnMonitor || Contains(m, p.left, p.top);
    if (!cornerOnMonitor) {
        if (p.left < 0) p.left = 100;
        if (p.top < 0) p.top = 100;
    }
    bool meets = false;
    for (const MonitorRect& m : monitors) meets = meets || Meets(m, p);
    if (!meets) {
        p.left = 100;
        p.top = 100;
    }
    return p;
}

std::vector<MonitorRect> MonitorsInTwips() {
    std::vector<RECT> rects;
    EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&rects));
    const float tx = forms::Screen().TwipsPerPixelX();
    const float ty = forms::Screen().TwipsPerPixelY();
    std::vector<MonitorRect> monitors;
    for (const RECT& r : rects) monitors.push_back({r.left * tx, r.top * ty, r.right * tx, r.bottom * ty});
    return monitors;
}

}  // namespace browser
