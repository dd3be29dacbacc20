// The wizard's download and run of an update: the save dialog, progress and rate, the checks before the
// package replaces the user's file, the readme, and the shell open.
#include "update/frmQVupd.h"

#include "lib/services/Client.h"
#include "platform/forms/MessageLoop.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/Dates.h"
#include "platform/runtime/ErrorSteps.h"
#include "platform/runtime/FileIO.h"
#include "platform/runtime/ReplacingFile.h"
#include "platform/runtime/Shell.h"
#include "platform/runtime/Strings.h"
#include "update/Config.h"
#include "update/Module1.h"
#include "update/LeftTemporaryFiles.h"
#include "update/WebAddressCheck.h"
#include "update/protocol/PackageKind.h"

#include <windows.h>

#include <cmath>
#include <optional>

namespace {

using update::inet_error::NotAPackage;

// The wizard's own temporary name for a package while it downloads.
constexpr const char* kTempPrefix = "qvd";

// The announced size of the package when it is a decimal number.
std::optional<std::uint64_t> NumericSize(const std::string& text) {
    if (text.empty() || text.size() > 18) return std::nullopt;
    std::uint64_t n = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return n;
}

// The total shown: below 1,024 bytes (or no number) it is unknown.
std::optional<std::uint64_t> KnownSize(const std::string& text) {
    const auto n = NumericSize(text);
    return n && *n >= 1024 ? n : std::nullopt;
}

bool FileExists(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadHead(const std::string& path, std::size_t size) {
    std::string bytes;
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    bytes.resize(size);
    DWORD read = 0;
    if (!ReadFile(file, bytes.data(), static_cast<DWORD>(size), &read, nullptr)) read = 0;
    bytes.resize(read);
    CloseHandle(file);
    return bytes;
}

const char* OpenErrorText(int result) {
    switch (result) {
        case 0: return "The file could not be run due to insufficient system memory or a corrupt program file";
        case 2: return "Uninstaller Not Found";
        case 3: return "Invalid Path";
        case 5: return "Sharing or protection error";
        case 6: return "Separate data segments are required for each task ";
        case 8: return "Insufficient memory to run the program";
        case 10: return "Incorrect Windows version";
        case 11: return "Invalid Program File";
        case 12: return "Program file requires a different operating System ";
        case 13: return "Program requires MS-DOS 4.0";
        case 14: return "Unknown program file type";
        case 15: return "Windows program does not support protected memory mode";
        case 16: return "Invalid use of data segments when loading a second instance of a program";
        case 19: return "Attempt to run a compressed program file";
        case 20: return "Invalid dynamic link library";
        case 21: return "Program requires Windows 32-bit extensions";
        case 31: return "No application found for this file";
        default: return "";
    }
}

// The shell's result code for a failed open, from the error the open left.
int OpenResult(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND: return 2;
        case ERROR_PATH_NOT_FOUND: return 3;
        case ERROR_ACCESS_DENIED: return 5;
        case ERROR_NOT_ENOUGH_MEMORY: return 8;
        case ERROR_BAD_FORMAT: return 11;
        case ERROR_NO_ASSOCIATION: return 31;
        case ERROR_OUTOFMEMORY: return 0;
        default: return -1;  // no row of the table: the empty text
    }
}

std::string TempFileIn(const std::string& folder, const char* prefix) {
    char name[MAX_PATH + 1] = {};
    if (GetTempFileNameA(folder.c_str(), prefix, 0, name) == 0) return {};
    return name;
}

}  // namespace

void frmQVupd::DropDownloadTemp() {
    if (downloadTemp_.empty()) return;
    DeleteFileA(downloadTemp_.c_str());
    downloadTemp_.clear();
}

