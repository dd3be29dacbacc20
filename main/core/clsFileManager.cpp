#include "main/core/clsFileManager.h"

#include "lib/services/Client.h"
#include "main/core/Module1.h"
#include "platform/forms/Form.h"
#include "platform/runtime/MsgBox.h"
#include "platform/forms/InputBox.h"
#include "platform/forms/Screen.h"
#include "platform/runtime/Paths.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Strings.h"

#include <array>
#include <utility>
#include <vector>

namespace {

// Old return values of the shell's file operation, older than the Win32 error codes they overlap.
constexpr std::int32_t kSameFile = 0x71;
constexpr std::int32_t kOperationCancelled = 0x75;
constexpr std::int32_t kDestinationSubtree = 0x76;


std::string SystemText(std::int32_t code) {
    char buffer[512] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                        static_cast<DWORD>(code), 0, buffer, sizeof buffer, nullptr);
    std::string text(buffer, length);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}

// The screen's pointer is the hourglass while the shell works.
class HourglassScope {
public:
    HourglassScope() { forms::Screen().SetMousePointer(forms::pointer::Hourglass); }
    ~HourglassScope() { forms::Screen().SetMousePointer(forms::pointer::Default); }
    HourglassScope(const HourglassScope&) = delete;
    HourglassScope& operator=(const HourglassScope&) = delete;
};

// "C:\photos\" and "c:\Photos" name one folder: full path, lower case, no trailing "\" but at a root.
std::string Canonical(const std::string& path) {
    char full[MAX_PATH * 4] = {};
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    std::string text = (length > 0 && length < sizeof full) ? std::string(full, length) : path;
    while (text.size() > 3 && text.back() == '\\') text.pop_back();
    return forms::LCase(text);
}

bool IsSameOrBelow(const std::string& folder, const std::string& candidate) {
    const std::string base = Canonical(folder);
    const std::string other = Canonical(candidate);
    if (other == base) return true;
    const std::string prefix = base.back() == '\\' ? base : base + "\\";
    return other.compare(0, prefix.size(), prefix) == 0;
}

std::string ParentOf(const std::string& path) {
    const std::string full = Canonical(path);
    const auto slash = full.find_last_of('\\');
    if (slash == std::string::npos) return {};
    return slash < 3 ? full.substr(0, slash + 1) : full.substr(0, slash);
}

std::vector<std::string> SplitOnNul(const std::string& list) {
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    while (start < list.size()) {
        const auto end = list.find('\0', start);
        const auto stop = end == std::string::npos ? list.size() : end;
        if (stop > start) parts.push_back(list.substr(start, stop - start));
        start = stop + 1;
    }
    return parts;
}

// "\" would make a rename a move and ":" a hidden stream; the rest no file system takes.
bool IsBadFileName(const std::string& name) {
    return name == "." || name == ".." || name.find_first_of("\\/:*?\"<>|") != std::string::npos;
}

// The path of a name inside a folder given with or without its trailing "\".
std::string Inside(const std::string& folder, const std::string& name) {
    return !folder.empty() && folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

enum class Kind { None, File, Folder };

Kind KindOf(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return Kind::None;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? Kind::Folder : Kind::File;
}

// The shell's own replace questions, asked here where the shell may not ask.
int AskReplace(Kind kind, const std::string& name) {
    if (kind == Kind::Folder) {
        return forms::MsgBox("This folder already contains a folder named '" + name +
                                 "'.\r\n\r\nIf the files in the existing folder have the same name as files in the "
                                 "folder you are moving, they will be replaced. Do you still want to move the folder?",
                             forms::mb::YesNoCancel | forms::mb::Exclamation, "Confirm Folder Replace");
    }
    return forms::MsgBox("This folder already contains a file named '" + name +
                             "'.\r\n\r\nWould you like to replace the existing file with this one?",
                         forms::mb::YesNoCancel | forms::mb::Exclamation, "Confirm File Replace");
}

std::string Extension(const std::string& fileName) {
    const auto dot = fileName.find_last_of('.');
    return dot == std::string::npos ? std::string() : fileName.substr(dot + 1);
}

}  // namespace

