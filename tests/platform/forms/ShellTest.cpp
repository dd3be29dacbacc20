#include "platform/runtime/Shell.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/OwnedHandles.h"
#include "tests/platform/forms/ErrorNumber.h"

namespace forms {
namespace {

std::string OwnProgram() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

TEST(Shell, StartsAProgramWithoutWaiting) {
    // This test program itself, asked to run no tests: it ends by itself.
    const std::uint32_t id = Shell("\"" + OwnProgram() + "\" --gtest_filter=NoSuchTest.None", shell_style::MinimizedNoFocus);
    ASSERT_NE(id, 0u);
    const UniqueKernelHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    ASSERT_TRUE(process);
    EXPECT_EQ(WaitForSingleObject(process.get(), 60000), WAIT_OBJECT_0);
}

TEST(Shell, RefusesWhatCannotStart) {
    EXPECT_EQ(ErrorNumber([] { Shell("C:\\no\\such\\program.exe /x", shell_style::NormalFocus); }), err::FileNotFound);
    EXPECT_EQ(ErrorNumber([] { Shell("noSuchProgramAnywhere42.exe"); }), err::FileNotFound);
    EXPECT_EQ(ErrorNumber([] { Shell("  "); }), err::InvalidProcedureCall);
    EXPECT_EQ(ErrorNumber([] { Shell(OwnProgram(), 5); }), err::InvalidProcedureCall);
}

TEST(Shell, AppActivateFindsAWindowByTitleAndIgnoresAMissingOne) {
    const std::string title = "Capture Error " + std::to_string(GetCurrentProcessId());
    HWND window = CreateWindowExA(0, "STATIC", title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 200, 100, nullptr,
                                 nullptr, nullptr, nullptr);
    SetForegroundWindow(other);
    EXPECT_TRUE(AppActivate(title));
    EXPECT_EQ(GetForegroundWindow(), window);
    SetForegroundWindow(other);
    EXPECT_TRUE(AppActivate("capture error"));  // a beginning of the title, in any case
    EXPECT_EQ(GetForegroundWindow(), window);
    EXPECT_FALSE(AppActivate("No window has this title 1234567"));
    DestroyWindow(other);
    DestroyWindow(window);
}

}  // namespace
}  // namespace forms
