// File operations through the real shell on temporary folders; the shell's questions are answered by
// button from a timer on this thread, and the recycle bin is the build tree's trash (cmake/wine-run).

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "main/core/clsFileManager.h"
#include "platform/forms/Form.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Strings.h"
#include "tests/lib/services/DialogDriver.h"
#include "tests/platform/forms/ErrorNumber.h"
#include "tests/platform/forms/FormsTestSupport.h"
#include "tests/support/TempFolder.h"
#include "tests/support/Trash.h"

namespace {

class frmOwner : public forms::Form {
public:
    frmOwner() : Form({.Caption = "File owner"}) {}
};

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Presses a button of the shell's question when it comes; Pressed() tells whether one came.
class ShellQuestion {
public:
    explicit ShellQuestion(int button)
        : driver_([button](HWND dialog) {
              PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                           reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
          }) {}
    bool Pressed() const { return driver_.Acted(); }
    const std::string& Title() const { return driver_.Title(); }

private:
    DialogDriver driver_;
};

using qvtest::TrashFiles;

class FileManager : public testing::Test {
protected:
    void SetUp() override {
        owner_ = forms::New<frmOwner>();
        owner_->Show();
        temp_.Write("keep.txt", "kept bytes");
        CreateDirectoryA((temp_ / "src").c_str(), nullptr);
        CreateDirectoryA((temp_ / "dst").c_str(), nullptr);
        temp_.Write("src\\a.jpg", "AAAA");
        temp_.Write("src\\b.jpg", "BBBBBB");
        CreateDirectoryA((temp_ / "src\\sub").c_str(), nullptr);
        temp_.Write("src\\sub\\c.jpg", "CC");
        // Every call goes through the real shell, and the test sees each request.
        files_.SetShellOperation([this](SHFILEOPSTRUCTA& request) {
            flags_.push_back(request.fFlags);
            return SHFileOperationA(&request);
        });
        files_.SetFolderChooser([this](const std::string& title, forms::Form& owner) {
            titles_.push_back(title);
            EXPECT_EQ(&owner, owner_.get());
            return chosen_;
        });
    }
    void TearDown() override {
        // No operation may change a file it does not work on.
        EXPECT_EQ(temp_.Read("keep.txt"), "kept bytes");
        owner_->Unload();
    }

    std::string Path(const std::string& name) const { return temp_ / name; }

