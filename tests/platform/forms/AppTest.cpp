#include "platform/runtime/App.h"

#include <gtest/gtest.h>

#include "platform/runtime/Paths.h"

namespace forms {
namespace {

TEST(Paths, FolderOfKeepsTheBackslashOnlyAtADriveRoot) {
    struct Case {
        const char* path;
        const char* folder;
    };
    const Case cases[] = {
        {"C:\\prog.exe", "C:\\"},
        {"C:\\Program Files\\Quillview\\prog.exe", "C:\\Program Files\\Quillview"},
        {"D:\\a\\prog.exe", "D:\\a"},
        {"\\\\server\\share\\prog.exe", "\\\\server\\share"},
        {"prog.exe", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FolderOf(c.path), c.folder) << c.path;
    }
}

TEST(Paths, JoinAddsABackslashExceptAtADriveRoot) {
    EXPECT_EQ(JoinPath("C:\\", "a.txt"), "C:\\a.txt");
    EXPECT_EQ(JoinPath("C:\\dir", "a.txt"), "C:\\dir\\a.txt");
    EXPECT_EQ(JoinPath(FolderOf("C:\\x.exe"), "a.txt"), "C:\\a.txt");
    EXPECT_EQ(JoinPath(FolderOf("C:\\d\\x.exe"), "a.txt"), "C:\\d\\a.txt");
    EXPECT_FALSE(IsDriveRoot("C:"));
    EXPECT_FALSE(IsDriveRoot("C:\\a"));
}

TEST(Paths, RootOfADriveOrShare) {
    struct Case {
        const char* path;
        const char* root;
        bool isRoot;
    };
    const Case cases[] = {
        {"C:\\a\\b", "C:\\", false},
        {"C:\\", "C:\\", true},
        {"C:", "C:\\", true},
        {"d:\\x", "d:\\", false},
        {"\\\\server\\share\\a", "\\\\server\\share\\", false},
        {"\\\\server\\share", "\\\\server\\share\\", true},
        {"\\\\server\\share\\", "\\\\server\\share\\", true},
        {"\\\\server", "", false},
        {"relative\\a", "", false},
        {"", "", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RootOf(c.path), c.root) << c.path;
        EXPECT_EQ(IsRootFolder(c.path), c.isRoot) << c.path;
    }
}

TEST(Paths, NamesOfAFile) {
    EXPECT_EQ(FileNameOf("C:\\a\\b.c.jpg"), "b.c.jpg");
    EXPECT_EQ(BaseNameOf("C:\\a\\b.c.jpg"), "b.c");
    EXPECT_EQ(BaseNameOf("C:\\a.b\\noext"), "noext");
    EXPECT_EQ(BaseNameOf(".hidden"), ".hidden");
}

TEST(App, DescribesTheRunningModule) {
    char own[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameA(nullptr, own, MAX_PATH), 0u);
    EXPECT_EQ(App::FileName(), own);
    EXPECT_EQ(App::Path(), FolderOf(own));
    EXPECT_EQ(App::EXEName(), "forms_test");
    EXPECT_EQ(App::hInstance(), GetModuleHandleA(nullptr));
}

TEST(App, TitleAndVersionAreSettable) {
    const std::string before = App::Title();
    App::SetTitle("Quillview");
    EXPECT_EQ(App::Title(), "Quillview");
    App::SetTitle(before);
    App::SetVersion(2, 3, 2);
    EXPECT_EQ(App::Major(), 2);
    EXPECT_EQ(App::Minor(), 3);
    EXPECT_EQ(App::Revision(), 2);
    App::SetVersion(0, 0, 0);  // the test program has no version resource
}

}  // namespace
}  // namespace forms
