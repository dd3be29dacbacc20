// The main window's file and folder commands on real folders, through the real shell: its questions are
// answered by their buttons on this thread, and its recycle bin is the build tree's private trash.
#include "main/browser/FileCommands.h"
#include "main/browser/FileSelection.h"
#include "main/browser/frmQuillview.h"
#include "main/core/Module1.h"
#include "main/core/clsFileManager.h"
#include "main/windows/frmBrowse.h"
#include "platform/runtime/App.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Paths.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/UserPaths.h"
#include "tests/lib/comserver/TestSupport.h"
#include "tests/lib/services/DialogDriver.h"
#include "tests/main/TestBitmap.h"
#include "tests/platform/forms/FormsTestSupport.h"
#include "tests/support/Apartment.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadAll(const std::string& path) {
    std::string bytes;
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

// The files directly in a folder, by name.
std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    const HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

// The Unix trash that Wine's recycle bin writes into, as a Windows path.
std::string TrashFiles() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (!data || !*data) return {};
    std::string path = std::string("Z:") + data + "/Trash/files";
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

void RemoveFromTrash(const std::string& name) {
    const std::string trash = TrashFiles();
    DeleteFileA((trash + "\\" + name).c_str());
    DeleteFileA((trash.substr(0, trash.size() - 5) + "info\\" + name + ".trashinfo").c_str());
}

// Acts on a window of the program once it is shown (a modal form runs its own loop meanwhile).
void WhenShown(forms::Form& form, std::function<void()> act, int tries = 500) {
    formstest::Later([&form, act, tries] {
        if (form.IsLoaded() && IsWindowVisible(form.hWnd())) {
            act();
        } else if (tries > 0) {
            WhenShown(form, act, tries - 1);
        }
    });
}

// Chooses a folder in the copy and move commands' chooser and confirms it.
void ChooseInBrowser(const std::string& folder) {
    auto& browse = forms::Default<frmBrowse>();
    WhenShown(browse, [&browse, folder] {
        browse.ftvDirs.SetPath(folder);
        browse.Command2.SetValue(true);
    });
}

// Presses a button of the shell's question when it comes.
DialogDriver::Action Press(int button) {
    return [button](HWND dialog) {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
    };
}

class FileCommands : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(services_.Registered());
        forms::SaveSetting("Quillview", "current_version", "major", std::to_string(forms::App::Major()));
        forms::SaveSetting("Quillview", "current_version", "minor", std::to_string(forms::App::Minor()));
        forms::SaveSetting("Quillview", "current_version", "rev", std::to_string(forms::App::Revision()));
        Window().LoadWithoutStartUp();
        Window().ShowLogo();
    }
    void TearDown() override {
        Window().Unload();
        forms::Default<frmBrowse>().Unload();
    }
    static frmQuillview& Window() { return forms::Default<frmQuillview>(); }

    // Makes a folder of pictures, each with bytes of its own, and goes there.
    std::string Folder(const std::string& name, const std::vector<std::string>& files) {
        const std::string folder = temp_ / name;
        CreateDirectoryA(folder.c_str(), nullptr);
        int shade = 1;
        for (const std::string& file : files) {
            EXPECT_TRUE(qvtest::WriteBitmap(folder + "\\" + file, 2 + shade, 2, 0x010203u * shade));
            originals_[file] = ReadAll(folder + "\\" + file);
            ++shade;
        }
        return folder;
    }
    void GoTo(const std::string& folder) {
        Window().Dir1.SetPath(folder);
        Window().File1.SetPath(folder);
    }
    std::vector<std::string> Listed() const {
        std::vector<std::string> entries;
        for (int i = 0; i < Window().File1.ListCount(); ++i) entries.push_back(Window().File1.List(i));
        return entries;
    }
    // Each file of the folder holds the bytes of the file it is named after in the table, or of `from`.
    void ExpectFolder(const std::string& folder, const std::map<std::string, std::string>& expected,
                      const std::string& row) {
        std::map<std::string, std::string> seen;
        for (const std::string& name : FilesIn(folder)) seen[name] = ReadAll(folder + "\\" + name);
        std::map<std::string, std::string> wanted;
        for (const auto& [name, from] : expected) wanted[name] = originals_.at(from);
        EXPECT_EQ(seen.size(), wanted.size()) << row << ": " << folder;
        for (const auto& [name, bytes] : wanted) {
            EXPECT_TRUE(seen.count(name) && seen[name] == bytes) << row << ": " << folder << "\\" << name;
        }
    }

    forms::ScriptedAnswerer answers_{[](const std::string& m) { ADD_FAILURE() << m; }};
    const forms::ScopedAnswerer answering_{answers_};
    const qvtest::TempFolder temp_;
    const forms::SettingsRootOverride settings_{std::string(forms::TestSettingsBase) + "FileCommands"};
    const forms::UserPathsOverride paths_{std::nullopt, temp_ / "user"};
    const qvtest::Apartment apartment_;
    const testsupport::RegisteredServer services_{ORCMCLS_DLL};
    std::map<std::string, std::string> originals_;
};

