#include "update/clsInternet.h"

#include "platform/runtime/OwnedHandles.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Strings.h"
#include "platform/forms/MessageLoop.h"
#include "update/protocol/FormBody.h"
#include "update/protocol/VersionScript.h"
#include "update/protocol/WebAddress.h"

#include <windows.h>
#include <ras.h>
#include <raserror.h>

#include <vector>

namespace update {

namespace {

constexpr std::uint64_t kShortDownload = 3072;

bool IsSuccess(int status) { return status >= 200 && status <= 299; }
// A reply whose status line gave no code (the control reports 0) is no answer at all.
bool IsReadable(int status) { return status >= 100 && status <= 999; }

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return ".";
    if (slash == 0 || (slash == 2 && path[1] == ':')) return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

// A step the system refuses with "access denied" is tried twice more before the refusal stands; the last
// error then tells why it failed.
template <class Step>
bool TriedThrice(Step step) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (step()) return true;
        if (GetLastError() != ERROR_ACCESS_DENIED) return false;
    }
    return false;
}

}  // namespace

std::string InetErrorText(std::int32_t number) {
    switch (number) {
        case inet_error::NotOnServer: return "The file could not be located on the server, or the server is down.";
        case inet_error::Incomplete:
            return "The download was not complete: the connection closed before the whole file arrived.";
        case inet_error::WrongSize: return "The downloaded file is not the size the update server announced.";
        case inet_error::NotAPackage: return "The downloaded file is not an update package of the kind its name says.";
        case inet_error::UnreadableAnswer: return "The server's reply could not be read.";
        case inet_error::Cancelled: return "The connection was cancelled by the user";
        case inet_error::CannotStart: return "Error initialising connection";
        default: return inet::ErrorText(static_cast<std::uint32_t>(number));
    }
}

clsInternet::clsInternet() { InitInet(); }

clsInternet::~clsInternet() {
    if (control_) control_->Cancel();
    DropTemp();
}

void clsInternet::InitInet() {
    if (control_) control_->Cancel();
    DropTemp();
    mode_ = Mode::Idle;
    control_ = std::make_unique<inet::Inet>();
    control_->StateChanged = [this](int state) { OnState(state); };
    control_->Response = [this](const inet::Result& head) { OnResponse(head); };
    control_->Data = [this](std::string_view block, std::uint64_t total) { OnData(block, total); };
    control_->Done = [this](const inet::Result& result) { OnDone(result); };
}

void clsInternet::RaiseStatus(const std::string& text, std::int32_t length) {
    if (Status) Status(text, length);
}

