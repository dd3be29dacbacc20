// The folder popup's commands on real folders: the current folder created in, copied, moved and deleted through
// the real shell, its folder chooser and questions answered on this thread, its recycle bin the build tree's
// trash. Every dialog is answered or, at worst, closed when its time is up: no row can hang.
#include "main/browser/frmQuillview.h"
#include "main/core/Module1.h"
#include "main/core/clsFileManager.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Paths.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/Strings.h"
#include "tests/main/browser/FileCommandsFixture.h"
#include "tests/main/browser/MappedDrive.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace filecommands;

// A file below the row's folder -> the file whose bytes it held before the command.
using Tree = std::map<std::string, std::string>;

// The row's pictures as they start, placed below `at`.
Tree Pics(const std::string& at = "pics") {
    return {{at + "\\a.bmp", "pics\\a.bmp"}, {at + "\\b.bmp", "pics\\b.bmp"}, {at + "\\sub\\c.bmp", "pics\\sub\\c.bmp"}};
}

Tree operator+(Tree a, const Tree& b) {
    a.insert(b.begin(), b.end());
    return a;
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string SystemText(DWORD code) {
    char buffer[512] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        buffer, sizeof buffer, nullptr);
    std::string text(buffer, length);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}

// The subfolders the folder list shows, by name.
std::vector<std::string> Subfolders(const forms::DirListBox& list) {
    std::vector<std::string> names;
    for (int i = 0; i < list.ListCount(); ++i) names.push_back(forms::FileNameOf(list.List(i)));
    return names;
}

class FolderCommands : public FileCommandsTest {
protected:
    // A folder of the row with the three pictures ("pics"), an empty destination ("dst"), and the first
    // picture shown.
    std::string MakeRow(int number) {
        const std::string row = temp_ / ("row" + std::to_string(number));
        CreateDirectoryA(row.c_str(), nullptr);
        CreateDirectoryA((row + "\\pics").c_str(), nullptr);
        CreateDirectoryA((row + "\\pics\\sub").c_str(), nullptr);
        CreateDirectoryA((row + "\\dst").c_str(), nullptr);
        int shade = 1;
        for (const char* file : {"pics\\a.bmp", "pics\\b.bmp", "pics\\sub\\c.bmp"}) {
            EXPECT_TRUE(qvtest::WriteBitmap(row + "\\" + file, 2 + shade, 2, 0x030201u * shade));
            ++shade;
        }
        GoTo(row + "\\pics");
        Window().File1.SetListIndex(0);
        return row;
    }
};

