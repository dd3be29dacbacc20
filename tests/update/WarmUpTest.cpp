// The save dialog's warm-up in a process of its own: the first Start of the process is this test's.
#include "tests/platform/forms/FormsTestSupport.h"
#include "tests/support/TempFolder.h"
#include "update/Module1.h"
#include "update/SaveDialogWarmUp.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

// The program's end does not wait for a warm-up that walks a large folder: it is left to the process's end.
TEST(SaveDialogWarmUp, TheProgramsEndDoesNotWaitForIt) {
    qvtest::TempFolder folder;
    for (int i = 0; i < 20; ++i) folder.Write("picture" + std::to_string(i) + ".txt", "x");
    char previous[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));
    int ended = 0;
    {
        update::Module1::EndHook end([&] { ++ended; });
        update::SaveDialogWarmUp::Start();
        ASSERT_TRUE(update::SaveDialogWarmUp::Running());
        update::Module1::EndProgram();
        EXPECT_EQ(ended, 1);
        EXPECT_TRUE(update::SaveDialogWarmUp::Running());
    }
    SetCurrentDirectoryA(previous);
    // Its folder goes with the test: the walk ends first.
    EXPECT_TRUE(formstest::PumpUntil([] { return !update::SaveDialogWarmUp::Running(); }, 120000));
}

}  // namespace
