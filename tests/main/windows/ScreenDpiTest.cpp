// A run started for a DPI of its own (QV_EXPECT_DPI) must find it: tests that pass at the system's default
// DPI prove nothing about another one.

#include "platform/forms/Screen.h"
#include "platform/runtime/OwnedHandles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>

namespace {

TEST(ScreenDpi, IsTheOneTheRunWasStartedFor) {
    const char* asked = std::getenv("QV_EXPECT_DPI");
    if (!asked) GTEST_SKIP() << "no DPI asked for";
    const int dpi = std::atoi(asked);
    const forms::ScopedGetDC screen(nullptr);
    const int x = GetDeviceCaps(screen.get(), LOGPIXELSX), y = GetDeviceCaps(screen.get(), LOGPIXELSY);
    EXPECT_EQ(x, dpi);
    EXPECT_EQ(y, dpi);
    EXPECT_FLOAT_EQ(forms::Screen().TwipsPerPixelX(), 1440.0f / static_cast<float>(dpi));
    EXPECT_FLOAT_EQ(forms::Screen().TwipsPerPixelY(), 1440.0f / static_cast<float>(dpi));
}

}  // namespace
