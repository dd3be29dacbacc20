#include "platform/runtime/Resources.h"

#include <gtest/gtest.h>

#include "platform/runtime/RuntimeError.h"
#include "tests/platform/forms/ErrorNumber.h"

namespace forms {
namespace {

TEST(Resources, StringsOfTheRunningModule) {
    EXPECT_EQ(LoadResString(102),
              "The whole screen has now been captured, you may now draw an area with the mouse and then press any "
              "key to select it.");
    EXPECT_EQ(LoadResString(103), "Gr\xC3\xB6\xC3\x9F" "e");  // UTF-8 whatever the table holds
    EXPECT_EQ(ErrorNumber([] { LoadResString(4711); }), err::ResourceNotFound);
}

}  // namespace
}  // namespace forms
