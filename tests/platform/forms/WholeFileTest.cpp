#include "platform/runtime/WholeFile.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/runtime/FileErrors.h"
#include "platform/runtime/OwnedHandles.h"
#include "platform/runtime/RuntimeError.h"
#include "tests/platform/forms/ErrorNumber.h"
#include "tests/support/TempFolder.h"

namespace forms {
namespace {

TEST(FileErrorsTest, Win32ErrorsMapToTheRuntimesFileErrors) {
    struct Case {
        DWORD win32;
        std::int32_t number;
        const char* description;
    };
    const Case cases[] = {
        {ERROR_FILE_NOT_FOUND, 53, "File not found"},
        {ERROR_PATH_NOT_FOUND, 76, "Path not found"},
        {ERROR_BAD_NETPATH, 76, "Path not found"},
        {ERROR_INVALID_NAME, 52, "Bad file name or number"},
        {ERROR_FILENAME_EXCED_RANGE, 52, "Bad file name or number"},
        {ERROR_SHARING_VIOLATION, 70, "Permission denied"},
        {ERROR_WRITE_PROTECT, 70, "Permission denied"},
        {ERROR_DISK_FULL, 61, "Disk full"},
        {ERROR_HANDLE_DISK_FULL, 61, "Disk full"},
        {ERROR_NOT_READY, 71, "Disk not ready"},
        {ERROR_TOO_MANY_OPEN_FILES, 67, "Too many files"},
        {ERROR_NOT_ENOUGH_MEMORY, 7, "Out of memory"},
        {ERROR_ACCESS_DENIED, 75, "Path/File access error"},
        {ERROR_GEN_FAILURE, 75, "Path/File access error"},
    };
    for (const Case& c : cases) {
        const RuntimeError e = FileError(c.win32);
        EXPECT_EQ(e.Number(), c.number) << c.win32;
        EXPECT_EQ(e.Description(), c.description) << c.win32;
    }
}

class WholeFileTest : public testing::Test {
protected:
    qvtest::TempFolder folder_;
};

TEST_F(WholeFileTest, FailuresAreTheFileErrorsOfTheCause) {
    folder_.Write("held.txt", "x");
    // Held open without sharing by "another program".
    const UniqueKernelHandle held(NullIfInvalid(CreateFileA((folder_ / "held.txt").c_str(), GENERIC_READ, 0,
                                                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
    ASSERT_TRUE(held);

    EXPECT_EQ(ErrorNumber([&] { ReadWholeFile(folder_ / "missing.txt"); }), err::FileNotFound);
    EXPECT_EQ(ErrorNumber([&] { ReadWholeFile(folder_ / "no\\such\\file.txt"); }), err::PathNotFound);
    EXPECT_EQ(ErrorNumber([&] { ReadWholeFile(folder_ / "held.txt"); }), err::PermissionDenied);
    EXPECT_EQ(ErrorNumber([&] { ReadWholeFile(folder_ / "bad?name.txt"); }), err::BadFileNameOrNumber);
    // A folder where the file should be.
    EXPECT_EQ(ErrorNumber([&] { ReadWholeFile(folder_.Path()); }), err::PathFileAccessError);
}

TEST_F(WholeFileTest, AFileOverTheLimitIsRefusedBeforeItIsRead) {
    folder_.Write("big.bin", std::string(100, 'x'));
    EXPECT_EQ(ErrorNumber([&] { ReadWholeFileBytes(folder_ / "big.bin", 99); }), err::OutOfMemory);
    EXPECT_EQ(ReadWholeFileBytes(folder_ / "big.bin", 100).size(), 100u);
}

TEST_F(WholeFileTest, ReadsEveryByteAsStored) {
    const std::string bytes("a\0b\r\n\xff", 6);
    folder_.Write("f.bin", bytes);
    EXPECT_EQ(ReadWholeFile(folder_ / "f.bin"), bytes);
    folder_.Write("empty.bin", "");
    EXPECT_EQ(ReadWholeFile(folder_ / "empty.bin"), "");
}

}  // namespace
}  // namespace forms
