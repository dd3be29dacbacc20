// The wizard's version check: the mirror's version script fetched, decoded and judged.
#include "update/frmQVupd.h"

#include "platform/forms/MessageLoop.h"
#include "platform/runtime/Dates.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/Strings.h"
#include "update/Module1.h"
#include "update/SaveDialogWarmUp.h"
#include "update/WebAddressCheck.h"
#include "update/protocol/NumberList.h"

#include <array>

namespace {

constexpr std::array<const char*, 5> kScripts{"qvuk1ver.dat", "qvuk2ver.dat", "qvuk3ver.dat", "qvus1ver.dat",
                                              "qvus2ver.dat"};

bool ContainsHtml(const std::string& text) { return forms::LCase(text).find("html") != std::string::npos; }

}  // namespace

void frmQVupd::CheckForUpdate() {
    // An offer leads to the save dialog: its first showing's set-up is done meanwhile.
    update::SaveDialogWarmUp::Start();
    std::string url;
    const int mirror = cboServers.ListIndex();
    if (mirror >= 0 && mirror <= 4) url = MirrorBase(mirror) + kScripts[static_cast<std::size_t>(mirror)];
    // The date of the check is kept whatever its outcome (the main program's reminder reads it).
    forms::SaveSetting(update::Module1::kTitle, "Options", "lastqvupdate", forms::ShortDateText(forms::Today()));
    ProgressBar1.SetPosition(10);
    Timerout.SetEnabled(true);
    bool fail = false;
    const std::string text = InetUpdv->GetString(url, 60, fail);
    lblTimeout.SetCaption("");
    Timerout.SetEnabled(false);
    cmdBack.SetEnabled(true);
    Command3.SetEnabled(true);
    Command1.SetEnabled(true);
    ProgressBar1.SetPosition(40);

    std::optional<std::string> script;
    if (!fail && !ContainsHtml(text)) script = update::protocol::DecodeVersionList(text);
    if (!script) {
        InetUpdv->CancelConnect(true);
        txtError.SetText(
            "QV Update could not obtain details from the server\r\nThe server could be down, please choose "
            "another\r\nError Number: 35761");
        ShowError();
        IgnoreNextError = true;
        return;
    }

    std::string screenShot, website, download, description, newVersion, fileSize, updUrl, updSize;
    bool noUpdate = false;
    InetUpdv->ProcessVersionScript(*script, screenShot, website, download, description, QVMajVer, QVMinVer,
                                   QVRevVer, newVersion, noUpdate, fileSize, updUrl, updSize);
    ProgressBar1.SetPosition(70);
    if (!noUpdate) {
        // Nothing from the server reaches the shell unless it is a web address.
        if (!update::IsUsableWebAddress(download)) {
            cmdDownload(0).SetEnabled(false);
        } else {
            cmdDownload(0).SetTag(download);
            cmdDownload(0).SetEnabled(true);
        }
        cmdDownload(1).SetTag(website);
        cmdDownload(1).SetEnabled(update::IsUsableWebAddress(website));
        ProgressBar1.SetPosition(100);
        forms::DoEvents();
        Text1.SetText(description);
        lblCapt.SetCaption("Preview of Quillview version " + newVersion + "...");
        DLFileSize = fileSize;
        MoveToPage0(Frame1_3);
        Frame1_1.SetVisible(false);
        Frame1_3.SetVisible(true);
        // Next on this page starts the download only with a usable address.
        Command3.SetEnabled(cmdDownload(0).Enabled());
    } else {
        MoveToPage0(Frame1_2);
        Frame1_1.SetVisible(false);
        Frame1_2.SetVisible(true);
        SetNextCaption("&Restart");
        ProgressBar1.SetPosition(0);
    }
}