TEST_F(FileCommands, ChosenFilesDeletedCopiedMovedAndRenamed) {
    enum class Command { Delete, Copy, Move, Rename };
    using Disk = std::map<std::string, std::string>;  // name -> the table file whose bytes it holds
    struct Row {
        const char* name;
        std::vector<std::string> files;     // the folder shown, in list order
        std::vector<std::string> existing;  // already in the destination folder "dst"
        const char* recyc;                  // stored Options\recyc, or none
        int shown;                          // the entry chosen before the command
        std::vector<int> selection;         // the entries selected then, when not the shown one alone
        Command command;
        std::optional<int> shellButton;  // the shell's question and the button pressed, or no question
        const char* destination;         // "dst", "pics" (its own folder), or none
        const char* renameTo;
        std::string message;  // the window's one report, if any
        Disk pics, dst;
        std::vector<std::string> trashed;
        const char* currentAfter;  // the current entry afterwards ("" none)
        const char* shownAfter;    // the shown file afterwards ("" the logo)
    };
    const std::string title = forms::App::Title();
    const std::string sameFile = FileOperationReason(0x71);
    const Row rows[] = {
        {"delete the middle entry, recyc unset", {"d1a.bmp", "d1b.bmp", "d1c.bmp"}, {}, nullptr, 1, {},
         Command::Delete, IDYES, nullptr, nullptr, "", {{"d1a.bmp", "d1a.bmp"}, {"d1c.bmp", "d1c.bmp"}}, {},
         {"d1b.bmp"}, "d1a.bmp", "d1a.bmp"},
        {"delete the first entry, recyc 1", {"d2a.bmp", "d2b.bmp"}, {}, "1", 0, {}, Command::Delete, IDYES,
         nullptr, nullptr, "", {{"d2b.bmp", "d2b.bmp"}}, {}, {"d2a.bmp"}, "d2b.bmp", "d2b.bmp"},
        {"delete the last entry", {"d3a.bmp", "d3b.bmp"}, {}, nullptr, 1, {}, Command::Delete, IDYES, nullptr,
         nullptr, "", {{"d3a.bmp", "d3a.bmp"}}, {}, {"d3b.bmp"}, "d3a.bmp", "d3a.bmp"},
        {"delete the only entry", {"d4a.bmp"}, {}, nullptr, 0, {}, Command::Delete, IDYES, nullptr, nullptr, "",
         {}, {}, {"d4a.bmp"}, "", ""},
        {"delete several", {"d5a.bmp", "d5b.bmp", "d5c.bmp", "d5d.bmp"}, {}, nullptr, 2, {1, 2}, Command::Delete,
         IDYES, nullptr, nullptr, "", {{"d5a.bmp", "d5a.bmp"}, {"d5d.bmp", "d5d.bmp"}}, {},
         {"d5b.bmp", "d5c.bmp"}, "d5d.bmp", "d5d.bmp"},
        {"delete another entry keeps the shown one", {"d6a.bmp", "d6b.bmp", "d6c.bmp"}, {}, nullptr, 2, {0},
         Command::Delete, IDYES, nullptr, nullptr, "", {{"d6b.bmp", "d6b.bmp"}, {"d6c.bmp", "d6c.bmp"}}, {}, {"d6a.bmp"}, "d6c.bmp",
         "d6c.bmp"},
        {"delete for good, answered No", {"a.bmp", "b.bmp"}, {}, "0", 0, {}, Command::Delete, IDNO, nullptr,
         nullptr, "", {{"a.bmp", "a.bmp"}, {"b.bmp", "b.bmp"}}, {}, {}, "a.bmp", "a.bmp"},
        {"delete for good, answered Yes", {"a.bmp", "b.bmp"}, {}, "0", 0, {}, Command::Delete, IDYES, nullptr,
         nullptr, "", {{"b.bmp", "b.bmp"}}, {}, {}, "b.bmp", "b.bmp"},
        {"copy", {"a.bmp", "b.bmp"}, {}, nullptr, 0, {}, Command::Copy, std::nullopt, "dst", nullptr, "",
         {{"a.bmp", "a.bmp"}, {"b.bmp", "b.bmp"}}, {{"a.bmp", "a.bmp"}}, {}, "a.bmp", "a.bmp"},
        {"copy onto a name there, answered No", {"a.bmp", "b.bmp"}, {"a.bmp"}, nullptr, 0, {}, Command::Copy,
         IDNO, "dst", nullptr, "", {{"a.bmp", "a.bmp"}, {"b.bmp", "b.bmp"}}, {{"a.bmp", "dst-a.bmp"}}, {},
         "a.bmp", "a.bmp"},
        {"copy onto a name there, answered Yes", {"a.bmp", "b.bmp"}, {"a.bmp"}, nullptr, 0, {}, Command::Copy,
         IDYES, "dst", nullptr, "", {{"a.bmp", "a.bmp"}, {"b.bmp", "b.bmp"}}, {{"a.bmp", "a.bmp"}}, {}, "a.bmp",
         "a.bmp"},
        {"copy into its own folder", {"a.bmp", "b.bmp"}, {}, nullptr, 0, {}, Command::Copy, std::nullopt, "pics",
         nullptr, "Cannot copy a.bmp to {pics}.\r\n\r\n" + sameFile, {{"a.bmp", "a.bmp"}, {"b.bmp", "b.bmp"}},
         {}, {}, "a.bmp", "a.bmp"},
        {"move the shown file", {"a.bmp", "b.bmp"}, {}, nullptr, 0, {}, Command::Move, std::nullopt, "dst",
         nullptr, "", {{"b.bmp", "b.bmp"}}, {{"a.bmp", "a.bmp"}}, {}, "", ""},
        {"move another file", {"a.bmp", "b.bmp", "c.bmp"}, {}, nullptr, 2, {0}, Command::Move, std::nullopt,
         "dst", nullptr, "", {{"b.bmp", "b.bmp"}, {"c.bmp", "c.bmp"}}, {{"a.bmp", "a.bmp"}}, {}, "c.bmp",
         "c.bmp"},
        {"move into its own folder", {"a.bmp"}, {}, nullptr, 0, {}, Command::Move, std::nullopt, "pics", nullptr,
         "Cannot move a.bmp to {pics}.\r\n\r\n" + sameFile, {{"a.bmp", "a.bmp"}}, {}, {}, "a.bmp", "a.bmp"},
        {"rename", {"a.bmp", "b.bmp"}, {}, nullptr, 0, {}, Command::Rename, std::nullopt, nullptr, "new.bmp", "",
         {{"new.bmp", "a.bmp"}, {"b.bmp", "b.bmp"}}, {}, {}, "new.bmp", "new.bmp"},
        {"rename without extension", {"a.bmp", "b.bmp"}, {}, nullptr, 1, {}, Command::Rename, std::nullopt,
         nullptr, "zed", "", {{"a.bmp", "a.bmp"}, {"zed.bmp", "b.bmp"}}, {}, {}, "zed.bmp", "zed.bmp"},
        {"rename onto a taken name", {"a.bmp", "b.bmp"}, {}, nullptr, 0, {}, Command::Rename, std::nullopt, nullptr,
         "b", "Cannot rename a.bmp.\r\n\r\nThere is already a file named 'b.bmp' in this folder.",
         {{"a.bmp", "a.bmp"}, {"b.bmp", "b.bmp"}}, {}, {}, "a.bmp", "a.bmp"},
    };
    const std::string trash = TrashFiles();
    ASSERT_FALSE(trash.empty()) << "XDG_DATA_HOME is not set";
    int number = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string base = "row" + std::to_string(++number);
        CreateDirectoryA((temp_ / base).c_str(), nullptr);
        const std::string pics = Folder(base + "\\pics", row.files);
        const std::string dst = temp_ / (base + "\\dst");
        CreateDirectoryA(dst.c_str(), nullptr);
        for (const std::string& name : row.existing) {
            ASSERT_TRUE(qvtest::WriteBitmap(dst + "\\" + name, 9, 9, 0x445566));
            originals_["dst-" + name] = ReadAll(dst + "\\" + name);
        }
        for (const std::string& name : row.trashed) RemoveFromTrash(name);
        if (row.recyc) forms::SaveSetting("Quillview2", "Options", "recyc", row.recyc);
        else forms::DeleteSetting("Quillview2", "Options", "recyc");

        GoTo(pics);
        Window().File1.SetListIndex(row.shown);
        ASSERT_EQ(forms::FileNameOf(Module1::gCurrentImagePath), row.files[row.shown]);
        if (!row.selection.empty()) {
            const browser::SuppressFileClick quiet;
            for (int i = 0; i < Window().File1.ListCount(); ++i) {
                Window().File1.SetSelected(i, std::find(row.selection.begin(), row.selection.end(), i) !=
                                                   row.selection.end());
            }
        }
        const std::string destination =
            !row.destination ? "" : std::string(row.destination) == "pics" ? pics : dst;
        std::string message = row.message;
        if (const auto at = message.find("{pics}"); at != std::string::npos) message.replace(at, 6, pics);
        if (row.renameTo) {
            const std::string old = row.files[row.shown];
            answers_.ExpectInputBox("Please type a new name for " + old + " below.", "Rename File", old, row.renameTo);
        }
        if (!message.empty()) answers_.ExpectMsgBox(message, forms::mb::Exclamation, title, forms::answer::Ok);
        if (!destination.empty()) ChooseInBrowser(destination);
        {
            // No question expected: a question that comes is cancelled, and the test sees it came.
            const DialogDriver shell(Press(row.shellButton.value_or(IDCANCEL)));
            switch (row.command) {
            case Command::Delete: Window().mnuDel.Click(); break;
            case Command::Copy: Window().mnuCopyFile.Click(); break;
            case Command::Move: Window().mnuMove.Click(); break;
            case Command::Rename: Window().mnuRename.Click(); break;
            }
            EXPECT_EQ(shell.Acted(), row.shellButton.has_value()) << shell.Title();
        }
        EXPECT_EQ(answers_.Remaining(), 0u);
        EXPECT_TRUE(Window().Enabled());

        ExpectFolder(pics, row.pics, row.name);
        ExpectFolder(dst, row.dst, row.name);
        for (const std::string& name : row.trashed) {
            EXPECT_EQ(ReadAll(trash + "\\" + name), originals_[name]) << name;
            RemoveFromTrash(name);
        }
        std::vector<std::string> listed;
        for (const auto& [name, from] : row.pics) listed.push_back(name);
        // The list shows what the folder holds.
        std::vector<std::string> shownList = Listed();
        std::sort(shownList.begin(), shownList.end());
        EXPECT_EQ(shownList, listed);
        EXPECT_EQ(Window().File1.FileName(), row.currentAfter);
        EXPECT_EQ(forms::FileNameOf(Module1::gCurrentImagePath), row.shownAfter);
        EXPECT_EQ(Window().LogoShown_, std::string(row.shownAfter).empty());
        if (!std::string(row.shownAfter).empty()) {
            EXPECT_EQ(Window().Caption(), std::string("Quillview - ") + row.shownAfter);
        }
        if (row.command == Command::Delete || row.command == Command::Move) {
            EXPECT_EQ(Window().Toolbar(0).Enabled(), !row.pics.empty());
            EXPECT_EQ(Window().Toolbar(1).Enabled(), !row.pics.empty());
        }
    }
}

