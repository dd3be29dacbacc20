// The main window's file and folder commands on real folders, through the real shell: its questions are
// answered by their buttons on this thread, and its recycle bin is the build tree's private trash.
#include "main/browser/FileCommands.h"
#include "main/browser/FileSelection.h"
#include "main/browser/frmQuillview.h"
#include "main/core/Module1.h"
#include "main/core/clsFileManager.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Paths.h"
#include "tests/main/browser/FileCommandsFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace filecommands;

class FileCommands : public FileCommandsTest {
protected:
    std::vector<std::string> Listed() const {
        std::vector<std::string> entries;
        for (int i = 0; i < Window().File1.ListCount(); ++i) entries.push_back(Window().File1.List(i));
        return entries;
    }
    // Each file of the folder holds the bytes of the file it is named after in the table.
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
        int replace = 0;           // the answer to the replace question of a move onto a name there
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
        {"move onto a name there, answered No", {"a.bmp", "b.bmp"}, {"a.bmp"}, nullptr, 0, {}, Command::Move,
         std::nullopt, "dst", nullptr, "", {{"a.bmp", "a.bmp"}, {"b.bmp", "b.bmp"}}, {{"a.bmp", "dst-a.bmp"}}, {},
         "a.bmp", "a.bmp", forms::answer::No},
        {"move onto a name there, answered Yes", {"a.bmp", "b.bmp"}, {"a.bmp"}, nullptr, 0, {}, Command::Move,
         std::nullopt, "dst", nullptr, "", {{"b.bmp", "b.bmp"}}, {{"a.bmp", "a.bmp"}}, {}, "", "",
         forms::answer::Yes},
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
        const auto [pics, dst] = MakeRowFolders("row" + std::to_string(++number), row.files);
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
        if (row.replace) {
            answers_.ExpectMsgBox("This folder already contains a file named '" + row.files[row.shown] +
                                      "'.\r\n\r\nWould you like to replace the existing file with this one?",
                                  forms::mb::YesNoCancel | forms::mb::Exclamation, "Confirm File Replace",
                                  row.replace);
        }
        if (!message.empty()) answers_.ExpectMsgBox(message, forms::mb::Exclamation, title, forms::answer::Ok);
        if (!destination.empty()) ChooseInBrowser(destination);
        {
            // No question expected: a question that comes is cancelled, and the test sees it came. After a Yes
            // to the replace question, a shell that asks as well is answered Yes again.
            const bool replacing = row.replace == forms::answer::Yes;
            const DialogDriver shell(Press(row.shellButton.value_or(replacing ? IDYES : IDCANCEL)));
            switch (row.command) {
            case Command::Delete: Window().mnuDel.Click(); break;
            case Command::Copy: Window().mnuCopyFile.Click(); break;
            case Command::Move: Window().mnuMove.Click(); break;
            case Command::Rename: Window().mnuRename.Click(); break;
            }
            if (!replacing) {
                EXPECT_EQ(shell.Acted(), row.shellButton.has_value()) << shell.Title();
            }
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

// A shell that calls a copy or a move done without doing it (as into a folder the user cannot write): the
// window says so in one box for either, and the file stays where it was.
TEST_F(FileCommands, ACopyOrMoveNotDoneIsReportedThoughTheShellCallsItDone) {
    const std::string title = forms::App::Title();
    int number = 0;
    for (const bool move : {false, true}) {
        SCOPED_TRACE(move ? "move" : "copy");
        const std::string base = "undone" + std::to_string(++number);
        CreateDirectoryA((temp_ / base).c_str(), nullptr);
        const std::string pics = Folder(base + "\\pics", {"a.bmp", "b.bmp"});
        const std::string dst = temp_ / (base + "\\dst");
        CreateDirectoryA(dst.c_str(), nullptr);
        GoTo(pics);
        Window().File1.SetListIndex(0);
        const std::string reason = move ? "'a.bmp' was not moved: it is still in " + pics + "."
                                        : "'a.bmp' was not copied: it is not in " + dst + ".";
        answers_.ExpectMsgBox(std::string("Cannot ") + (move ? "move" : "copy") + " a.bmp to " + dst +
                                  ".\r\n\r\n" + reason,
                              forms::mb::Exclamation, title, forms::answer::Ok);
        ChooseInBrowser(dst);
        int shellCalls = 0;
        Module1::gFileManager().SetShellOperation([&shellCalls](SHFILEOPSTRUCTA&) {
            ++shellCalls;
            return 0;
        });
        move ? Window().mnuMove.Click() : Window().mnuCopyFile.Click();
        Module1::gFileManager().SetShellOperation([](SHFILEOPSTRUCTA& request) { return SHFileOperationA(&request); });
        EXPECT_EQ(shellCalls, 1);
        EXPECT_EQ(answers_.Remaining(), 0u);
        std::vector<std::string> kept = FilesIn(pics);
        std::sort(kept.begin(), kept.end());
        EXPECT_EQ(kept, (std::vector<std::string>{"a.bmp", "b.bmp"}));
        EXPECT_TRUE(FilesIn(dst).empty());
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
    // Renamed, nothing is said; refused, the user is told it was the letter case.
    const std::vector<std::string> said =
        files[0] == "A.bmp" ? std::vector<std::string>{}
                            : std::vector<std::string>{"Cannot rename a.bmp.\r\n\r\nOnly the letter case of the name would "
                                                       "change, and the system did not rename the file. It keeps the "
                                                       "name a.bmp."};
    EXPECT_EQ(lenient.messages, said);
}

}  // namespace