void clsInternet::DropTemp() {
    file_.reset();
    if (tempPath_.empty()) return;
    SetFileAttributesA(tempPath_.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(tempPath_.c_str());
    tempPath_.clear();
}

// The temporary file has a name of this program's own (kTempPrefix), so that one left by a run that died can
// be told from anyone else's file and removed; it is held open without sharing while it is written, so no
// other copy of the program takes it for such a leftover.
bool clsInternet::OpenTemp() {
    char name[MAX_PATH + 1] = {};
    if (GetTempFileNameA(FolderOf(BinaryFile).c_str(), kTempPrefix, 0, name) == 0) return false;
    tempPath_ = name;
    written_ = 0;
    return ReopenTemp();
}

bool clsInternet::ReopenTemp() {
    return TriedThrice([this] {
        file_.reset(forms::NullIfInvalid(
            CreateFileA(tempPath_.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
        if (!file_) return false;
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(written_);
        return SetFilePointerEx(file_.get(), at, nullptr, FILE_BEGIN) && SetEndOfFile(file_.get());
    });
}

bool clsInternet::WriteBlock(std::string_view block) {
    return TriedThrice([&] {
        if (!file_ && !ReopenTemp()) return false;
        DWORD done = 0;
        const bool ok = WriteFile(file_.get(), block.data(), static_cast<DWORD>(block.size()), &done, nullptr);
        if (ok && done == block.size()) {
            written_ += block.size();
            return true;
        }
        // A refused write is tried again on the file opened anew, from where the last whole block ended.
        const DWORD error = ok ? ERROR_DISK_FULL : GetLastError();
        file_.reset();
        SetLastError(error);
        return false;
    });
}

bool clsInternet::CommitTemp() {
    file_.reset();
    const bool moved = TriedThrice([this] {
        // Windows refuses to replace a read-only file, which not every implementation does: say so ourselves.
        const DWORD attributes = GetFileAttributesA(BinaryFile.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
            SetLastError(ERROR_ACCESS_DENIED);
            return false;
        }
        return MoveFileExA(tempPath_.c_str(), BinaryFile.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
    });
    if (moved) tempPath_.clear();
    return moved;
}

void clsInternet::Fail(std::int32_t number, const std::string& text) {
    const Mode mode = mode_;
    control_->Cancel();
    DropTemp();
    mode_ = Mode::Idle;
    if (mode == Mode::Text) {
        textFailed_ = true;
        return;
    }
    if (Error) Error(number, text);
}

void clsInternet::OnState(int state) {
    if (mode_ == Mode::Text || mode_ == Mode::Probe) return;
    static const char* const kTexts[] = {nullptr,      "Finding Website", "Website Found. Waiting for reply...",
                                         "Connecting...", "Connected",    "Sending Data...",
                                         "Request Sent..."};
    if (state >= 1 && state <= 6) {
        RaiseStatus(kTexts[state], 0);
    } else if (state == 9) {
        RaiseStatus("Disconnecting...", 0);
    } else if (state == 10) {
        // The connection closed; the transfer's end is Downloaded (or Error), which may still follow.
        RaiseStatus("Disconnected", 0);
        if (Disconnected) Disconnected();
    }
}

void clsInternet::OnResponse(const inet::Result& head) {
    const bool tooLong = head.contentLength && *head.contentLength > kMaxTextBytes;
    if (mode_ != Mode::Idle && mode_ != Mode::Probe && !IsReadable(head.status)) {
        Fail(inet_error::UnreadableAnswer, InetErrorText(inet_error::UnreadableAnswer));
        return;
    }
    switch (mode_) {
        case Mode::Text:
            if (!IsSuccess(head.status) || tooLong) Fail(0, {});
            break;
        case Mode::Download:
            if (!IsSuccess(head.status)) {
                Fail(inet_error::NotOnServer, InetErrorText(inet_error::NotOnServer));
            } else if (ExpectedSize && head.contentLength && *head.contentLength != *ExpectedSize) {
                Fail(inet_error::WrongSize, InetErrorText(inet_error::WrongSize));
            } else if (SmallBinary && tooLong) {
                Fail(inet_error::NotOnServer, InetErrorText(inet_error::NotOnServer));
            } else if (!ExpectedSize && head.contentLength && *head.contentLength > MaxDownloadBytes) {
                Fail(inet_error::WrongSize, InetErrorText(inet_error::WrongSize));
            }
            break;
        case Mode::Post:
            if (!IsSuccess(head.status)) Fail(head.status, head.reason);
            break;
        default:
            break;
    }
}

void clsInternet::OnData(std::string_view block, std::uint64_t total) {
    switch (mode_) {
        case Mode::Text:
            if (total > kMaxTextBytes) {
                Fail(0, {});
                return;
            }
            text_.append(block);
            return;
        case Mode::Download: {
            if (ExpectedSize && total > *ExpectedSize) {
                Fail(inet_error::WrongSize, InetErrorText(inet_error::WrongSize));
                return;
            }
            if (SmallBinary && total > kMaxTextBytes) {
                Fail(inet_error::NotOnServer, InetErrorText(inet_error::NotOnServer));
                return;
            }
            if (!ExpectedSize && total > MaxDownloadBytes) {
                Fail(inet_error::WrongSize, InetErrorText(inet_error::WrongSize));
                return;
            }
            if (!WriteBlock(block)) {
                const DWORD error = GetLastError();
                if (error == ERROR_ACCESS_DENIED) {
                    Fail(inet_error::PermissionDenied, "Permission was denied to: " + BinaryFile);
                } else {
                    Fail(forms::err::DiskFull, forms::StandardDescription(forms::err::DiskFull));
                }
                return;
            }
            RaiseStatus("Downloading...", static_cast<std::int32_t>(std::min<std::uint64_t>(total, INT32_MAX)));
            return;
        }
        default:
            return;
    }
}

void clsInternet::OnDone(const inet::Result& result) {
    const Mode mode = mode_;
    if (result.error != 0) {
        const auto number = static_cast<std::int32_t>(result.error);
        Fail(number, InetErrorText(number));
        return;
    }
    if (mode == Mode::Text) {
        mode_ = Mode::Idle;
        if (!IsSuccess(result.status)) textFailed_ = true;
        return;
    }
    if (mode == Mode::Probe) {
        mode_ = Mode::Idle;
        return;
    }
    if (mode == Mode::Post) {
        mode_ = Mode::Idle;
        if (Downloaded) Downloaded();
        if (Disconnected) Disconnected();
        return;
    }
    // A download: complete only when every announced byte came.
    if (result.contentLength && result.received < *result.contentLength) {
        Fail(inet_error::Incomplete, InetErrorText(inet_error::Incomplete));
        return;
    }
    if (ExpectedSize && result.received != *ExpectedSize) {
        Fail(inet_error::WrongSize, InetErrorText(inet_error::WrongSize));
        return;
    }
    if (!SmallBinary && result.received <= kShortDownload) {
        Fail(inet_error::NotOnServer, InetErrorText(inet_error::NotOnServer));
        return;
    }
    if (!CommitTemp()) {
        Fail(inet_error::PermissionDenied, "Permission was denied to: " + BinaryFile);
        return;
    }
    mode_ = Mode::Idle;
    RaiseStatus("Downloading...", static_cast<std::int32_t>(std::min<std::uint64_t>(result.received, INT32_MAX)));
    if (Downloaded) Downloaded();
    if (Disconnected) Disconnected();
}

std::string clsInternet::GetString(const std::string& Server, std::int16_t Timeout, bool& Fail) {
    control_->SetRequestTimeout(Timeout);
    CancelConnect(true);
    CancelConnect(true);
    forms::DoEvents();
    text_.clear();
    textFailed_ = false;
    if (!protocol::IsWebAddress(Server)) {
        Fail = true;
        return {};
    }
    mode_ = Mode::Text;
    inet::RequestSpec spec;
    spec.url = Server;
    control_->Start(std::move(spec));
    control_->Wait();
    if (mode_ == Mode::Text) {  // the wait ended early (the program is closing)
        control_->Cancel();
        mode_ = Mode::Idle;
        textFailed_ = true;
    }
    if (textFailed_) {
        Fail = true;
        text_.clear();
    } else if (text_.empty()) {
        Fail = true;
    }
    return std::move(text_);
}

std::string clsInternet::MakeStandardFormData(const std::string& Title, const std::string& Fname,
                                              const std::string& sName, const std::string& Email,
                                              const std::string& Subject, const std::string& Recipient,
                                              const std::string& MainText, const std::string& InternalInfo,
                                              forms::Date dDate, const std::string& Locale,
                                              const std::string& DataSeg) {
    protocol::StandardForm f;
    f.title = Title;
    f.firstName = Fname;
    f.secondName = sName;
    f.email = Email;
    f.subject = Subject;
    f.recipient = Recipient;
    f.mainText = MainText;
    f.internalInfo = InternalInfo;
    f.date = forms::ShortDateText(dDate);
    f.locale = Locale;
    f.dataSeg = DataSeg;
    return protocol::StandardFormBody(f);
}

bool clsInternet::Sendform(const std::string& FormURL, const std::string& Data) {
    if (forms::Trim(Data).empty()) {
        throw forms::RuntimeError(forms::ObjectError,
                                  "You can't send data when the data in the data variable is invalid or the data is "
                                  "empty!");
    }
    control_->SetRequestTimeout(45);
    if (!protocol::IsWebAddress(FormURL)) {
        if (Error) Error(inet_error::CannotStart, InetErrorText(inet_error::CannotStart));
        return false;
    }
    inet::RequestSpec spec;
    spec.method = "POST";
    spec.url = FormURL;
    spec.headers = "Content-Type: application/x-www-form-urlencoded\r\n";
    spec.body = Data;
    spec.readBody = !NoWrite;
    DropTemp();
    mode_ = Mode::Post;
    control_->Start(std::move(spec));
    return false;
}

void clsInternet::ProcessVersionScript(const std::string& PVSData, std::string& ScreenShotURL,
                                       std::string& WebsiteURL, std::string& DownloadURL, std::string& Description,
                                       const std::string& CurMaj, const std::string& CurMin,
                                       const std::string& CurRev, std::string& NewVersionNo, bool& NoUpdate,
                                       std::string& FileSize, std::string& UpdwizDownloadURL,
                                       std::string& UpdWizDLsize) {
    const auto s = protocol::ParseVersionScript(PVSData, protocol::VersionFromText(CurMaj, CurMin, CurRev));
    UpdwizDownloadURL = s.updwizDownloadUrl;
    UpdWizDLsize = s.updwizDlSize;
    if (s.noUpdate) {
        NoUpdate = true;
        return;
    }
    Description = s.description;
    DownloadURL = s.downloadUrl;
    WebsiteURL = s.websiteUrl;
    ScreenShotURL = s.screenShotUrl;
    NewVersionNo = s.newVersionNo;
    FileSize = s.fileSize;
}

bool clsInternet::StillBusy() const { return control_->StillExecuting(); }

void clsInternet::CancelConnect(bool NoEvents) {
    control_->Cancel();
    DropTemp();
    mode_ = Mode::Idle;
    if (!NoEvents && Error) Error(inet_error::Cancelled, InetErrorText(inet_error::Cancelled));
}

std::int32_t clsInternet::TimeoutInSecs() const { return control_->RequestTimeout(); }

void clsInternet::DownloadFile(std::int32_t Timeout, const std::string& DownloadURL) {
    control_->SetRequestTimeout(Timeout);
    control_->Cancel();
    DropTemp();
    mode_ = Mode::Idle;
    if (!protocol::IsWebAddress(DownloadURL) || (!NoWrite && BinaryFile.empty())) {
        if (Error) Error(inet_error::CannotStart, InetErrorText(inet_error::CannotStart));
        return;
    }
    if (!NoWrite) {
        if (!OpenTemp()) {
            DropTemp();
            if (Error) Error(inet_error::PermissionDenied, "Permission was denied to: " + BinaryFile);
            return;
        }
    }
    inet::RequestSpec spec;
    spec.url = DownloadURL;
    spec.readBody = !NoWrite;
    mode_ = NoWrite ? Mode::Post : Mode::Download;
    control_->Start(std::move(spec));
}

std::string clsInternet::GetFileSize(const std::string& URL) {
    if (!protocol::IsWebAddress(URL)) return {};
    control_->Cancel();
    DropTemp();
    inet::RequestSpec spec;
    spec.method = "HEAD";
    spec.url = URL;
    spec.readBody = false;
    mode_ = Mode::Probe;
    control_->Start(std::move(spec));
    return {};
}

bool clsInternet::ActiveConnection() const {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\RemoteAccess", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return false;
    DWORD value = 0, size = sizeof value, type = 0;
    const bool ok = RegQueryValueExA(key, "Remote Connection", nullptr, &type, reinterpret_cast<BYTE*>(&value),
                                     &size) == ERROR_SUCCESS &&
                    size == sizeof value;
    RegCloseKey(key);
    return ok && static_cast<LONG>(value) > 0;
}

void clsInternet::hangup() {
    using RasConnection = RASCONNA;
    std::vector<RasConnection> connections(16);
    connections[0].dwSize = sizeof(RASCONNA);
    DWORD bytes = static_cast<DWORD>(connections.size() * sizeof(RASCONNA));
    DWORD count = 0;
    DWORD rc = RasEnumConnectionsA(connections.data(), &bytes, &count);
    if (rc == ERROR_BUFFER_TOO_SMALL) {
        connections.assign(bytes / sizeof(RASCONNA) + 1, RasConnection{});
        connections[0].dwSize = sizeof(RASCONNA);
        bytes = static_cast<DWORD>(connections.size() * sizeof(RASCONNA));
        rc = RasEnumConnectionsA(connections.data(), &bytes, &count);
    }
    if (rc != ERROR_SUCCESS) return;
    for (DWORD i = 0; i < count && i < connections.size(); ++i) {
        // A dial-up line is what "Hang-up when downloaded" means to a user; a VPN tunnel is not.
        const std::string device = connections[i].szDeviceType;
        if (_stricmp(device.c_str(), RASDT_Modem) == 0 || _stricmp(device.c_str(), RASDT_Isdn) == 0) {
            RasHangUpA(connections[i].hrasconn);
        }
    }
}

}  // namespace update
