#pragma once
// Copies, moves, renames and deletes files and folders for the main window. Every operation that goes ahead
// is one shell file operation owned by the calling window, so the shell's progress window, confirmations,
// conflict handling and recycle bin apply. The class reports no failure itself: it records the outcome of
// each call, and the caller reports a failure once from it. Its one question is the replace question before a
// move onto an existing name, which not every shell asks.

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace forms {
class Form;
}

// The name a rename gives: the answer as typed when it already ends in the file's extension (the text after
// the last dot, case ignored), else the answer with "." and the extension in lower case added. A file without
// an extension gets the answer alone.
std::string RenamedFileName(const std::string& fileName, const std::string& answer);

class clsFileManager {
public:
    // Error raised when neither a destination nor a calling window is given.
    static constexpr std::int32_t kNoDestinationError = static_cast<std::int32_t>(0x80040000u) + 5458;

    // What the last operation came to. code 0 is success; otherwise the shell's return value or the
    // system error of a refusal made here. reason is empty when there is nothing to report (success, or the
    // user cancelled a chooser, the rename box or the shell's question).
    struct Outcome {
        std::int32_t code = 0;
        bool aborted = false;
        std::string reason;
        bool Succeeded() const noexcept { return code == 0 && !aborted; }
    };

    // The shell call and the destination chooser, replaceable for tests.
    using ShellOperation = std::function<int(SHFILEOPSTRUCTA&)>;
    using FolderChooser = std::function<std::optional<std::string>(const std::string& title, forms::Form& owner)>;

    clsFileManager();

    // True suppresses the shell's progress window.
    bool DisplayPBar() const noexcept { return displayPBar_; }
    void SetDisplayPBar(bool value) noexcept { displayPBar_ = value; }
    bool YesToAll() const noexcept { return yesToAll_; }
    void SetYesToAll(bool value) noexcept { yesToAll_ = value; }
    bool RenameFiles() const noexcept { return renameFiles_; }
    void SetRenameFiles(bool value) noexcept { renameFiles_ = value; }

    // Destination and pDest are by-reference outputs: null when the caller passes none. With an empty
    // Destination the user chooses the folder; the choice is written back into Destination.
    bool MoveDirectory(const std::string& DirToMove, forms::Form* Callingfrm, std::string* Destination = nullptr,
                       std::string* pDest = nullptr);
    bool CopyDirectory(const std::string& DirToCopy, forms::Form* Callingfrm, std::string* Destination = nullptr,
                       std::string* pDest = nullptr);
    bool DeleteDirectory(const std::string& Path, forms::Form* Callingfrm, bool Recyclebin);
    // Asks for the new name; Pnewname receives the answer as typed (trimmed).
    bool Rename(const std::string& DirPath, const std::string& FileName, forms::Form* Callingfrm,
                std::string* Pnewname = nullptr);
    bool MoveFile(const std::string& SourcePath, const std::string& SourceFilename, forms::Form* Callingfrm,
                  std::string* Destination = nullptr, std::string* pDest = nullptr);
    // FQFilenames: full paths separated by single NULs. Op 1 copies, any other value moves.
    bool MultipleFileOp(const std::string& FQFilenames, forms::Form* Callingfrm, std::int32_t operation,
                        const std::string& Destination);
    bool CopyFile(const std::string& SourcePath, const std::string& SourceFilename, forms::Form* Callingfrm,
                  std::string* Destination = nullptr, std::string* pDest = nullptr);
    // FullPath may be several full paths separated by single NULs: one shell call deletes them all.
    bool DeleteFile(const std::string& FullPath, forms::Form* Callingfrm, bool Recyclebin);

    const Outcome& LastOutcome() const noexcept { return outcome_; }

    void SetShellOperation(ShellOperation operation) { shell_ = std::move(operation); }
    void SetFolderChooser(FolderChooser chooser) { chooser_ = std::move(chooser); }

private:
    enum class Op : std::uint16_t { Copy = 0, Move = 1, Rename = 2, Delete = 3 };
    // An item of a copy or move and the full path it takes at the destination.
    struct Placement {
        std::string source;
        std::string target;
    };

    bool MoveOrCopyDirectory(Op op, const std::string& dir, forms::Form* callingfrm, std::string* destination,
                             std::string* pDest);
    bool MoveOrCopyFile(Op op, const std::string& sourcePath, const std::string& sourceFilename,
                        forms::Form* callingfrm, std::string* destination, std::string* pDest);
    // Asks for a folder over the calling window; nullopt (recorded as a cancel) when the user gives none.
    std::optional<std::string> ChooseFolder(const std::string& title, forms::Form* callingfrm);
    bool Run(Op op, const std::string& source, const std::string& destination, forms::Form* callingfrm,
             bool recycle, FILEOP_FLAGS extra = 0);
    bool Refuse(std::int32_t code, std::string reason);
    // Before a copy or move: an existing target of the other kind (a file where a folder goes, or the other
    // way round) refuses the operation, as no shell can replace one by the other; for a move, an existing
    // target of the same kind is asked about (No leaves that item out, Cancel ends the operation). The items
    // to go ahead with; none (with the outcome recorded) when nothing is to be done.
    std::vector<Placement> ClearTargets(Op op, std::vector<Placement> items);
    // After a move the shell called done: an item still at its source was not moved.
    bool CheckMoved(const std::vector<Placement>& items);
    // Before a copy: the items whose target is not there yet (a target there may be kept or renamed around).
    static std::vector<Placement> NotPlacedYet(const std::vector<Placement>& items);
    // After a copy the shell called done: an item of NotPlacedYet still missing at its target was not copied.
    bool CheckCopied(const std::vector<Placement>& fresh);
    // Run, then the check of its kind: the shell may call done what it did not do.
    bool RunAndCheck(Op op, const std::vector<Placement>& items, const std::string& source,
                     const std::string& destination, forms::Form* callingfrm, FILEOP_FLAGS extra = 0);

    bool displayPBar_ = false;
    bool yesToAll_ = false;
    bool renameFiles_ = false;
    Outcome outcome_;
    ShellOperation shell_;
    FolderChooser chooser_;
};

// The readable text of a shell file operation's return value: the documented meanings of its own old codes,
// else the system's text.
std::string FileOperationReason(std::int32_t code);