TEST_F(FolderCommands, CurrentFolderCreatedInCopiedMovedAndDeleted) {
    enum class Command { Create, Copy, Move, Delete };
    struct Row {
        const char* name;
        Command command;
        const char* at;             // the folder shown: below the row's folder, or "P:" the drive mapped to it
        const char* answer;         // Create: the name typed; Copy, Move: the folder chosen ("" cancels)
        bool follow;                // the follow-operation flag
        const char* recyc;          // stored Options\recyc, or none
        std::optional<int> shell;   // the shell's question and the button pressed, or no question
        int replace;                // the answer to the folder replace question, or none
        std::string message;        // the window's one report; "{row}" stands for the row's folder
        Tree after;                 // every file below the row's folder afterwards
        const char* folderAfter;    // Dir1.Path afterwards, as `at`
        bool logo;                  // the logo shows afterwards
        bool trashed;               // the shown folder arrived in the trash
    };
    const std::string root = "The root folder of a drive cannot be moved or deleted.";
    const std::string subtree = "The destination folder lies inside the source folder.";
    const std::string dstPics = "dst\\pics";
    const Row rows[] = {
        {"create", Command::Create, "pics", "New", false, nullptr, {}, 0, "", Pics(), "pics", false, false},
        {"create at a root", Command::Create, "P:", "New", false, nullptr, {}, 0, "", Pics(), "P:", false, false},
        {"copy and follow", Command::Copy, "pics", "dst", true, nullptr, {}, 0, "", Pics() + Pics(dstPics), "dst",
         false, false},
        {"copy", Command::Copy, "pics", "dst", false, nullptr, {}, 0, "", Pics() + Pics(dstPics), "pics", false,
         false},
        {"copy into itself", Command::Copy, "pics", "pics\\sub", false, nullptr, {}, 0,
         "Cannot copy the folder {row}\\pics.\r\n\r\n" + subtree, Pics(), "pics", false, false},
        {"copy, chooser cancelled", Command::Copy, "pics", "", false, nullptr, {}, 0, "", Pics(), "pics", false,
         false},
        {"move and follow", Command::Move, "pics", "dst", true, nullptr, {}, 0, "", Pics(dstPics), "dst", true,
         false},
        {"move", Command::Move, "pics", "dst", false, nullptr, {}, 0, "", Pics(dstPics), "", true, false},
        {"move onto a folder of its name, answered No", Command::Move, "pics", "dst", true, nullptr, {},
         forms::answer::No, "", Pics() + Tree{{"dst\\pics\\old.bmp", "dst\\pics\\old.bmp"}}, "pics", false, false},
        {"move into itself", Command::Move, "pics", "pics", false, nullptr, {}, 0,
         "Cannot move the folder {row}\\pics.\r\n\r\n" + subtree, Pics(), "pics", false, false},
        {"move a root", Command::Move, "P:", "", false, nullptr, {}, 0, root, Pics(), "P:", false, false},
        {"delete, recyc unset", Command::Delete, "pics", nullptr, false, nullptr, IDYES, 0, "", {}, "", true, true},
        {"delete, answered No", Command::Delete, "pics", nullptr, false, nullptr, IDNO, 0, "", Pics(), "pics",
         false, false},
        {"delete for good", Command::Delete, "pics", nullptr, false, "0", IDYES, 0, "", {}, "", true, false},
        {"delete a root", Command::Delete, "P:", nullptr, false, nullptr, {}, 0, root, Pics(), "P:", false, false},
    };
    const std::string trash = TrashFiles();
    ASSERT_FALSE(trash.empty()) << "XDG_DATA_HOME is not set";
    const std::string title = forms::App::Title();
    int number = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string folder = MakeRow(++number);
        // A root stands for the row's folder where the system lets a mapped drive be used. Elsewhere a row
        // that must write there is left out, and a refusal is checked on the system drive's root with the
        // shell taken out of reach, so that no refusal that fails can touch it.
        const MappedDrive drive(folder);
        const bool mapped = drive.Letter() && IsFolder(drive.Root());
        const bool atRoot = std::string(row.at) == "P:";
        if (atRoot && !mapped && row.message.empty()) {
            std::printf("[ SKIPPED ] %s: no drive letter can be mapped to a folder here\n", row.name);
            continue;
        }
        const std::string rootPath = mapped ? drive.Root() : forms::RootOf(folder);
        const auto place = [&](const std::string& at) {
            if (at == "P:") return rootPath;
            return at.empty() ? folder : folder + "\\" + at;
        };
        int shellCalls = 0;
        if (atRoot && !row.message.empty()) {
            Module1::gFileManager().SetShellOperation([&shellCalls](SHFILEOPSTRUCTA&) {
                ++shellCalls;
                return static_cast<int>(ERROR_CANCELLED);
            });
        }
        if (row.replace) {
            CreateDirectoryA((folder + "\\dst\\pics").c_str(), nullptr);
            ASSERT_TRUE(qvtest::WriteBitmap(folder + "\\dst\\pics\\old.bmp", 5, 5, 0x101010));
        }
        const std::map<std::string, std::string> before = FilesBelow(folder);
        if (std::string(row.at) != "pics") GoTo(place(row.at));
        const std::string shown = place(row.at);
        const bool logoBefore = Window().LogoShown_;
        Window().FollowOperations = row.follow;
        if (row.recyc) {
            forms::SaveSetting("Quillview2", "Options", "recyc", row.recyc);
        } else {
            forms::DeleteSetting("Quillview2", "Options", "recyc");
        }
        RemoveFromTrash("pics");

        std::vector<DialogDriver::Action> actions;
        if (row.command == Command::Create) {
            answers_.ExpectInputBox("Please enter the name of the new directory.", "Create New Directory", "",
                                    row.answer);
        } else if (row.answer && row.message != root) {
            actions.push_back(*row.answer ? SelectFolder(place(row.answer)) : DialogDriver::Action(DialogDriver::Cancel));
        }
        if (row.replace) {
            answers_.ExpectMsgBox("This folder already contains a folder named 'pics'.\r\n\r\nIf the files in the "
                                  "existing folder have the same name as files in the folder you are moving, they "
                                  "will be replaced. Do you still want to move the folder?",
                                  forms::mb::YesNoCancel | forms::mb::Exclamation, "Confirm Folder Replace",
                                  row.replace);
        }
        if (row.shell) actions.push_back(Press(*row.shell));
        std::string message = row.message;
        if (const auto at = message.find("{row}"); at != std::string::npos) message.replace(at, 5, folder);
        if (!message.empty()) answers_.ExpectMsgBox(message, forms::mb::Exclamation, title, forms::answer::Ok);
        {
            const DialogScript dialogs(actions, Window().hWnd());
            switch (row.command) {
            case Command::Create: Window().mnuCreateDir.Click(); break;
            case Command::Copy: Window().mnuCopyDir.Click(); break;
            case Command::Move: Window().mnuMoveDir.Click(); break;
            case Command::Delete: Window().mnuDelDir.Click(); break;
            }
            EXPECT_TRUE(dialogs.Hung().empty()) << "still open when the time was up: " << dialogs.Hung().front();
            EXPECT_TRUE(dialogs.Unexpected().empty()) << "not expected: " << dialogs.Unexpected().front();
            EXPECT_EQ(dialogs.Answered().size(), actions.size());
        }
        EXPECT_EQ(answers_.Remaining(), 0u);
        if (atRoot && !row.message.empty()) {
            EXPECT_EQ(shellCalls, 0);
            Module1::gFileManager().SetShellOperation([](SHFILEOPSTRUCTA& request) { return SHFileOperationA(&request); });
        }

        // No byte of a file the user kept changed, and nothing else is there.
        std::map<std::string, std::string> expected;
        for (const auto& [path, from] : row.after) expected[path] = before.at(from);
        EXPECT_EQ(FilesBelow(folder), expected);
        if (row.command == Command::Create) {
            EXPECT_TRUE(IsFolder(forms::JoinPath(shown, row.answer)));
            const std::vector<std::string> listed = Subfolders(Window().Dir1);
            EXPECT_NE(std::find(listed.begin(), listed.end(), row.answer), listed.end()) << "the new folder is listed";
        }
        if (row.trashed) {
            EXPECT_EQ(FilesBelow(trash + "\\pics"), (std::map<std::string, std::string>{
                                                          {"a.bmp", before.at("pics\\a.bmp")},
                                                          {"b.bmp", before.at("pics\\b.bmp")},
                                                          {"sub\\c.bmp", before.at("pics\\sub\\c.bmp")}}));
        } else if (row.command == Command::Delete) {
            EXPECT_FALSE(IsFolder(trash + "\\pics"));
        }
        RemoveFromTrash("pics");

        EXPECT_TRUE(forms::TextEquals(Window().Dir1.Path(), place(row.folderAfter)))
            << Window().Dir1.Path() << " for " << place(row.folderAfter);
        EXPECT_TRUE(forms::TextEquals(Window().Drive1.Drive().substr(0, 1), Window().Dir1.Path().substr(0, 1)))
            << "the drive list is in step";
        EXPECT_EQ(Window().LogoShown_, row.logo || logoBefore);
        GoTo(temp_.Path());
    }
}