void frmQVupd::StartDownload(const std::string& DownloadURL) {
    // A failed check's flag must not swallow this download's own error.
    IgnoreNextError = false;
    ResetRate();
    BytesReceived = 0;
    MoveToPage0(Frame1_4);
    Frame1_3.SetVisible(false);
    Frame1_4.SetVisible(true);
    const auto total = KnownSize(DLFileSize);
    const std::string byteLabel = total ? "0 Kb out of " + std::to_string(*total / 1024) + " Kb" : "0 Kb";
    lblBytesRec.SetCaption(byteLabel);
    if (!update::IsUsableWebAddress(DownloadURL)) {
        txtError.SetText(update::InetErrorText(update::inet_error::CannotStart) +
                         " Error number: " + std::to_string(update::inet_error::CannotStart));
        ShowError();
        return;
    }
    const std::string ext = DownloadURL.substr(DownloadURL.size() - 3);
    const std::string lower = forms::LCase(ext);
    const std::string typeName = lower == "zip"   ? "Zipped Archive"
                                 : lower == "exe" ? "Executable Setup"
                                 : lower == "msi" ? "Windows Installer"
                                                  : forms::UCase(ext);
    const auto slash = DownloadURL.rfind('/');
    const std::string name = slash == std::string::npos ? DownloadURL : DownloadURL.substr(slash + 1);

    services::client::CommonDialogs::SaveFileArgs args;
    args.fileName = name;
    args.overWritePrompt = true;
    args.filter = typeName + "|*." + ext;
    args.filterIndex = 1;
    args.dlgTitle = "Save Update to...";
    args.owner = static_cast<std::int32_t>(reinterpret_cast<INT_PTR>(hWnd()));
    args.flags = 0;
    std::string target;
    if (update::Module1::gComdlg().VBGetSaveFileName(args)) {
        target = args.fileName;
        if (forms::LCase(target).size() < ext.size() + 1 || forms::LCase(target).substr(target.size() - ext.size() - 1) != "." + lower)
            target += "." + ext;
    }
    if (target.find_first_not_of(' ') == std::string::npos) {
        Frame1_4.SetVisible(false);
        Frame1_3.SetVisible(true);
        Command3.SetEnabled(true);
        cmdBack.SetEnabled(true);
        return;
    }
    SavePath = target;
    // The download goes to a unique temporary file beside the target; the user's file is replaced only by
    // a complete, checked package.
    DropDownloadTemp();
    const auto folderEnd = target.find_last_of('\\');
    const std::string folder = folderEnd == std::string::npos ? "." : target.substr(0, folderEnd + 1);
    // What a download into this folder that died left behind goes first.
    update::RemoveLeftTemporaryFiles(folder, kTempPrefix);
    update::RemoveLeftTemporaryFiles(folder, update::clsInternet::kTempPrefix);
    downloadTemp_ = TempFileIn(folder, kTempPrefix);
    InetUpdv->BinaryFile = downloadTemp_;
    InetUpdv->SmallBinary = false;
    InetUpdv->NoWrite = false;
    InetUpdv->ExpectedSize = NumericSize(DLFileSize);
    lblSaveto.SetCaption("Saving to: " + target);
    lblBytesRec.SetCaption(byteLabel);
    if (downloadTemp_.empty()) {
        InetUpdv_Error(update::inet_error::PermissionDenied, "Permission was denied to: " + target);
        return;
    }
    InetUpdv->DownloadFile(60, DownloadURL);
    timerRate.SetEnabled(true);
}

void frmQVupd::cmdDownload_Click(int Index) {
    if (Index == 1) {
        const std::string page = cmdDownload(1).Tag();
        if (!update::IsUsableWebAddress(page)) return;
        // Shown normally: a hidden browser window shows nothing.
        forms::ShellOpen({.verb = "open", .file = page, .show = SW_SHOWNORMAL});
        return;
    }
    Command3.SetEnabled(false);
    cmdBack.SetEnabled(false);
    StartDownload(cmdDownload(0).Tag());
}

void frmQVupd::cmdCancelDL_Click() { InetUpdv->CancelConnect(); }