    qvtest::TempFolder temp_;
    std::shared_ptr<frmOwner> owner_;
    clsFileManager files_;
    std::vector<FILEOP_FLAGS> flags_;
    std::vector<std::string> titles_;
    std::optional<std::string> chosen_;
};

TEST_F(FileManager, OptionFlagsApplyExceptToTheRecycleBin) {
    struct Row {
        bool pbar, yes, rename, recycle;
        FILEOP_FLAGS flags;
    };
    const Row rows[] = {
        {false, false, false, false, FOF_NOERRORUI},
        {true, false, false, false, FOF_SILENT | FOF_NOERRORUI},
        {false, true, false, false, FOF_NOCONFIRMATION | FOF_NOERRORUI},
        {false, false, true, false, FOF_RENAMEONCOLLISION | FOF_NOERRORUI},
        {true, true, true, false, FOF_SILENT | FOF_NOCONFIRMATION | FOF_RENAMEONCOLLISION | FOF_NOERRORUI},
        // The recycle bin keeps confirming whatever YesToAll says.
        {true, true, true, true, FOF_ALLOWUNDO | FOF_NOERRORUI},
    };
    for (const Row& row : rows) {
        files_.SetDisplayPBar(row.pbar);
        files_.SetYesToAll(row.yes);
        files_.SetRenameFiles(row.rename);
        flags_.clear();
        // A vanished source: the shell still asks (answered Cancel) and deletes nothing.
        const ShellQuestion question(IDCANCEL);
        files_.DeleteFile(Path("gone.jpg"), owner_.get(), row.recycle);
        ASSERT_EQ(flags_.size(), 1u);
        EXPECT_EQ(flags_[0], row.flags) << row.pbar << row.yes << row.rename << row.recycle;
    }
}

TEST_F(FileManager, CopiesAndMovesFilesAndFolders) {
    std::string destination = Path("dst");
    std::string placed;
    EXPECT_TRUE(files_.CopyFile(Path("src"), "a.jpg", owner_.get(), &destination, &placed));
    EXPECT_EQ(placed, Path("dst\\a.jpg"));
    EXPECT_EQ(temp_.Read("dst\\a.jpg"), "AAAA");
    EXPECT_EQ(temp_.Read("src\\a.jpg"), "AAAA");

    EXPECT_TRUE(files_.MoveFile(Path("src"), "b.jpg", owner_.get(), &destination, &placed));
    EXPECT_EQ(temp_.Read("dst\\b.jpg"), "BBBBBB");
    EXPECT_FALSE(Exists(Path("src\\b.jpg")));

    std::string copied;
    EXPECT_TRUE(files_.CopyDirectory(Path("src\\sub"), owner_.get(), &destination, &copied));
    EXPECT_EQ(copied, Path("dst"));
    EXPECT_EQ(temp_.Read("dst\\sub\\c.jpg"), "CC");
    EXPECT_EQ(temp_.Read("src\\sub\\c.jpg"), "CC");

    CreateDirectoryA(Path("dst2").c_str(), nullptr);
    std::string moveTo = Path("dst2");
    EXPECT_TRUE(files_.MoveDirectory(Path("src\\sub"), owner_.get(), &moveTo));
    EXPECT_EQ(temp_.Read("dst2\\sub\\c.jpg"), "CC");
    EXPECT_FALSE(Exists(Path("src\\sub")));
    EXPECT_TRUE(files_.LastOutcome().Succeeded());
    EXPECT_TRUE(titles_.empty());
}

TEST_F(FileManager, MultipleFileOpCopiesOnlyForOpOne) {
    const std::string list = Path("src\\a.jpg") + std::string(1, '\0') + Path("src\\b.jpg");
    EXPECT_TRUE(files_.MultipleFileOp(list, owner_.get(), 1, Path("dst")));
    EXPECT_EQ(temp_.Read("dst\\b.jpg"), "BBBBBB");
    EXPECT_TRUE(Exists(Path("src\\a.jpg")));
    CreateDirectoryA(Path("dst2").c_str(), nullptr);
    EXPECT_TRUE(files_.MultipleFileOp(list, owner_.get(), 2, Path("dst2"))) << files_.LastOutcome().code;
    EXPECT_EQ(temp_.Read("dst2\\a.jpg"), "AAAA");
    EXPECT_FALSE(Exists(Path("src\\a.jpg")));
    EXPECT_FALSE(Exists(Path("src\\b.jpg")));
    EXPECT_EQ(flags_.size(), 2u);
}

TEST_F(FileManager, ChooserTitlesAndCancel) {
    chosen_ = std::nullopt;
    std::string destination;
    std::string pDest = "untouched";
    EXPECT_FALSE(files_.MoveDirectory("C:\\photos\\", owner_.get(), &destination, &pDest));
    EXPECT_FALSE(files_.CopyDirectory(Path("src"), owner_.get(), &destination, &pDest));
    EXPECT_FALSE(files_.MoveFile(Path("src"), "a.jpg", owner_.get(), &destination, &pDest));
    EXPECT_FALSE(files_.CopyFile(Path("src"), "a.jpg", owner_.get(), &destination, &pDest));
    const std::vector<std::string> expected{
        "Please choose a folder you would like to move 'photos\\' to.",
        "Please choose a folder you would like to copy 'src' to.",
        "Please choose a folder you would like to move a.jpg to.",
        "Please choose a folder you would like to copy a.jpg to.",
    };
    EXPECT_EQ(titles_, expected);
    // A cancelled chooser writes nothing back, calls no shell and has nothing to report.
    EXPECT_EQ(destination, "");
    EXPECT_EQ(pDest, "untouched");
    EXPECT_TRUE(flags_.empty());
    EXPECT_EQ(files_.LastOutcome().code, ERROR_CANCELLED);
    EXPECT_EQ(files_.LastOutcome().reason, "");

    chosen_ = Path("dst");
    EXPECT_TRUE(files_.CopyFile(Path("src"), "a.jpg", owner_.get(), &destination, &pDest));
    EXPECT_EQ(destination, Path("dst"));
    EXPECT_EQ(pDest, Path("dst\\a.jpg"));
    EXPECT_EQ(temp_.Read("dst\\a.jpg"), "AAAA");
}

TEST_F(FileManager, RefusalsReachNoShell) {
    struct Row {
        const char* what;
        std::function<bool(clsFileManager&, forms::Form*)> call;
        std::int32_t code;
    };
    const std::string src = Path("src");
    const Row rows[] = {
        {"empty source", [](clsFileManager& f, forms::Form* o) { return f.DeleteFile("", o, false); },
         ERROR_CANCELLED},
        {"folder into itself",
         [&](clsFileManager& f, forms::Form* o) {
             std::string d = src;
             return f.MoveDirectory(src, o, &d);
         },
         0x76},
        {"folder below itself",
         [&](clsFileManager& f, forms::Form* o) {
             std::string d = src + "\\SUB\\";
             return f.CopyDirectory(src, o, &d);
         },
         0x76},
        {"file into its own folder",
         [&](clsFileManager& f, forms::Form* o) {
             std::string d = src + "\\";
             return f.CopyFile(src, "a.jpg", o, &d);
         },
         0x71},
        {"files moved into their own folder",
         [&](clsFileManager& f, forms::Form* o) {
             return f.MultipleFileOp(src + "\\a.jpg" + std::string(1, '\0') + src + "\\b.jpg", o, 0, src);
         },
         0x71},
        {"move from a path shorter than a root",
         [](clsFileManager& f, forms::Form* o) {
             std::string d = "C:\\";
             return f.MoveFile("C:", "a.jpg", o, &d);
         },
         ERROR_BAD_PATHNAME},
    };
    for (const Row& row : rows) {
        EXPECT_FALSE(row.call(files_, owner_.get())) << row.what;
        EXPECT_EQ(files_.LastOutcome().code, row.code) << row.what;
        EXPECT_EQ(files_.LastOutcome().reason.empty(), row.code == ERROR_CANCELLED) << row.what;
    }
    EXPECT_TRUE(flags_.empty());
    EXPECT_EQ(temp_.Read("src\\a.jpg"), "AAAA");
    EXPECT_EQ(temp_.Read("src\\sub\\c.jpg"), "CC");
}

TEST_F(FileManager, WithoutCallingWindow) {
    std::string none;
    struct Row {
        std::function<void()> call;
        std::string description;
    };
    const Row rows[] = {
        {[&] { files_.MoveDirectory(Path("src"), nullptr, &none); },
         "When the destination augument is not specified, the calling form augument must be specified."},
        {[&] { files_.CopyDirectory(Path("src"), nullptr); },
         "When the destination augument is not specified, the calling form augument must be specified."},
        {[&] { files_.MoveFile(Path("src"), "a.jpg", nullptr); },
         "When the destination augument is not specified, the calling form augument must be specified."},
        {[&] { files_.CopyFile(Path("src"), "a.jpg", nullptr); },
         "When the destination auguement is not specified, the calling form auguement must be specified."},
    };
    for (const Row& row : rows) {
        try {
            row.call();
            ADD_FAILURE() << "no error";
        } catch (const forms::RuntimeError& e) {
            EXPECT_EQ(e.Number(), static_cast<std::int32_t>(0x80041552u));
            EXPECT_EQ(e.Description(), row.description);
        }
    }
    // With a destination the call reaches the shell, which needs an owner.
    std::string destination = Path("dst");
    EXPECT_EQ(forms::ErrorNumber([&] { files_.CopyFile(Path("src"), "a.jpg", nullptr, &destination); }), 424);
    EXPECT_EQ(forms::ErrorNumber([&] { files_.DeleteFile(Path("src\\a.jpg"), nullptr, false); }), 424);
    EXPECT_TRUE(flags_.empty());
    EXPECT_EQ(temp_.Read("src\\a.jpg"), "AAAA");
}

TEST(RenamedFileName, ExtensionRule) {
    struct Row {
        const char* file;
        const char* answer;
        const char* name;
    };
    const Row rows[] = {
        {"img01.JPG", "Holiday", "Holiday.jpg"},     {"img01.JPG", "Holiday.JPG", "Holiday.JPG"},
        {"img01.JPG", "Holiday.Jpg", "Holiday.Jpg"}, {"scan.jpeg", "new.jpeg", "new.jpeg"},
        {"scan.jpeg", "new", "new.jpeg"},            {"README", "notes", "notes"},
        {"a.b.TIFF", "c.tif", "c.tif.tiff"},
    };
    for (const Row& row : rows) EXPECT_EQ(RenamedFileName(row.file, row.answer), row.name) << row.file;
}

TEST_F(FileManager, RenameThroughTheBox) {
    temp_.Write("src\\img01.JPG", "IMG");
    temp_.Write("src\\other.jpg", "OTHER");
    struct Row {
        const char* answer;
        bool done;
        std::int32_t code;
        const char* renamed;  // the file that holds "IMG" afterwards
    };
    const Row rows[] = {
        {"  Holiday  ", true, 0, "Holiday.jpg"},
        {"", false, ERROR_CANCELLED, "Holiday.jpg"},
        {"a\\b", false, ERROR_INVALID_NAME, "Holiday.jpg"},
        {"x:y", false, ERROR_INVALID_NAME, "Holiday.jpg"},
        {"..", false, ERROR_INVALID_NAME, "Holiday.jpg"},
        {"other", false, ERROR_ALREADY_EXISTS, "Holiday.jpg"},
    };
    std::string current = "img01.JPG";
    for (const Row& row : rows) {
        formstest::Script script;
        script->ExpectInputBox("Please type a new name for " + current + " below.", "Rename File", current,
                               row.answer);
        std::string newName = "untouched";
        EXPECT_EQ(files_.Rename(Path("src"), current, owner_.get(), &newName), row.done) << row.answer;
        EXPECT_EQ(files_.LastOutcome().code, row.code) << row.answer;
        EXPECT_EQ(newName, row.done ? forms::Trim(row.answer) : std::string("untouched"));
        EXPECT_EQ(temp_.Read(std::string("src\\") + row.renamed), "IMG") << row.answer;
        if (row.done) current = row.renamed;
    }
    EXPECT_EQ(temp_.Read("src\\other.jpg"), "OTHER");
    EXPECT_EQ(flags_.size(), 1u);

    // A change of letter case alone is no clash with the file itself: it goes to the shell.
    formstest::Script script;
    script->ExpectInputBox("Please type a new name for Holiday.jpg below.", "Rename File", "Holiday.jpg",
                           "HOLIDAY.JPG");
    const bool renamed = files_.Rename(Path("src"), "Holiday.jpg", owner_.get());
    EXPECT_EQ(flags_.size(), 2u);
    EXPECT_EQ(temp_.Read("src\\holiday.jpg"), "IMG");
    // A shell that refuses it (Wine's does) is reported in words about the case, not a clash.
    if (!renamed) {
        EXPECT_EQ(files_.LastOutcome().reason, "Only the letter case of the name would change, and the system did "
                                               "not rename the file. It keeps the name Holiday.jpg.");
    }
}

TEST_F(FileManager, DeleteAsksUnlessYesToAll) {
    {
        const ShellQuestion no(IDNO);
        EXPECT_FALSE(files_.DeleteFile(Path("src\\a.jpg"), owner_.get(), false));
        EXPECT_TRUE(no.Pressed());
        EXPECT_EQ(temp_.Read("src\\a.jpg"), "AAAA");
        // The user's No is nothing to report.
        EXPECT_EQ(files_.LastOutcome().reason, "");
    }
    {
        const ShellQuestion yes(IDYES);
        const std::string both = Path("src\\a.jpg") + std::string(1, '\0') + Path("src\\b.jpg");
        EXPECT_TRUE(files_.DeleteFile(both, owner_.get(), false));
        EXPECT_TRUE(yes.Pressed());
        EXPECT_FALSE(Exists(Path("src\\a.jpg")));
        EXPECT_FALSE(Exists(Path("src\\b.jpg")));
    }
    {
        files_.SetYesToAll(true);
        const ShellQuestion none(IDNO);
        EXPECT_TRUE(files_.DeleteDirectory(Path("src\\sub"), owner_.get(), false));
        EXPECT_FALSE(none.Pressed());
        EXPECT_FALSE(Exists(Path("src\\sub")));
    }
    EXPECT_EQ(flags_.size(), 3u);
}

TEST_F(FileManager, RecycledFileArrivesInTheTrash) {
    const std::string trash = TrashFiles();
    ASSERT_FALSE(trash.empty()) << "XDG_DATA_HOME is not set";
    const std::string name = "recycled_" + std::to_string(GetCurrentProcessId()) + "_" +
                             std::to_string(GetTickCount()) + ".jpg";
    temp_.Write("src\\" + name, "RECYCLE ME");
    files_.SetYesToAll(true);
    const ShellQuestion yes(IDYES);
    EXPECT_TRUE(files_.DeleteFile(Path("src\\" + name), owner_.get(), true));
    EXPECT_TRUE(yes.Pressed()) << "the recycle bin must still ask";
    EXPECT_FALSE(Exists(Path("src\\" + name)));
    const std::string arrived = trash + "\\" + name;
    EXPECT_TRUE(Exists(arrived)) << arrived;
    // The trash keeps a record beside each file: both go.
    DeleteFileA(arrived.c_str());
    DeleteFileA((trash.substr(0, trash.size() - 5) + "info\\" + name + ".trashinfo").c_str());
}

// A move onto an existing name asks before the shell runs (a shell may replace without asking); an item of
// the other kind already there refuses a copy or move. Nothing the user kept may change.
TEST_F(FileManager, ExistingTargetNamesAreAskedAboutOrRefused) {
    const std::string fileQuestion =
        "This folder already contains a file named 'a.jpg'.\r\n\r\nWould you like to replace the existing file "
        "with this one?";
    const std::string folderQuestion =
        "This folder already contains a folder named 'sub'.\r\n\r\nIf the files in the existing folder have the "
        "same name as files in the folder you are moving, they will be replaced. Do you still want to move the "
        "folder?";
    constexpr int Q = forms::mb::YesNoCancel | forms::mb::Exclamation;
    enum class Call { MoveFile, MoveBoth, CopyBoth, MoveFolder, CopyFolder };
    using Files = std::vector<std::pair<const char*, const char*>>;  // path -> bytes ("" none there)
    struct Row {
        const char* name;
        std::vector<std::pair<const char*, const char*>> before;  // written into the fixture first
        Call call;
        const char* question;  // the title asked under, or none
        int answer;
        bool done;
        std::int32_t code;
        Files after;
    };
    const Row rows[] = {
        {"file answered No", {{"dst\\a.jpg", "OLD"}}, Call::MoveFile, "Confirm File Replace", forms::answer::No,
         false, ERROR_CANCELLED, {{"src\\a.jpg", "AAAA"}, {"dst\\a.jpg", "OLD"}}},
        {"file answered Cancel", {{"dst\\a.jpg", "OLD"}}, Call::MoveFile, "Confirm File Replace",
         forms::answer::Cancel, false, ERROR_CANCELLED, {{"src\\a.jpg", "AAAA"}, {"dst\\a.jpg", "OLD"}}},
        {"file answered Yes", {{"dst\\a.jpg", "OLD"}}, Call::MoveFile, "Confirm File Replace", forms::answer::Yes,
         true, 0, {{"src\\a.jpg", ""}, {"dst\\a.jpg", "AAAA"}}},
        {"two files, the clash answered No", {{"dst\\a.jpg", "OLD"}}, Call::MoveBoth, "Confirm File Replace",
         forms::answer::No, true, 0, {{"src\\a.jpg", "AAAA"}, {"dst\\a.jpg", "OLD"}, {"src\\b.jpg", ""},
                                      {"dst\\b.jpg", "BBBBBB"}}},
        {"copy of two files onto a folder's name", {{"dst\\a.jpg\\inner.txt", "IN"}}, Call::CopyBoth, nullptr, 0,
         false, ERROR_ALREADY_EXISTS, {{"src\\a.jpg", "AAAA"}, {"dst\\a.jpg\\inner.txt", "IN"},
                                        {"dst\\b.jpg", ""}}},
        {"folder onto a file's name", {{"dst\\sub", "FILE"}}, Call::MoveFolder, nullptr, 0, false,
         ERROR_ALREADY_EXISTS, {{"src\\sub\\c.jpg", "CC"}, {"dst\\sub", "FILE"}}},
        {"folder copied onto a file's name", {{"dst\\sub", "FILE"}}, Call::CopyFolder, nullptr, 0, false,
         ERROR_ALREADY_EXISTS, {{"src\\sub\\c.jpg", "CC"}, {"dst\\sub", "FILE"}}},
        {"folder answered No", {{"dst\\sub\\c.jpg", "OLDC"}}, Call::MoveFolder, "Confirm Folder Replace",
         forms::answer::No, false, ERROR_CANCELLED, {{"src\\sub\\c.jpg", "CC"}, {"dst\\sub\\c.jpg", "OLDC"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const qvtest::TempFolder place;
        clsFileManager files;
        int shellCalls = 0;
        files.SetShellOperation([&](SHFILEOPSTRUCTA& request) {
            ++shellCalls;
            return SHFileOperationA(&request);
        });
        for (const char* folder : {"src", "dst", "src\\sub"}) CreateDirectoryA((place / folder).c_str(), nullptr);
        place.Write("src\\a.jpg", "AAAA");
        place.Write("src\\b.jpg", "BBBBBB");
        place.Write("src\\sub\\c.jpg", "CC");
        for (const auto& [path, bytes] : row.before) {
            const std::string full = place / path;
            CreateDirectoryA(full.substr(0, full.find_last_of('\\')).c_str(), nullptr);
            place.Write(path, bytes);
        }
        formstest::Script script;
        if (row.question) {
            script->ExpectMsgBox(std::string(row.question) == "Confirm File Replace" ? fileQuestion : folderQuestion,
                                 Q, row.question, row.answer);
        }
        std::string destination = place / "dst";
        const std::string both = (place / "src\\a.jpg") + std::string(1, '\0') + (place / "src\\b.jpg");
        bool done = false;
        {
            // A shell that asks as well is answered as the user answered here.
            const ShellQuestion shell(row.answer == forms::answer::Yes ? IDYES : IDCANCEL);
            switch (row.call) {
            case Call::MoveFile: done = files.MoveFile(place / "src", "a.jpg", owner_.get(), &destination); break;
            case Call::MoveBoth: done = files.MultipleFileOp(both, owner_.get(), 0, destination); break;
            case Call::CopyBoth: done = files.MultipleFileOp(both, owner_.get(), 1, destination); break;
            case Call::MoveFolder: done = files.MoveDirectory(place / "src\\sub", owner_.get(), &destination); break;
            case Call::CopyFolder: done = files.CopyDirectory(place / "src\\sub", owner_.get(), &destination); break;
            }
        }
        EXPECT_EQ(script->Remaining(), 0u);
        EXPECT_EQ(done, row.done);
        EXPECT_EQ(files.LastOutcome().code, row.code);
        // A refusal says why; the user's own No or Cancel is nothing to report.
        EXPECT_EQ(files.LastOutcome().reason.empty(), row.code == 0 || row.code == ERROR_CANCELLED)
            << files.LastOutcome().reason;
        if (row.code == ERROR_ALREADY_EXISTS) {
            EXPECT_EQ(shellCalls, 0);
        }
        for (const auto& [path, bytes] : row.after) {
            if (*bytes) {
                EXPECT_EQ(place.Read(path), bytes) << path;
            } else {
                EXPECT_FALSE(Exists(place / path)) << path;
            }
        }
    }
}

// A folder moved onto a folder of its name is merged by a shell that can (after the same question), and a
// shell that reports the move done without doing it is caught: the result is the truth and nothing is lost.
TEST_F(FileManager, FolderMovedOntoItsNameIsDoneOrSaidNotDone) {
    CreateDirectoryA(Path("dst\\sub").c_str(), nullptr);
    temp_.Write("dst\\sub\\old.jpg", "OLD");
    formstest::Script script;
    script->ExpectMsgBox("This folder already contains a folder named 'sub'.\r\n\r\nIf the files in the existing "
                         "folder have the same name as files in the folder you are moving, they will be replaced. "
                         "Do you still want to move the folder?",
                         forms::mb::YesNoCancel | forms::mb::Exclamation, "Confirm Folder Replace", forms::answer::Yes);
    std::string destination = Path("dst");
    const ShellQuestion shell(IDYES);
    const bool done = files_.MoveDirectory(Path("src\\sub"), owner_.get(), &destination);
    EXPECT_EQ(done, !Exists(Path("src\\sub")));
    if (!done) {
        EXPECT_EQ(files_.LastOutcome().reason, "'sub' was not moved: it is still in " + Path("src") + ".");
        EXPECT_EQ(temp_.Read("src\\sub\\c.jpg"), "CC");
    } else {
        EXPECT_EQ(temp_.Read("dst\\sub\\c.jpg"), "CC");
    }
    EXPECT_EQ(temp_.Read("dst\\sub\\old.jpg"), "OLD");
}

TEST_F(FileManager, ShellFailureIsRecordedWithAReason) {
    std::string destination = Path("dst");
    EXPECT_FALSE(files_.CopyFile(Path("src"), "missing.jpg", owner_.get(), &destination));
    EXPECT_NE(files_.LastOutcome().code, 0);
    EXPECT_FALSE(files_.LastOutcome().reason.empty());
    EXPECT_EQ(FileOperationReason(0x71), "The source and destination are the same file.");
    EXPECT_EQ(FileOperationReason(0x402), "The source or destination could not be found.");
    EXPECT_FALSE(FileOperationReason(ERROR_ACCESS_DENIED).empty());
}

}  // namespace
