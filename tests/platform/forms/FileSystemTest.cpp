#include "platform/runtime/FileSystem.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>

#include "platform/runtime/RuntimeError.h"
#include "tests/platform/forms/ErrorNumber.h"
#include "tests/support/TempFolder.h"

namespace forms {
namespace {

class FileSystemTest : public testing::Test {
protected:
    void MakeFile(const char* name, DWORD attributes) {
        folder_.Write(name, "x");
        SetFileAttributesA((folder_ / name).c_str(), attributes);
    }
    void MakeFolder(const char* name, DWORD attributes) {
        CreateDirectoryA((folder_ / name).c_str(), nullptr);
        if (attributes) SetFileAttributesA((folder_ / name).c_str(), attributes);
    }

    qvtest::TempFolder folder_;
};

TEST_F(FileSystemTest, DirMatchesByAttributes) {
    MakeFile("plain.txt", FILE_ATTRIBUTE_NORMAL);
    MakeFile("ro.txt", FILE_ATTRIBUTE_READONLY);
    MakeFile("hid.txt", FILE_ATTRIBUTE_HIDDEN);
    MakeFile("sys.txt", FILE_ATTRIBUTE_SYSTEM);
    MakeFile("rohid.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    MakeFolder("sub", 0);
    MakeFolder("hsub", FILE_ATTRIBUTE_HIDDEN);
    struct Case {
        const char* name;
        int attributes;
        bool found;
    };
    const Case cases[] = {
        {"plain.txt", attr::Normal, true},      {"ro.txt", attr::Normal, true},
        {"hid.txt", attr::Normal, false},       {"sys.txt", attr::Normal, false},
        {"sub", attr::Normal, false},           {"missing.txt", attr::Normal, false},
        {"hid.txt", attr::Hidden, true},        {"sys.txt", attr::Hidden, false},
        {"sys.txt", attr::System, true},        {"rohid.txt", attr::Hidden | attr::ReadOnly, true},
        {"sub", attr::Directory, true},         {"plain.txt", attr::Directory, true},
        {"hsub", attr::Directory, false},       {"hsub", attr::Directory | attr::Hidden, true},
        {"hid.txt", attr::ReadOnly, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << " with " << c.attributes);
        EXPECT_EQ(Dir(folder_ / c.name, c.attributes), c.found ? c.name : "");
    }
    EXPECT_EQ(Dir(folder_ / "p*.txt"), "plain.txt");
    EXPECT_EQ(Dir(folder_ / "h*.txt"), "");
    EXPECT_EQ(Dir(folder_ / "nosuchdir\\plain.txt"), "");
    EXPECT_EQ(Dir(""), "");
    EXPECT_NE(Dir(folder_.Path() + "\\", attr::Directory), "");
}

TEST_F(FileSystemTest, KillDeletesFilesAndReportsWhatIsMissing) {
    MakeFile("a.tmp", FILE_ATTRIBUTE_NORMAL);
    MakeFile("b.tmp", FILE_ATTRIBUTE_NORMAL);
    MakeFile("keep.txt", FILE_ATTRIBUTE_NORMAL);
    MakeFile("ro.txt", FILE_ATTRIBUTE_READONLY);
    Kill(folder_ / "keep.txt");
    EXPECT_EQ(Dir(folder_ / "keep.txt"), "");
    Kill(folder_ / "*.tmp");
    EXPECT_EQ(Dir(folder_ / "*.tmp"), "");
    EXPECT_EQ(ErrorNumber([&] { Kill(folder_ / "keep.txt"); }), err::FileNotFound);
    EXPECT_EQ(ErrorNumber([&] { Kill(folder_ / "*.tmp"); }), err::FileNotFound);
    EXPECT_EQ(ErrorNumber([&] { Kill(folder_ / "ro.txt"); }), err::PathFileAccessError);
}

TEST_F(FileSystemTest, FoldersAreMadeAndRemoved) {
    const std::string sub = folder_ / "new";
    MkDir(sub);
    EXPECT_EQ(Dir(sub, attr::Directory), "new");
    EXPECT_EQ(ErrorNumber([&] { MkDir(sub); }), err::PathFileAccessError);
    EXPECT_EQ(ErrorNumber([&] { MkDir(folder_ / "no\\such"); }), err::PathNotFound);
    folder_.Write("new\\f.txt", "x");
    EXPECT_EQ(ErrorNumber([&] { RmDir(sub); }), err::PathFileAccessError);
    Kill(sub + "\\f.txt");
    RmDir(sub);
    EXPECT_EQ(Dir(sub, attr::Directory), "");
    EXPECT_EQ(ErrorNumber([&] { RmDir(sub); }), err::PathNotFound);
}

TEST_F(FileSystemTest, SetAttrHidesAndRestores) {
    MakeFile("undo.dat", FILE_ATTRIBUTE_NORMAL);
    const std::string path = folder_ / "undo.dat";
    SetAttr(path, attr::ReadOnly | attr::Hidden);
    EXPECT_EQ(GetFileAttributesA(path.c_str()) & 3u, 3u);
    EXPECT_EQ(Dir(path), "");
    EXPECT_EQ(Dir(path, attr::Hidden | attr::ReadOnly), "undo.dat");
    SetAttr(path, attr::Normal);
    EXPECT_EQ(Dir(path), "undo.dat");
    EXPECT_EQ(ErrorNumber([&] { SetAttr(folder_ / "missing", 0); }), err::FileNotFound);
    EXPECT_EQ(ErrorNumber([&] { SetAttr(path, attr::Directory); }), err::InvalidProcedureCall);
}

TEST_F(FileSystemTest, LengthAndDateOfAFile) {
    folder_.Write("s.bin", std::string(1023, 'x'));
    EXPECT_EQ(FileLen(folder_ / "s.bin"), 1023);
    EXPECT_EQ(ErrorNumber([&] { FileLen(folder_ / "missing"); }), err::FileNotFound);
    EXPECT_EQ(ErrorNumber([&] { FileDateTime(folder_ / "missing"); }), err::FileNotFound);
    // Written just now: within a few minutes of the local clock (a clock-change margin, not a sleep).
    const Date written = FileDateTime(folder_ / "s.bin");
    EXPECT_LT(std::fabs(written - Now()), 5.0 / (24 * 60));
}

}  // namespace
}  // namespace forms