// A change of letter case alone is no clash: it goes to the shell, which may refuse it (Wine does). Either
// way the file stays whole under one of the two names, and a refusal is said in the system's words.
TEST_F(FileCommands, RenameByLetterCaseOnlyKeepsTheFile) {
    struct Lenient : forms::Answerer {
        int MsgBox(const std::string& prompt, int, const std::string&) override {
            messages.push_back(prompt);
            return forms::answer::Ok;
        }
        std::string InputBox(const std::string&, const std::string&, const std::string&) override { return "A.bmp"; }
        std::vector<std::string> messages;
    } lenient;
    const forms::ScopedAnswerer answering(lenient);
    const std::string pics = Folder("pics", {"a.bmp", "b.bmp"});
    GoTo(pics);
    Window().File1.SetListIndex(0);
    Window().mnuRename.Click();
    const std::vector<std::string> files = FilesIn(pics);
    ASSERT_EQ(files.size(), 2u);
    EXPECT_TRUE(files[0] == "a.bmp" || files[0] == "A.bmp") << files[0];
    EXPECT_EQ(ReadAll(pics + "\\" + files[0]), originals_["a.bmp"]);
    EXPECT_EQ(ReadAll(pics + "\\b.bmp"), originals_["b.bmp"]);
    EXPECT_EQ(forms::FileNameOf(Module1::gCurrentImagePath), files[0]);
    EXPECT_EQ(Window().File1.FileName(), files[0]);
    EXPECT_LE(lenient.messages.size(), 1u);
    for (const std::string& m : lenient.messages) {
        EXPECT_EQ(m.rfind("Cannot rename a.bmp.", 0), 0u) << m;
        EXPECT_EQ(m.find("too long"), std::string::npos) << m;
    }
}

}  // namespace