std::string FileOperationReason(std::int32_t code) {
    struct Meaning {
        std::int32_t code;
        const char* text;
    };
    static constexpr std::array<Meaning, 23> kMeanings{{
        {0x71, "The source and destination are the same file."},
        {0x72, "Several sources were given but only one destination file."},
        {0x73, "A rename cannot move the item to another folder."},
        {0x74, "A root folder cannot be moved or renamed."},
        {0x75, "The operation was cancelled."},
        {0x76, "The destination folder lies inside the source folder."},
        {0x78, "Access to the source was denied."},
        {0x79, "The source or destination path is too long."},
        {0x7A, "The operation has more than one destination."},
        {0x7C, "The source or destination path is not valid."},
        {0x7D, "The source and destination have the same parent folder."},
        {0x7E, "The destination is an existing file."},
        {0x80, "The destination is an existing folder."},
        {0x81, "The file name is too long."},
        {0x82, "The destination is a read-only CD."},
        {0x83, "The destination is a read-only DVD."},
        {0x84, "The destination is a writable CD that is not formatted."},
        {0x85, "The file is too large for the destination."},
        {0x86, "The source is a read-only CD."},
        {0x87, "The source is a read-only DVD."},
        {0x88, "The source is a writable CD that is not formatted."},
        {0x402, "The source or destination could not be found."},
        // 0xB7 is left to the system's text: shells return ERROR_ALREADY_EXISTS (183) far more often than the
        // old path-length code of that number.
        {0x10000, "An error occurred at the destination."},
    }};
    for (const Meaning& meaning : kMeanings) {
        if (meaning.code == code) return meaning.text;
    }
    if (code == 0x10074) return "The destination is a root folder and cannot be renamed.";
    const std::string text = SystemText(code);
    return text.empty() ? "The file operation failed (error " + std::to_string(code) + ")." : text;
}

std::string RenamedFileName(const std::string& fileName, const std::string& answer) {
    const std::string extension = Extension(fileName);
    if (extension.empty()) return answer;
    const std::string suffix = "." + extension;
    if (answer.size() >= suffix.size() &&
        forms::TextEquals(std::string_view(answer).substr(answer.size() - suffix.size()), suffix)) {
        return answer;
    }
    return answer + "." + forms::LCase(extension);
}

clsFileManager::clsFileManager()
    : shell_([](SHFILEOPSTRUCTA& request) { return SHFileOperationA(&request); }),
      chooser_([](const std::string& title, forms::Form& owner) {
          return Module1::gShell().Folders(title, owner.GetDispatch().Get());
      }) {}

bool clsFileManager::Refuse(std::int32_t code, std::string reason) {
    outcome_ = Outcome{code, false, std::move(reason)};
    return false;
}

std::vector<clsFileManager::Placement> clsFileManager::ClearTargets(Op op, std::vector<Placement> items) {
    // The shell gives a clashing item a new name of its own.
    if (renameFiles_) return items;
    std::vector<Placement> kept;
    for (Placement& item : items) {
        const Kind source = KindOf(item.source);
        const Kind target = KindOf(item.target);
        if (source == Kind::None || target == Kind::None) {
            kept.push_back(std::move(item));
            continue;
        }
        const std::string name = forms::FileNameOf(item.target);
        if (source != target) {
            Refuse(ERROR_ALREADY_EXISTS, std::string("There is already a ") +
                                             (target == Kind::Folder ? "folder" : "file") + " named '" + name +
                                             "' in " + forms::FolderOf(item.target) + ".");
            return {};
        }
        // A shell may move onto an existing name without asking, and the item there is lost.
        if (op == Op::Move && !yesToAll_) {
            const int answer = AskReplace(source, name);
            if (answer == forms::answer::No) continue;
            if (answer != forms::answer::Yes) {
                outcome_ = Outcome{ERROR_CANCELLED, true, {}};
                return {};
            }
        }
        kept.push_back(std::move(item));
    }
    if (kept.empty()) outcome_ = Outcome{ERROR_CANCELLED, true, {}};
    return kept;
}

