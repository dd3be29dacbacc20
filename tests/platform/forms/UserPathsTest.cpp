#include "platform/runtime/UserPaths.h"
#include "platform/runtime/Shell.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "tests/support/TempFolder.h"
#include "tests/support/ShellOpenRecorder.h"

namespace forms {
namespace {

TEST(UserPaths, TheUsersCopyIsReadOnceItExistsAndSavesGoThere) {
    qvtest::TempFolder temp;
    const std::string program = temp / "Program Files";
    const std::string user = temp / "AppData\\Quillview";  // two levels that do not exist yet
    CreateDirectoryA(program.c_str(), nullptr);
    const UserPathsOverride paths(program, user);
    EXPECT_EQ(ProgramFolder(), program);

    // Before the first save the shipped default is read.
    EXPECT_EQ(UserFileToRead("QVImgwebs.dat"), program + "\\QVImgwebs.dat");
    const std::string target = UserFileToWrite("QVImgwebs.dat");
    EXPECT_EQ(target, user + "\\QVImgwebs.dat");
    EXPECT_NE(GetFileAttributesA(user.c_str()), INVALID_FILE_ATTRIBUTES) << "the per-user folder is made";
    temp.Write("AppData\\Quillview\\QVImgwebs.dat", "x<name>y\r\n");
    EXPECT_EQ(UserFileToRead("QVImgwebs.dat"), target);
    // A folder of that name is no copy of the file.
    CreateDirectoryA((user + "\\QVEditors.dat").c_str(), nullptr);
    EXPECT_EQ(UserFileToRead("QVEditors.dat"), program + "\\QVEditors.dat");
}

TEST(UserPaths, WithoutOverrideTheFolderIsTheUsersApplicationData) {
    char appData[MAX_PATH] = {};
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData)));
    EXPECT_EQ(UserDataFolder(), std::string(appData) + "\\Quillview");
}

TEST(ShellOpen, GoesToTheInstalledOpenerAndBackToThePreviousOne) {
    qvtest::ShellOpenRecorder outer;
    {
        qvtest::ShellOpenRecorder inner;
        inner.succeed = false;
        EXPECT_FALSE(ShellOpen({.verb = "Open", .file = "C:\\x\\help.chm", .directory = "C:\\x"}));
        ASSERT_EQ(inner.opened.size(), 1u);
        EXPECT_EQ(inner.opened[0].file, "C:\\x\\help.chm");
        EXPECT_EQ(inner.opened[0].directory, "C:\\x");
        EXPECT_EQ(inner.opened[0].show, SW_SHOWNORMAL);
    }
    EXPECT_TRUE(ShellOpen({.verb = "Open", .file = "http://www.example.com/"}));
    ASSERT_EQ(outer.opened.size(), 1u);
    EXPECT_FALSE(ShellOpen({.verb = "Open"})) << "nothing to open";
    EXPECT_EQ(outer.opened.size(), 1u);
}

}  // namespace
}  // namespace forms
