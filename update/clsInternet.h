#pragma once
// The update program's one network class, over our internet transfer control (platform/inet): a text
// fetched whole and synchronously, a file downloaded in the background, a form posted, and a cancel; their
// outcomes reported as four events with fixed texts and numbers.
//
// A download is written to a temporary file beside BinaryFile and moved over it only when it is complete
// and checked (a 2xx answer, every announced byte, the expected size). Any failure or a cancel deletes only
// that temporary file, so the file at BinaryFile is never cut or lost. Each failure raises one Error, and
// every transfer ends exactly once.

#include "platform/inet/Inet.h"
#include "platform/runtime/Dates.h"
#include "platform/runtime/OwnedHandles.h"
#include "platform/runtime/RuntimeError.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace update {

// Numbers the class raises through Error.
namespace inet_error {
inline constexpr std::int32_t NotOnServer = 758;       // outside 2xx, or too short without SmallBinary
inline constexpr std::int32_t Incomplete = 759;        // fewer bytes than Content-Length
inline constexpr std::int32_t WrongSize = 760;         // not the ExpectedSize
inline constexpr std::int32_t NotAPackage = 761;       // raised by the wizard's content check
inline constexpr std::int32_t RedirectRefused = 762;
inline constexpr std::int32_t UnreadableAnswer = 763;  // no status code could be read from the reply
inline constexpr std::int32_t Cancelled = 899;
inline constexpr std::int32_t PermissionDenied = forms::err::PermissionDenied;
inline constexpr std::int32_t CannotStart = 46376;
inline constexpr std::int32_t TimedOut = 35761;
inline constexpr std::int32_t Refused = 12029;
}  // namespace inet_error

std::string InetErrorText(std::int32_t number);

class clsInternet {
public:
    clsInternet();
    ~clsInternet();
    clsInternet(const clsInternet&) = delete;
    clsInternet& operator=(const clsInternet&) = delete;

    // Declared for callers; the class never assigns them.
    std::string responsecode;
    std::string ResponseInfo;
    // The file a download writes.
    std::string BinaryFile;
    // A download of 3,072 bytes or fewer is accepted (the links file).
    bool SmallBinary = false;
    // The answer's body is neither read nor written (form posts).
    bool NoWrite = false;
    // Ours: the size the server announced for a package; a download of another size fails with 760.
    std::optional<std::uint64_t> ExpectedSize;
    // Ours: with no ExpectedSize, a download that grows past this fails with 760 (an update package is a
    // few MB; a server must not fill the volume).
    std::uint64_t MaxDownloadBytes = kMaxDownloadBytes;

    std::function<void()> Disconnected;
    std::function<void(const std::string& Mssage, std::int32_t Length)> Status;
    std::function<void()> Downloaded;
    std::function<void(std::int32_t ErrorNumber, const std::string& ErrInf)> Error;

    bool ActiveConnection() const;
    // Hangs up the dial-up connections on a modem or ISDN device; VPNs are left alone.
    void hangup();
    // A fresh transfer control; a running transfer ends without events.
    void InitInet();
    // The whole body of Server, waiting for it; sets Fail (never clears it) when the answer is empty, not
    // 2xx, over 1 MiB, or did not come.
    std::string GetString(const std::string& Server, std::int16_t Timeout, bool& Fail);
    std::string MakeStandardFormData(const std::string& Title, const std::string& Fname, const std::string& sName,
                                     const std::string& Email, const std::string& Subject,
                                     const std::string& Recipient, const std::string& MainText,
                                     const std::string& InternalInfo, forms::Date dDate, const std::string& Locale,
                                     const std::string& DataSeg);
    // Posts Data as a form in the background; raises ObjectError when Data is blank. Always false.
    bool Sendform(const std::string& FormURL, const std::string& Data);
    void ProcessVersionScript(const std::string& PVSData, std::string& ScreenShotURL, std::string& WebsiteURL,
                              std::string& DownloadURL, std::string& Description, const std::string& CurMaj,
                              const std::string& CurMin, const std::string& CurRev, std::string& NewVersionNo,
                              bool& NoUpdate, std::string& FileSize, std::string& UpdwizDownloadURL,
                              std::string& UpdWizDLsize);
    bool StillBusy() const;
    void CancelConnect(bool NoEvents = false);
    std::int32_t TimeoutInSecs() const;
    void DownloadFile(std::int32_t Timeout, const std::string& DownloadURL);
    std::string GetFileSize(const std::string& URL);

    // GetString and the links download refuse more than this.
    static constexpr std::uint64_t kMaxTextBytes = std::uint64_t{1} << 20;
    static constexpr std::uint64_t kMaxDownloadBytes = std::uint64_t{1} << 30;
    // The prefix of the temporary file a download is written to, beside BinaryFile.
    static constexpr const char* kTempPrefix = "qvp";

private:
    enum class Mode { Idle, Text, Download, Post, Probe };

    void OnState(int state);
    void OnResponse(const inet::Result& head);
    void OnData(std::string_view block, std::uint64_t total);
    void OnDone(const inet::Result& result);
    // Ends the running transfer (no events), drops the temporary file, then raises Error once.
    void Fail(std::int32_t number, const std::string& text);
    void DropTemp();
    bool OpenTemp();
    bool ReopenTemp();
    bool WriteBlock(std::string_view block);
    bool CommitTemp();
    void RaiseStatus(const std::string& text, std::int32_t length);

    std::unique_ptr<inet::Inet> control_;
    Mode mode_ = Mode::Idle;
    std::string tempPath_;
    forms::UniqueKernelHandle file_;
    std::uint64_t written_ = 0;
    std::string text_;
    bool textFailed_ = false;
};

}  // namespace update