void frmQVupd::InetUpdv_Status(const std::string& Mssage, std::int32_t Length) {
    if (Length != 0) {
        BytesReceived = Length;
        lblTimeout.SetCaption("");
        if (Timerout.Enabled()) Timerout.SetEnabled(false);
    }
    // A fast line reports every block; redrawing labels and bar for each would cost the download more than
    // the data itself. While the transfer runs, a report of the same kind waits for the interval (the rate
    // timer shows one left waiting); a new message, and the last report, raised once the transfer has ended,
    // show at once.
    const auto now = std::chrono::steady_clock::now();
    if (Length != 0 && InetUpdv->StillBusy() && Mssage == lblDLStatus.Caption() &&
        now - progressShown_ < kProgressInterval) {
        heldProgress_.emplace(Mssage, Length);
        return;
    }
    ShowProgress(Mssage, Length);
}

void frmQVupd::ShowHeldProgress() {
    if (!heldProgress_) return;
    const auto [message, length] = std::move(*heldProgress_);
    ShowProgress(message, length);
}

void frmQVupd::ShowProgress(const std::string& Mssage, std::int32_t Length) {
    heldProgress_.reset();
    progressShown_ = std::chrono::steady_clock::now();
    lblDLStatus.SetCaption(Mssage);
    const auto total = KnownSize(DLFileSize);
    const std::int64_t totalKb = total ? static_cast<std::int64_t>(*total / 1024) : 0;
    lblBytesRec.SetCaption("Downloaded: " + std::to_string(Length / 1024) + " Kb" +
                           (total ? " out of " + std::to_string(totalKb) : std::string()));
    if (Length != 0) {
        int position = 0;
        if (totalKb > 0) {
            const double percent = static_cast<double>(Length / 1024) / static_cast<double>(totalKb) * 100.0;
            position = static_cast<int>(std::min(100.0, forms::RoundHalfEven(percent)));
        }
        ProgressBar2.SetPosition(position);
    }
}

void frmQVupd::InetUpdv_Disconnected() {
    lblDLStatus.SetCaption("Disconnected");
    // A connection closed on the way (a redirect followed) is not the download's end.
    if (!InetUpdv->StillBusy()) timerRate.SetEnabled(false);
}