bool clsFileManager::CheckMoved(const std::vector<Placement>& items) {
    for (const Placement& item : items) {
        if (KindOf(item.source) != Kind::None) {
            return Refuse(ERROR_GEN_FAILURE, "'" + forms::FileNameOf(item.source) + "' was not moved: it is still in " +
                                                 forms::FolderOf(item.source) + ".");
        }
    }
    return true;
}

std::vector<clsFileManager::Placement> clsFileManager::NotPlacedYet(const std::vector<Placement>& items) {
    std::vector<Placement> fresh;
    for (const Placement& item : items) {
        if (KindOf(item.target) == Kind::None) fresh.push_back(item);
    }
    return fresh;
}

bool clsFileManager::CheckCopied(const std::vector<Placement>& fresh) {
    for (const Placement& item : fresh) {
        if (KindOf(item.target) == Kind::None) {
            return Refuse(ERROR_GEN_FAILURE, "'" + forms::FileNameOf(item.source) + "' was not copied: it is not in " +
                                                 forms::FolderOf(item.target) + ".");
        }
    }
    return true;
}

bool clsFileManager::RunAndCheck(Op op, const std::vector<Placement>& items, const std::string& source,
                                 const std::string& destination, forms::Form* callingfrm, FILEOP_FLAGS extra) {
    const std::vector<Placement> fresh = op == Op::Copy ? NotPlacedYet(items) : std::vector<Placement>{};
    if (!Run(op, source, destination, callingfrm, false, extra)) return false;
    return op == Op::Move ? CheckMoved(items) : CheckCopied(fresh);
}

std::optional<std::string> clsFileManager::ChooseFolder(const std::string& title, forms::Form* callingfrm) {
    if (!callingfrm) throw forms::RuntimeError(forms::err::ObjectRequired);
    std::optional<std::string> folder = chooser_(title, *callingfrm);
    if (!folder || folder->empty()) {
        Refuse(ERROR_CANCELLED, {});
        return std::nullopt;
    }
    return folder;
}

bool clsFileManager::Run(Op op, const std::string& source, const std::string& destination,
                         forms::Form* callingfrm, bool recycle, FILEOP_FLAGS extra) {
    if (source.empty()) return Refuse(ERROR_CANCELLED, {});
    if (!callingfrm) throw forms::RuntimeError(forms::err::ObjectRequired);
    const HourglassScope hourglass;

    FILEOP_FLAGS flags = 0;
    if (displayPBar_) flags |= FOF_SILENT;
    if (yesToAll_) flags |= FOF_NOCONFIRMATION;
    if (renameFiles_) flags |= FOF_RENAMEONCOLLISION;
    // Into the recycle bin the shell always confirms: the option flags do not apply there.
    if (recycle) flags = FOF_ALLOWUNDO;
    // The caller reports errors from the outcome; the shell's own error boxes would report them twice.
    flags |= FOF_NOERRORUI | extra;

    static constexpr std::array<UINT, 4> kFunctions{FO_COPY, FO_MOVE, FO_RENAME, FO_DELETE};
    std::string from = source;
    from.append(2, '\0');
    std::string to = destination;
    to.append(2, '\0');
    SHFILEOPSTRUCTA request{};
    request.hwnd = callingfrm->hWnd();
    request.wFunc = kFunctions[static_cast<std::size_t>(op)];
    request.pFrom = from.c_str();
    request.pTo = to.c_str();
    request.fFlags = flags;
    const int code = shell_(request);

    outcome_ = Outcome{code, request.fAnyOperationsAborted != FALSE, {}};
    const bool cancelled = outcome_.aborted && (code == 0 || code == ERROR_CANCELLED || code == kOperationCancelled);
    if (!outcome_.Succeeded() && !cancelled) {
        outcome_.reason = code != 0 ? FileOperationReason(code) : "The operation was not completed.";
    }
    return outcome_.Succeeded();
}

