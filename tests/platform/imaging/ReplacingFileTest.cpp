#include "platform/imaging/ReplacingFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "tests/platform/imaging/TempDir.h"

namespace imaging {
namespace {

std::string Content(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

TEST(ReplacingFile, CommitReplacesTheTarget) {
    const test::TempDir dir;
    const std::string target = dir.File("picture.jpg");
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
    const test::TempDir dir;
    const std::string target = dir.File("picture.jpg");
    Write(target, "old");
    {
        ReplacingFile file(target);
        Write(file.TempPath(), "half-written");
    }
    EXPECT_EQ(Content(target), "old");
    EXPECT_EQ(dir.Files(), std::vector<std::string>{"picture.jpg"});
}

TEST(ReplacingFile, AFolderThatIsNotThereGivesNoFile) {
    const test::TempDir dir;
    ReplacingFile file(dir.File("missing\\picture.jpg"));
    EXPECT_FALSE(file.Valid());
    EXPECT_FALSE(file.Commit());
    EXPECT_FALSE(ReplacingFile("").Valid());
}

}  // namespace
}  // namespace imaging