// A new folder's name is refused before anything is made: for a character no folder name may hold, with the
// window's own message, and for a name the system refuses, with its reason.
TEST_F(FolderCommands, NewFolderNamesRefused) {
    const std::string folder = MakeRow(1);
    const std::string forbidden =
        "Directory Names cannot include the characters: \\, /, ?, |, \", <,>, *, :";
    struct Case {
        std::string answer;
        std::string message;
        int style;
    };
    std::vector<Case> cases;
    for (const char c : std::string("\\/?|\"<>*:")) cases.push_back({std::string("new") + c + "one", forbidden, 0});
    const auto cannot = [](const std::string& name, const std::string& reason) {
        return "Cannot create the folder " + name + ".\r\n\r\n" + reason;
    };
    cases.push_back({".", cannot(".", SystemText(ERROR_INVALID_NAME)), forms::mb::Exclamation});
    cases.push_back({"..", cannot("..", SystemText(ERROR_INVALID_NAME)), forms::mb::Exclamation});
    cases.push_back({"sub", cannot("sub", SystemText(ERROR_ALREADY_EXISTS)), forms::mb::Exclamation});
    cases.push_back({"con.txt", cannot("con.txt", "\"con.txt\" is a name the system keeps for a device."),
                     forms::mb::Exclamation});
    const std::map<std::string, std::string> before = FilesBelow(folder);
    const std::vector<std::string> listed = Subfolders(Window().Dir1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        answers_.ExpectInputBox("Please enter the name of the new directory.", "Create New Directory", "", c.answer);
        answers_.ExpectMsgBox(c.message, c.style, forms::App::Title(), forms::answer::Ok);
        const DialogScript dialogs({}, Window().hWnd());
        Window().mnuCreateDir.Click();
        EXPECT_EQ(answers_.Remaining(), 0u);
        EXPECT_TRUE(dialogs.Unexpected().empty() && dialogs.Hung().empty());
    }
    EXPECT_EQ(FilesBelow(folder), before);
    EXPECT_EQ(filecommands::FilesIn(folder + "\\pics").size(), 2u);
    EXPECT_EQ(Subfolders(Window().Dir1), listed);
    // A blank answer, as Cancel, makes nothing and says nothing.
    answers_.ExpectInputBox("Please enter the name of the new directory.", "Create New Directory", "", "  ");
    Window().mnuCreateDir.Click();
    EXPECT_EQ(answers_.Remaining(), 0u);
    EXPECT_EQ(FilesBelow(folder), before);
}

}  // namespace