bool clsFileManager::MoveOrCopyDirectory(Op op, const std::string& dir, forms::Form* callingfrm,
                                         std::string* destination, std::string* pDest) {
    std::string chosen = destination ? *destination : std::string();
    if (chosen.empty() && !callingfrm) {
        throw forms::RuntimeError(kNoDestinationError,
                                  "When the destination augument is not specified, the calling form augument "
                                  "must be specified.");
    }
    // "C:\photos\" is prompted as "photos\".
    const std::ptrdiff_t searchFrom =
        !dir.empty() && dir.back() == '\\' ? static_cast<std::ptrdiff_t>(dir.size()) - 1 : 0;
    const std::size_t slash = dir.empty() ? 0 : forms::InStrRev(dir, "\\", searchFrom);
    const std::string name = dir.substr(slash);
    if (chosen.empty()) {
        const std::string verb = op == Op::Move ? "move" : "copy";
        const auto folder =
            ChooseFolder("Please choose a folder you would like to " + verb + " '" + name + "' to.", callingfrm);
        if (!folder) return false;
        chosen = *folder;
        if (destination) *destination = chosen;
    }
    if (!dir.empty() && IsSameOrBelow(dir, chosen)) {
        return Refuse(kDestinationSubtree, FileOperationReason(kDestinationSubtree));
    }
    std::string folder = dir;
    while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    const std::vector<Placement> items =
        ClearTargets(op, {{folder, Inside(chosen, forms::FileNameOf(folder))}});
    if (items.empty()) return false;
    const bool done = RunAndCheck(op, items, dir, chosen, callingfrm);
    if (pDest) *pDest = chosen;
    return done;
}

bool clsFileManager::MoveDirectory(const std::string& DirToMove, forms::Form* Callingfrm, std::string* Destination,
                                   std::string* pDest) {
    return MoveOrCopyDirectory(Op::Move, DirToMove, Callingfrm, Destination, pDest);
}

bool clsFileManager::CopyDirectory(const std::string& DirToCopy, forms::Form* Callingfrm, std::string* Destination,
                                   std::string* pDest) {
    return MoveOrCopyDirectory(Op::Copy, DirToCopy, Callingfrm, Destination, pDest);
}

bool clsFileManager::DeleteDirectory(const std::string& Path, forms::Form* Callingfrm, bool Recyclebin) {
    return Run(Op::Delete, Path, Path, Callingfrm, Recyclebin);
}

bool clsFileManager::Rename(const std::string& DirPath, const std::string& FileName, forms::Form* Callingfrm,
                            std::string* Pnewname) {
    // A drive root ("C:\") already ends with the separator.
    const std::string withSeparator = DirPath + "\\";
    const std::string folder = withSeparator.size() >= 4 && withSeparator[3] == '\\' ? DirPath : withSeparator;
    const std::string answer =
        forms::Trim(forms::InputBox("Please type a new name for " + FileName + " below.", "Rename File", FileName));
    if (answer.empty()) return Refuse(ERROR_CANCELLED, {});
    if (IsBadFileName(answer)) {
        return Refuse(ERROR_INVALID_NAME, "A file name cannot be \".\" or \"..\" or hold any of the characters "
                                          "\\ / : * ? \" < > |.");
    }
    const std::string newName = RenamedFileName(FileName, answer);
    // A change of letter case alone renames the file onto itself.
    if (!forms::TextEquals(newName, FileName) &&
        GetFileAttributesA((folder + newName).c_str()) != INVALID_FILE_ATTRIBUTES) {
        return Refuse(ERROR_ALREADY_EXISTS, "There is already a file named '" + newName + "' in this folder.");
    }
    const bool done = Run(Op::Rename, folder + FileName, folder + newName, Callingfrm, false);
    // The system's own words for a refused change of letter case speak of a clash the user cannot see.
    if (!done && !outcome_.reason.empty() && newName != FileName && forms::TextEquals(newName, FileName)) {
        outcome_.reason = "Only the letter case of the name would change, and the system did not rename the file. It "
                          "keeps the name " + FileName + ".";
    }
    if (Pnewname) *Pnewname = answer;
    return done;
}