void frmQVupd::InetUpdv_Downloaded() {
    if (!FileExists(downloadTemp_)) {
        // Only this text: whatever an earlier failure left in the box is not this download's.
        txtError.SetText("\r\n\r\nThe downloaded update could not be opened! Cancelled connection?\r\nError Number 678");
        ShowError();
        return;
    }
    // The content must be the kind of package its name says before it may replace anything.
    const auto kind = update::protocol::KindOfName(SavePath);
    if (!update::protocol::ContentMatchesKind(kind, ReadHead(downloadTemp_, update::protocol::kPackageHeadBytes))) {
        InetUpdv_Error(NotAPackage, update::InetErrorText(NotAPackage));
        return;
    }
    if (!MoveFileExA(downloadTemp_.c_str(), SavePath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
        InetUpdv_Error(update::inet_error::PermissionDenied, "Permission was denied to: " + SavePath);
        return;
    }
    downloadTemp_.clear();

    forms::IgnoringErrors([this] { Timerout.SetEnabled(false); });
    forms::IgnoringErrors([this] {
        MoveToPage0(Frame1_6);
        Frame1_4.SetVisible(false);
        Frame1_6.SetVisible(true);
    });
    forms::IgnoringErrors([this] {
        Command3.SetEnabled(false);
        Command1.SetEnabled(false);
        cmdBack.SetEnabled(false);
    });
    forms::IgnoringErrors([this] {
        if (chkHangup.Value() == 1) HangupIfChecked();
    });
    forms::IgnoringErrors([this] { timerRate.SetEnabled(false); });
    std::string name, folder;
    forms::IgnoringErrors([&] { name = update::Module1::gStdFunctions().GetFile(SavePath, folder); });
    forms::IgnoringErrors([&] {
        const std::string readme = !folder.empty() && folder.back() == '\\' ? folder + "Readme.txt"
                                                                            : folder + "\\Readme.txt";
        // Only a readme of ours is replaced; a user's own file of that name stays.
        if (FileExists(readme) && ReadHead(readme, 16) != "Readme file for ") return;
        const std::string text =
            "Readme file for " + name + "\r\n" +
            "This file contains an upgrade to Quillview, it does not have the full program. Please go to " +
            std::string(update::config::kSite) + " for the full program!\r\n" +
            "Update Downloaded by Quillview Update on: " + forms::ShortDateText(forms::Today()) + "\r\n" +
            std::string(update::config::kSupportEmail) + "\r\n";
        forms::ReplaceWholeFile(readme, text);
    });
    for (int i = 0; i < 6; ++i) forms::DoEvents();

    if (kind == update::protocol::PackageKind::Other) {
        // Saved with its readme, but nothing of an unknown kind is opened.
        Timer2.SetEnabled(true);
        return;
    }
    if (kind == update::protocol::PackageKind::Msi) {
        forms::IgnoringErrors([&] {
            if (FileExists(GetSystemPath() + "\\msi.dll")) return;
            if (forms::MsgBox("The update is a Windows Installer package - you don't appear to have Windows Installer "
                              "support on your system, would you like to visit the Quillview support website to "
                              "download the necessary files now?",
                              forms::mb::YesNo | forms::mb::Exclamation,
                              "Windows Installer support not installed") != forms::answer::Yes)
                return;
            forms::ShellOpen({.verb = "open",
                              .file = std::string(update::config::kSite) +
                                      std::string(update::config::kWindowsInstallerPage),
                              .show = SW_SHOWNORMAL});
            forms::DoEvents();
            forms::DoEvents();
            if (forms::MsgBox("Would you like to open the folder that contains the update package, '" + name +
                                  "', with Windows Explorer so you can find it easily when you've downloaded Windows "
                                  "Installer support?",
                              forms::mb::YesNo | forms::mb::Question, "Open the Folder?") == forms::answer::Yes)
                forms::ShellOpen({.verb = "open", .file = folder, .show = SW_SHOWNORMAL});
        });
    }
    SetLastError(0);
    if (forms::ShellOpen({.verb = "open", .file = SavePath, .show = SW_SHOWNORMAL})) {
        // The program ends a few seconds after the package was started.
        Timer2.SetEnabled(true);
        return;
    }
    txtError.SetText(std::string(OpenErrorText(OpenResult(GetLastError()))) + ". For support email " +
                     std::string(update::config::kSupportEmail));
    ShowError();
}

void frmQVupd::InetUpdv_Error(std::int32_t ErrorNumber, const std::string& ErrInf) {
    if (IgnoreNextError) {
        IgnoreNextError = false;
        return;
    }
    const std::string n = std::to_string(ErrorNumber);
    bool shown = true;
    forms::IgnoringErrors([&] {
        switch (ErrorNumber) {
            case 70:
                forms::MsgBox("An error occured: Number: " + n + ", Description: " + ErrInf,
                              forms::mb::OkOnly | forms::mb::Critical, update::Module1::kTitle);
                txtError.SetText(ErrInf + " No. " + n);
                break;
            case 889:
                txtError.SetText(ErrInf + " No. " + n);
                break;
            case 758:
                forms::MsgBox(ErrInf, forms::mb::OkOnly | forms::mb::Critical, "Download Error");
                txtError.SetText(ErrInf + " No. " + n +
                                 "\r\nThis could be because the server may no longer be in use or we may be testing "
                                 "the update system\r\nPlease choose another server");
                break;
            case 12017:
                txtError.SetText(ErrInf + " No. " + n + "\r\nUser cancelled the download");
                break;
            case 12029:
                txtError.SetText("QV Update cannot connect");
                break;
            case 35761:
                txtError.SetText("QV Update Timeout error\r\n\r\nTry another server");
                break;
            case 0:
                shown = false;
                break;
            default:
                txtError.SetText(ErrInf + " Error number: " + n);
                break;
        }
        if (shown) ShowError();
    });
    if (!shown) return;
    forms::IgnoringErrors([this] {
        InetUpdv->CancelConnect(true);
        InetUpdv->CancelConnect(true);
    });
    forms::IgnoringErrors([this] { timerRate.SetEnabled(false); });
    // Only our own temporary file goes; the file at SavePath is the user's.
    DropDownloadTemp();
}

void frmQVupd::HangupIfChecked() {
    if (chkHangup.Value() == 1) InetUpdv->hangup();
}
