// The wizard's links update: the imaging-sites list fetched from a mirror, checked, and written for the
// browser's menu in the per-user folder.
#include "update/frmQVupd.h"

#include "lib/services/Client.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/ErrorSteps.h"
#include "platform/runtime/ReplacingFile.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/UserPaths.h"
#include "platform/runtime/WholeFile.h"
#include "update/LeftTemporaryFiles.h"
#include "update/Module1.h"
#include "update/protocol/LinksList.h"
#include "update/protocol/NumberList.h"

#include <windows.h>

#include <array>

namespace {

constexpr std::array<const char*, 5> kLinkFiles{"imguk1.dat", "imguk1.dat", "imguk3.dat", "imgus1.dat",
                                                "imgus2.dat"};
constexpr const char* kLinksFile = "QVSetwebs.dat";
// The wizard's own temporary name for the list while it downloads.
constexpr const char* kTempPrefix = "qvl";

// A file that is not there, or cannot be read, reads as empty.
std::string ReadAll(const std::string& path) {
    std::string bytes;
    forms::IgnoringErrors([&] { bytes = forms::ReadWholeFile(path, update::clsInternet::kMaxTextBytes); });
    return bytes;
}

bool ContainsHtmlTag(const std::string& text) { return forms::LCase(text).find("<html>") != std::string::npos; }

}  // namespace

void frmQVupd::DropLinksTemp() {
    if (linksTemp_.empty()) return;
    DeleteFileA(linksTemp_.c_str());
    linksTemp_.clear();
}

void frmQVupd::LinksWizardStep(int Direction, const std::string& label) {
    if (Direction != 1) return;
    if (Frame1_0.Visible()) {
        MoveToPage0(ImgWeb_0);
        lblSvrStatus.SetCaption("Connecting...");
        lblSvr.SetCaption(label);
        std::string url;
        const int mirror = cboServers.ListIndex();
        if (mirror >= 0 && mirror <= 4) url = MirrorBase(mirror) + kLinkFiles[static_cast<std::size_t>(mirror)];
        Netur = std::make_unique<update::clsInternet>();
        Netur->InitInet();
        Netur->Status = [this](const std::string& m, std::int32_t length) { Netur_Status(m, length); };
        Netur->Downloaded = [this] { Netur_Downloaded(); };
        Netur->Error = [this](std::int32_t n, const std::string& info) { Netur_Error(n, info); };
        Frame1_0.SetVisible(false);
        ImgWeb_0.SetVisible(true);
        SetNextCaption("&Restart");
        DownloadLinks(url);
    } else if (ImgWeb_1.Visible() || ImgWeb_2.Visible()) {
        SetNextCaption("&Next >");
        ImgWeb_1.SetVisible(false);
        ImgWeb_2.SetVisible(false);
        Frame1_0.SetVisible(true);
    } else if (Frame1_5.Visible()) {
        Frame1_5.SetVisible(false);
        Frame1_0.SetVisible(true);
        ProgressBar3.SetPosition(0);
        SetNextCaption("&Next >");
    }
}

void frmQVupd::DownloadLinks(const std::string& URL) {
    OldLinks.clear();
    for (const auto& line : update::protocol::SplitLines(ReadAll(forms::UserFileToRead(kLinksFile))))
        OldLinks += "\r\n" + line;
    Netur->SmallBinary = true;
    // A unique temporary file: two runs, or another program, never share it.
    DropLinksTemp();
    std::string folder;
    forms::IgnoringErrors([&] { folder = update::Module1::gShell().GetTmpPath(); });
    if (folder.empty()) {
        char buffer[MAX_PATH + 1] = {};
        GetTempPathA(MAX_PATH, buffer);
        folder = buffer;
    }
    // What a links run that died left behind goes first.
    update::RemoveLeftTemporaryFiles(folder, kTempPrefix);
    update::RemoveLeftTemporaryFiles(folder, update::clsInternet::kTempPrefix);
    char name[MAX_PATH + 1] = {};
    if (GetTempFileNameA(folder.c_str(), kTempPrefix, 0, name) != 0) linksTemp_ = name;
    Netur->BinaryFile = linksTemp_;
    Timerout.SetEnabled(true);
    Netur->DownloadFile(60, URL);
}

void frmQVupd::Netur_Status(const std::string& Mssage, std::int32_t) {
    lblSvrStatus.SetCaption(Mssage);
    ProgressBar3.SetPosition(ProgressBar3.Position() + 5);
}

void frmQVupd::Netur_Downloaded() {
    forms::IgnoringErrors([this] {
        Timerout.SetEnabled(false);
        lblTimeout2.SetCaption("");
    });
    const std::string bytes = ReadAll(linksTemp_);
    DropLinksTemp();
    const auto text = update::protocol::DecodeFieldList(bytes);
    const bool empty = text ? text->find_first_not_of(' ') == std::string::npos : bytes.find_first_not_of(" \r\n\t") == std::string::npos;
    if (empty || (text && ContainsHtmlTag(*text))) {
        txtError.SetText("Links could not be obtained from the server\r\nThe server could be down");
        ShowError();
        return;
    }
    // Every line must be a web link with a caption: no server tag may become a local path or a command.
    if (!text || !update::protocol::IsValidLinksList(*text)) {
        txtError.SetText("Links could not be obtained from the server\r\nThe list the server sent is damaged");
        ShowError();
        return;
    }
    if (update::protocol::SameLines(OldLinks, *text)) {
        MoveToPage0(ImgWeb_1);
        ImgWeb_0.SetVisible(false);
        ImgWeb_1.SetVisible(true);
    } else {
        std::string path;
        const bool saved = forms::IgnoringErrors([&] {
            path = forms::UserFileToWrite(kLinksFile);
            forms::ReplaceWholeFile(path, update::protocol::LinksFileText(*text));
        });
        if (!saved) {
            if (path.empty()) path = kLinksFile;
            txtError.SetText("Links could not be saved to " + path);
            ShowError();
            return;
        }
        MoveToPage0(ImgWeb_2);
        ImgWeb_0.SetVisible(false);
        ImgWeb_2.SetVisible(true);
    }
    forms::IgnoringErrors([this] {
        if (chkHangup2.Value() == 1) Netur->hangup();
    });
}

void frmQVupd::Netur_Error(std::int32_t ErrorNumber, const std::string& ErrInf) {
    DropLinksTemp();
    txtError.SetText("");
    const std::string n = std::to_string(ErrorNumber);
    switch (ErrorNumber) {
        case 70:
            forms::MsgBox("An error occured: Number: " + n + ", Description: " + ErrInf,
                          forms::mb::OkOnly | forms::mb::Critical, update::Module1::kTitle);
            txtError.SetText(ErrInf + " No. " + n);
            break;
        case 889:
            HangupIfChecked();
            txtError.SetText(ErrInf + " No. " + n);
            break;
        case 758:
            forms::MsgBox(ErrInf, forms::mb::OkOnly | forms::mb::Critical, "Download Error");
            // The progress page would stay up for good: the error page follows the box.
            txtError.SetText(ErrInf + " No. " + n);
            break;
        case 12029:
            txtError.SetText("QV Update cannot connect");
            break;
        case 35761:
            txtError.SetText("QV Update Timeout error\r\n\r\nTry another server");
            break;
        case 0:
            return;
        default:
            txtError.SetText(ErrInf + " Error number: " + n);
            break;
    }
    ShowError();
}