bool clsFileManager::MoveOrCopyFile(Op op, const std::string& sourcePath, const std::string& sourceFilename,
                                    forms::Form* callingfrm, std::string* destination, std::string* pDest) {
    std::string chosen = destination ? *destination : std::string();
    if (chosen.empty() && !callingfrm) {
        throw forms::RuntimeError(kNoDestinationError,
                                  op == Op::Move ? "When the destination augument is not specified, the calling "
                                                   "form augument must be specified."
                                                 : "When the destination auguement is not specified, the calling "
                                                   "form auguement must be specified.");
    }
    // A shorter path would make the file's own name a path relative to the current folder.
    if (op == Op::Move && sourcePath.size() < 3) return Refuse(ERROR_BAD_PATHNAME, SystemText(ERROR_BAD_PATHNAME));
    const std::string sourceFolder = sourcePath.size() > 3 ? sourcePath + "\\" : sourcePath;
    if (chosen.empty()) {
        const std::string verb = op == Op::Move ? "move" : "copy";
        const auto folder =
            ChooseFolder("Please choose a folder you would like to " + verb + " " + sourceFilename + " to.",
                         callingfrm);
        if (!folder) return false;
        chosen = *folder;
        if (destination) *destination = chosen;
    }
    const std::string destinationFolder = chosen.size() == 3 ? chosen : chosen + "\\";
    if (Canonical(sourceFolder) == Canonical(destinationFolder)) {
        return Refuse(kSameFile, FileOperationReason(kSameFile));
    }
    const std::string target = destinationFolder + sourceFilename;
    const std::vector<Placement> items = ClearTargets(op, {{sourceFolder + sourceFilename, target}});
    if (items.empty()) return false;
    const bool done = RunAndCheck(op, items, sourceFolder + sourceFilename, target, callingfrm);
    if (pDest) *pDest = target;
    return done;
}

bool clsFileManager::MoveFile(const std::string& SourcePath, const std::string& SourceFilename,
                              forms::Form* Callingfrm, std::string* Destination, std::string* pDest) {
    return MoveOrCopyFile(Op::Move, SourcePath, SourceFilename, Callingfrm, Destination, pDest);
}

bool clsFileManager::CopyFile(const std::string& SourcePath, const std::string& SourceFilename,
                              forms::Form* Callingfrm, std::string* Destination, std::string* pDest) {
    return MoveOrCopyFile(Op::Copy, SourcePath, SourceFilename, Callingfrm, Destination, pDest);
}

bool clsFileManager::MultipleFileOp(const std::string& FQFilenames, forms::Form* Callingfrm, std::int32_t operation,
                                    const std::string& Destination) {
    const Op op = operation == 1 ? Op::Copy : Op::Move;
    const std::string target = Canonical(Destination);
    const std::vector<std::string> files = SplitOnNul(FQFilenames);
    for (const std::string& file : files) {
        if (!Destination.empty() && ParentOf(file) == target) {
            return Refuse(kSameFile, FileOperationReason(kSameFile));
        }
    }
    if (files.empty() || Destination.empty()) return Run(op, FQFilenames, Destination, Callingfrm, false);
    std::vector<Placement> items;
    for (const std::string& file : files) items.push_back({file, Inside(Destination, forms::FileNameOf(file))});
    items = ClearTargets(op, std::move(items));
    if (items.empty()) return false;
    // Several files get one destination each: not every shell moves a list of files into one folder.
    std::string sources;
    std::string destinations;
    for (const Placement& item : items) {
        if (!sources.empty()) {
            sources.push_back('\0');
            destinations.push_back('\0');
        }
        sources += item.source;
        destinations += item.target;
    }
    const bool several = items.size() > 1;
    return RunAndCheck(op, items, sources, several ? destinations : Destination, Callingfrm,
                       several ? FOF_MULTIDESTFILES : 0);
}

bool clsFileManager::DeleteFile(const std::string& FullPath, forms::Form* Callingfrm, bool Recyclebin) {
    return Run(Op::Delete, FullPath, FullPath, Callingfrm, Recyclebin);
}
