// The shortcut maker: folders of the old layout resolved to the shell's special folders, real .lnk files.

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/shortcuts/ShellLink.h"
#include "tests/lib/comserver/TestSupport.h"
#include "tests/support/Apartment.h"
#include "tests/support/TempFolder.h"
#include "platform/runtime/Strings.h"

namespace {

std::string Special(int csidl) {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

std::string WindowsFolder() {
    char path[MAX_PATH] = {};
    GetWindowsDirectoryA(path, MAX_PATH);
    return path;
}


TEST(ResolveStartMenuPath, OldLayoutFoldersAreTheShellsSpecialFolders) {
    struct Case {
        std::string path;
        std::string expected;
    };
    const Case cases[] = {
        {"..\\..\\Desktop", Special(CSIDL_DESKTOPDIRECTORY)},
        {"..\\..\\Desktop\\Quillview", Special(CSIDL_DESKTOPDIRECTORY) + "\\Quillview"},
        {"Quillview", Special(CSIDL_PROGRAMS) + "\\Quillview"},
        {"\\Quillview\\Tools", Special(CSIDL_PROGRAMS) + "\\Quillview\\Tools"},
        {"", Special(CSIDL_PROGRAMS)},
        {"..", Special(CSIDL_STARTMENU)},
        {"..\\..\\Application Data\\Microsoft", Special(CSIDL_APPDATA) + "\\Microsoft"},
        {"..\\..\\Fonts", WindowsFolder() + "\\Fonts"},
        {"C:\\Elsewhere\\Links", "C:\\Elsewhere\\Links"},
    };
    for (const Case& c : cases) EXPECT_EQ(shortcuts::ResolveStartMenuPath(c.path), c.expected) << c.path;
}

// The target and arguments of a link file, as the shell reads them.
std::pair<std::string, std::string> LinkOf(const std::string& file) {
    IShellLinkA* link = nullptr;
    EXPECT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                              reinterpret_cast<void**>(&link)));
    if (!link) return {};
    IPersistFile* persist = nullptr;
    EXPECT_HRESULT_SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)));
    EXPECT_HRESULT_SUCCEEDED(persist->Load(forms::ToWide(file).c_str(), STGM_READ));
    char path[MAX_PATH] = {};
    char args[MAX_PATH] = {};
    link->GetPath(path, MAX_PATH, nullptr, 0);
    link->GetArguments(args, MAX_PATH);
    persist->Release();
    link->Release();
    return {path, args};
}

TEST(fCreateShellLink, WritesALinkThatResolvesToItsTargetAndReplacesAnEarlierOne) {
    const qvtest::Apartment apartment;
    const qvtest::TempFolder temp;
    const std::string folder = temp / "sub";
    const std::string target = WindowsFolder() + "\\notepad.exe";
    ASSERT_TRUE(shortcuts::fCreateShellLink(folder, "\\Editor", target, "/a b"));
    const std::string file = folder + "\\Editor.lnk";
    const auto [path, args] = LinkOf(file);
    EXPECT_EQ(lstrcmpiA(path.c_str(), target.c_str()), 0) << path;
    EXPECT_EQ(args, "/a b");

    ASSERT_TRUE(shortcuts::fCreateShellLink(folder, "Editor", target, "/c"));
    EXPECT_EQ(LinkOf(file).second, "/c");
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"Editor.lnk"}) << "no temporary file is left";
}

}  // namespace
