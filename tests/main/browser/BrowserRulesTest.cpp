// The window's arithmetic and text rules, apart from the window: Best Fit, the tips file's lines and the
// stored placement on the monitors.
#include "main/browser/DisplayGeometry.h"
#include "main/browser/Placement.h"
#include "main/browser/TipLines.h"

#include <gtest/gtest.h>

namespace {

TEST(BestFit, Cases) {
    struct Case {
        float w, h, pw, ph, sw, sh;
        bool scaled;
        int newW, newH;
        float left, top;
    };
    const Case cases[] = {
        {400, 300, 400, 300, 396, 296, false, 0, 0, 0, 0},     // exactly the outer size: never scaled
        {100, 50, 400, 300, 396, 296, false, 0, 0, 0, 0},      // smaller: never enlarged
        {1000, 500, 400, 300, 396, 296, true, 396, 198, 0, 51}, // both larger, fitted to the width
        {800, 200, 400, 300, 396, 296, true, 396, 100, 0, 100}, // only wider: the height from the outer width
        {100, 600, 400, 300, 396, 296, true, 50, 296, 175, 0},  // only taller: the width from the outer height
        {600, 600, 300, 300, 296, 296, true, 296, 296, 0, 2},   // equal slack: centred vertically
    };
    for (const Case& c : cases) {
        const browser::Fit fit = browser::BestFit(c.w, c.h, c.pw, c.ph, c.sw, c.sh);
        EXPECT_EQ(fit.scaled, c.scaled) << c.w << "x" << c.h;
        if (!c.scaled) continue;
        EXPECT_EQ(fit.width, c.newW) << c.w << "x" << c.h;
        EXPECT_EQ(fit.height, c.newH) << c.w << "x" << c.h;
        EXPECT_FLOAT_EQ(fit.left, c.left) << c.w << "x" << c.h;
        EXPECT_FLOAT_EQ(fit.top, c.top) << c.w << "x" << c.h;
    }
}

TEST(TipLines, LineEnds) {
    struct Case {
        std::string bytes;
        std::vector<std::string> tips;
    };
    const Case cases[] = {
        {"", {}},
        {"one", {"one"}},
        {"one\r\ntwo\r\n", {"one", "two"}},      // a final line end adds no empty tip
        {"one\r\n\r\ntwo", {"one", "", "two"}},   // an empty line in the middle is a tip
        {"a\nb\nc\n", {"a\nb\nc\n"}},             // line feeds alone are text
        {"a\rb\r\r\nc", {"a", "b", "", "c"}},     // a carriage return alone ends a line
        {"  padded  \r\n", {"  padded  "}},       // nothing trimmed
    };
    for (const Case& c : cases) EXPECT_EQ(browser::TipLines(c.bytes), c.tips) << c.bytes;
}

TEST(TipLines, PickCoversEveryTip) {
    EXPECT_EQ(browser::TipPick(0.0f, 5), 1);
    EXPECT_EQ(browser::TipPick(0.99999f, 5), 5);
    EXPECT_EQ(browser::TipPick(0.5f, 0), 1);
}

TEST(Placement, OnMonitors) {
    const std::vector<browser::MonitorRect> one{{0, 0, 19200, 14400}};
    const std::vector<browser::MonitorRect> two{{-19200, 0, 0, 14400}, {0, 0, 19200, 14400}};
    struct Case {
        const std::vector<browser::MonitorRect>* monitors;
        browser::StoredPlacement stored, placed;
    };
    const Case cases[] = {
        {&one, {0, 500, 600, 1500, 1200}, {0, 500, 600, 2000, 2000}},  // too small: 2000 x 2000
        {&one, {1, -300, 600, 8690, 6050}, {0, 100, 600, 8690, 6050}}, // minimised opens normal; -300 is off-screen
        {&two, {0, -3000, 600, 8690, 6050}, {0, -3000, 600, 8690, 6050}}, // on the left monitor: kept
        {&one, {0, 50000, 50000, 8690, 6050}, {0, 100, 100, 8690, 6050}}, // on no monitor
        {&one, {2, 300, 300, 8690, 6050}, {2, 300, 300, 8690, 6050}},
    };
    for (const Case& c : cases) {
        const browser::StoredPlacement p = browser::PlaceOnMonitors(c.stored, *c.monitors);
        EXPECT_EQ(p.state, c.placed.state);
        EXPECT_FLOAT_EQ(p.left, c.placed.left) << c.stored.left;
        EXPECT_FLOAT_EQ(p.top, c.placed.top) << c.stored.top;
        EXPECT_FLOAT_EQ(p.width, c.placed.width);
        EXPECT_FLOAT_EQ(p.height, c.placed.height);
    }
}

}  // namespace
