#include "platform/runtime/ReplacingFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/runtime/RuntimeError.h"
#include "tests/support/TempFolder.h"

namespace imaging {
namespace {

using forms::ReplacingFile;

std::string Content(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

TEST(ReplacingFile, CommitReplacesTheTarget) {
    const qvtest::TempFolder dir;
    const std::string target = (dir / "picture.jpg");
    Write(target, "old");
    {
        ReplacingFile file(target);
        ASSERT_TRUE(file.Valid());
        EXPECT_NE(file.TempPath(), target);
        Write(file.TempPath(), "new");
        EXPECT_EQ(Content(target), "old");  // nothing changes before the commit
        EXPECT_TRUE(file.Commit());
    }
    EXPECT_EQ(Content(target), "new");
    EXPECT_EQ(dir.Files(), std::vector<std::string>{"picture.jpg"});
}

TEST(ReplacingFile, WithoutCommitTheTargetStaysAndTheTemporaryFileGoes) {
    const qvtest::TempFolder dir;
    const std::string target = (dir / "picture.jpg");
    Write(target, "old");
    {
        ReplacingFile file(target);
        Write(file.TempPath(), "half-written");
    }
    EXPECT_EQ(Content(target), "old");
    EXPECT_EQ(dir.Files(), std::vector<std::string>{"picture.jpg"});
}

TEST(ReplacingFile, AFolderThatIsNotThereGivesNoFile) {
    const qvtest::TempFolder dir;
    ReplacingFile file((dir / "missing\\picture.jpg"));
    EXPECT_FALSE(file.Valid());
    EXPECT_FALSE(file.Commit());
    EXPECT_FALSE(ReplacingFile("").Valid());
}

// Writes through the seam that fails as a full disk would, after `bytes` bytes.
class FailingWrites {
public:
    explicit FailingWrites(std::size_t bytes) { forms::FailReplacingWritesAfter(bytes); }
    ~FailingWrites() { forms::FailReplacingWritesAfter(std::nullopt); }
    FailingWrites(const FailingWrites&) = delete;
    FailingWrites& operator=(const FailingWrites&) = delete;
};

std::int32_t ErrorOfReplacing(const std::string& target, const std::string& bytes) {
    try {
        forms::ReplaceWholeFile(target, bytes);
    } catch (const forms::RuntimeError& e) {
        return e.Number();
    }
    return 0;
}

TEST(ReplaceWholeFile, WritesTheContentWithTheAttributesAtOnce) {
    const qvtest::TempFolder dir;
    const std::string target = (dir / "record.dat");
    Write(target, "an older and longer content");
    forms::ReplaceWholeFile(target, std::string("new\0bytes", 9), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(Content(target), std::string("new\0bytes", 9));
    EXPECT_EQ(GetFileAttributesA(target.c_str()) & 3u, DWORD{FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN});
    EXPECT_EQ(dir.Files(), std::vector<std::string>{"record.dat"});
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(ReplaceWholeFile, AFailureLeavesTheOldBytesAndNoTemporaryFile) {
    const qvtest::TempFolder dir;
    const std::string target = (dir / "picture.bmp");
    Write(target, "old");
    {
        const FailingWrites full(4);
        EXPECT_EQ(ErrorOfReplacing(target, std::string(3 << 20, 'x')), forms::err::DiskFull);
        EXPECT_EQ(ErrorOfReplacing(target, "12345"), forms::err::DiskFull);
    }
    EXPECT_EQ(Content(target), "old");
    EXPECT_EQ(dir.Files(), std::vector<std::string>{"picture.bmp"});

    // A read-only file is the user's to protect: it is not replaced.
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(ErrorOfReplacing(target, "new"), forms::err::PathFileAccessError);
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(Content(target), "old");
    EXPECT_EQ(dir.Files(), std::vector<std::string>{"picture.bmp"});

    EXPECT_EQ(ErrorOfReplacing((dir / "missing\\picture.bmp"), "new"), forms::err::PathNotFound);
    // Below the limit nothing fails.
    const FailingWrites roomy(3);
    forms::ReplaceWholeFile(target, "new");
    EXPECT_EQ(Content(target), "new");
}

}  // namespace
}  // namespace imaging
