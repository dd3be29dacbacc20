// The wizard's window: loading, pages, navigation, the server list, Exit, the error page and the timers.
#include "update/frmQVupd.h"

#include "lib/services/Client.h"
#include "platform/forms/MessageLoop.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/ErrorSteps.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/Shell.h"
#include "update/Config.h"
#include "update/Module1.h"
#include "update/frmFix.h"

#include <windows.h>

namespace {

constexpr const char* kApp = update::Module1::kTitle;
constexpr std::array<const char*, 5> kServerLabels{"Primary UK: ", "Secondary UK: ", "Tertiary UK: ",
                                                   "Primary US: ", "Secondary US: "};

}  // namespace

frmQVupd::frmQVupd()
    : Form({.Caption = "Quillview Update", .Width = 6480, .Height = 4905, .Border = forms::BorderStyle::FixedSingle,
            .MaxButton = false, .StartUp = forms::StartUpPosition::CenterScreen, .KeyPreview = true}) {
    cboServers.Click = [this] { cboServers_Click(); };
    Command3.Click = [this] { Command3_Click(); };
    cmdBack.Click = [this] { cmdBack_Click(); };
    Command1.Click = [this] { Command1_Click(); };
    optQVUpd.Click = [this] { optQVUpd_Click(); };
    optImgSites.Click = [this] { optImgSites_Click(); };
    OptSubmitWebsite.Click = [this] { OptSubmitWebsite_Click(); };
    optFixer.Click = [this] { optFixer_Click(); };
    Timerout.Tick = [this] { Timerout_Timer(); };
    timerRate.Tick = [this] { timerRate_Timer(); };
    Timer2.Tick = [this] { Timer2_Timer(); };
    cmdDownload.OnEach([this](forms::CommandButton& b) { b.Click = [this, i = b.Index()] { cmdDownload_Click(i); }; });
    cmdCancelDL.Click = [this] { cmdCancelDL_Click(); };
    cmdSendviaemail.Click = [this] { cmdSendviaemail_Click(); };
}

forms::Frame& frmQVupd::Frame1(int index) {
    const std::array<forms::Frame*, 7> pages{&Frame1_0, &Frame1_1, &Frame1_2, &Frame1_3,
                                             &Frame1_4, &Frame1_5, &Frame1_6};
    return *pages.at(static_cast<std::size_t>(index));
}

forms::Frame& frmQVupd::ImgWeb(int index) {
    const std::array<forms::Frame*, 3> pages{&ImgWeb_0, &ImgWeb_1, &ImgWeb_2};
    return *pages.at(static_cast<std::size_t>(index));
}

forms::Frame& frmQVupd::websub(int index) {
    const std::array<forms::Frame*, 4> pages{&websub_0, &websub_1, &websub_2, &websub_3};
    return *pages.at(static_cast<std::size_t>(index));
}

forms::TextBox& frmQVupd::txtFields(int index) {
    const std::array<forms::TextBox*, 9> fields{&txtFields0, &txtFields1, &txtFields2, &txtFields3, &txtFields4,
                                                &txtFields5, &txtFields6, &txtFields7, &txtFields8};
    return *fields.at(static_cast<std::size_t>(index));
}

void frmQVupd::MoveToPage0(forms::Control& page) {
    page.SetLeft(Frame1_0.Left());
    page.SetTop(Frame1_0.Top());
}

void frmQVupd::ShowPage(forms::Frame& page) {
    MoveToPage0(page);
    page.SetVisible(true);
}

std::string frmQVupd::MirrorBase(int index) const {
    if (index == 0) return BaseURL;
    if (index < 1 || index > 4) return {};
    return std::string(update::config::kMirrors[static_cast<std::size_t>(index)].base);
}

std::string frmQVupd::ServerLabel() const {
    const int index = cboServers.ListIndex();
    if (index < 0 || index > 4) return {};
    // The host in use: mirror 0's is BaseURL's, which the "f" key may have changed.
    std::string host(update::config::kMirrors[static_cast<std::size_t>(index)].host);
    if (index == 0) {
        const auto start = BaseURL.find("://");
        host = start == std::string::npos ? BaseURL : BaseURL.substr(start + 3);
        host = host.substr(0, host.find('/'));
    }
    return kServerLabels[static_cast<std::size_t>(index)] + host;
}

void frmQVupd::Form_Load() {
    BaseURL = std::string(update::config::kMirrors[0].base);
    // Ticked only for exactly "1".
    chkDontshow1.SetValue(forms::GetSetting(kApp, "submission", "notext", "0") == "1" ? 1 : 0);
    SetHeight(4905);
    SetWidth(6480);
    InetUpdv = std::make_unique<update::clsInternet>();
    InetUpdv->InitInet();
    InetUpdv->Status = [this](const std::string& m, std::int32_t length) { InetUpdv_Status(m, length); };
    InetUpdv->Disconnected = [this] { InetUpdv_Disconnected(); };
    InetUpdv->Downloaded = [this] { InetUpdv_Downloaded(); };
    InetUpdv->Error = [this](std::int32_t n, const std::string& info) { InetUpdv_Error(n, info); };
    forms::IgnoringErrors([] { update::Module1::CreateShell(); });
    // A stored index outside the list starts at the first server instead of failing the load.
    const std::string stored = forms::GetSetting(kApp, "Server", "ServerLoc", "0");
    int index = 0;
    if (stored.size() == 1 && stored[0] >= '0' && stored[0] <= '4') index = stored[0] - '0';
    cboServers.SetListIndex(index);  // its Click writes the value back
}

void frmQVupd::Form_KeyPress(int& KeyAscii) {
    if (KeyAscii != 'f') return;
    // A letter typed into a field is text, not the test-server key.
    if (dynamic_cast<forms::TextBox*>(ActiveControl())) return;
    BaseURL = std::string(update::config::kTestServerBase);
}

void frmQVupd::cboServers_Click() {
    forms::SaveSetting(kApp, "Server", "ServerLoc", std::to_string(cboServers.ListIndex()));
}

void frmQVupd::ShowWizard() {
    Show();
    // Its unload ends the program; a hidden form-post window never keeps an invisible process alive.
    forms::Form::SetMainForm(this);
}

void frmQVupd::UpdateLinksCmd() {
    ShowWizard();
    optImgSites.SetValue(true);
    Command3_Click();
}

void frmQVupd::SubmitWebCmd() {
    ShowWizard();
    OptSubmitWebsite.SetValue(true);
    Command3_Click();
}

void frmQVupd::UpdateQVcmd() {
    ShowWizard();
    optQVUpd.SetValue(true);
    Command3_Click();
}

void frmQVupd::optQVUpd_Click() { cboServers.SetEnabled(true); }
void frmQVupd::optImgSites_Click() { cboServers.SetEnabled(true); }
void frmQVupd::OptSubmitWebsite_Click() { cboServers.SetEnabled(false); }
void frmQVupd::optFixer_Click() { cboServers.SetEnabled(false); }

void frmQVupd::Command3_Click() {
    // "&Restart" during a transfer must not reset its bars.
    const bool transferring = (InetUpdv && InetUpdv->StillBusy()) || (Netur && Netur->StillBusy());
    if (!transferring) {
        ProgressBar1.SetPosition(0);
        ProgressBar2.SetPosition(0);
        ProgressBar3.SetPosition(0);
    }
    if (OptSubmitWebsite.Value()) {
        if (Frame1_0.Visible()) {
            MoveToPage0(websub_0);
            MoveToPage0(websub_1);
            if (chkDontshow1.Value() == 0) {
                websub_0.SetVisible(true);
            } else {
                websub_1.SetVisible(true);
                SubmitterFill();
            }
            Frame1_0.SetVisible(false);
            cmdBack.SetEnabled(true);
        } else {
            SubmitWebStep(1);
        }
    }
    const std::string label = ServerLabel();
    if (optQVUpd.Value()) UpdateWizardStep(1, label);
    if (optImgSites.Value()) LinksWizardStep(1, label);
    if (optFixer.Value()) forms::Default<frmFix>().Show(forms::ShowMode::Modal, this);
}

void frmQVupd::UpdateWizardStep(int Direction, const std::string& label) {
    if (Direction == 1) {
        if (Frame1_0.Visible()) {
            lblServer.SetCaption(label);
            ProgressBar1.SetPosition(0);
            lblStatus.SetCaption("Connecting...");
            MoveToPage0(Frame1_1);
            Frame1_0.SetVisible(false);
            Frame1_1.SetVisible(true);
            cmdBack.SetEnabled(false);
            Command3.SetEnabled(false);
            Command1.SetEnabled(false);
            CheckForUpdate();
        } else if (Frame1_1.Visible()) {
            MoveToPage0(Frame1_3);
            Frame1_1.SetVisible(false);
            Frame1_3.SetVisible(true);
            // As when the offer was first shown: Next starts the download only with a usable address.
            Command3.SetEnabled(cmdDownload(0).Enabled());
        } else if (Frame1_2.Visible()) {
            Command3.SetEnabled(true);
            Frame1_2.SetVisible(false);
            SetNextCaption("Next >");
            Frame1_0.SetVisible(true);
            cmdBack.SetEnabled(false);
        } else if (Frame1_3.Visible()) {
            Command3.SetEnabled(false);
            cmdBack.SetEnabled(false);
            StartDownload(cmdDownload(0).Tag());
        } else if (Frame1_4.Visible()) {
            // A download runs: nothing.
        } else if (Frame1_5.Visible()) {
            Frame1_5.SetVisible(false);
            Frame1_0.SetVisible(true);
            SetNextCaption("&Next >");
            cmdBack.SetEnabled(false);
            Command3.SetEnabled(true);
        }
    } else if (Direction == 2) {
        // Every page Back returns to has the buttons it has when first shown: an offer whose address is
        // unusable keeps only the download off, never the way to another mirror or task.
        SetNextCaption("&Next >");
        if (Frame1_0.Visible()) {
        } else if (Frame1_1.Visible()) {
            Frame1_1.SetVisible(false);
            Frame1_0.SetVisible(true);
            cmdBack.SetEnabled(false);
            Command3.SetEnabled(true);
        } else if (Frame1_2.Visible()) {
            Frame1_2.SetVisible(false);
            Frame1_0.SetVisible(true);
            cmdBack.SetEnabled(false);
            Command3.SetEnabled(true);
        } else if (Frame1_3.Visible()) {
            Frame1_3.SetVisible(false);
            Frame1_1.SetVisible(true);
            Command3.SetEnabled(true);
        } else if (Frame1_4.Visible()) {
        } else if (Frame1_5.Visible()) {
            Frame1_5.SetVisible(false);
            Frame1_0.SetVisible(true);
            cmdBack.SetEnabled(false);
            Command3.SetEnabled(true);
        }
    }
}

void frmQVupd::cmdBack_Click() {
    if (OptSubmitWebsite.Value()) {
        SubmitWebStep(2);
    } else if (optQVUpd.Value()) {
        UpdateWizardStep(2, "");
    }
}

void frmQVupd::Command1_Click() {
    if (forms::MsgBox("Exit Quillview Update?", forms::mb::YesNo | forms::mb::Question, "Exit?") != forms::answer::Yes)
        return;
    update::Module1::EndProgram();
}

void frmQVupd::Form_Unload(int&) {
    // Closed by its title bar: the program ends with it.
    EndTransfers();
}

void frmQVupd::EndTransfers() {
    for (update::clsInternet* net : {InetUpdv.get(), Netur.get()}) {
        if (net) net->CancelConnect(true);  // removes the transfer's own temporary file
    }
    DropDownloadTemp();
    DropLinksTemp();
}

void frmQVupd::ShowError() {
    forms::Beep();
    cmdBack.SetEnabled(false);
    Command3.SetEnabled(true);
    for (int i = 0; i <= Frame1UBound(); ++i) Frame1(i).SetVisible(false);
    // No task page may stay behind the error page, or over page 0 after "&Restart".
    for (int i = 0; i < 3; ++i) ImgWeb(i).SetVisible(false);
    for (int i = 0; i < 4; ++i) websub(i).SetVisible(false);
    MoveToPage0(Frame1_5);
    Frame1_5.ZOrder(0);
    Frame1_5.SetVisible(true);
    SetNextCaption("&Restart");
}

std::string frmQVupd::GetSystemPath() const {
    char buffer[MAX_PATH] = {};
    const UINT n = GetSystemDirectoryA(buffer, MAX_PATH);
    return n == 0 || n >= MAX_PATH ? std::string() : std::string(buffer);
}

void frmQVupd::Timerout_Timer() {
    forms::IgnoringErrors([this] {
        if (InetUpdv)
            lblTimeout.SetCaption("Timeout will occur in " + std::to_string(InetUpdv->TimeoutInSecs()) + " seconds");
    });
    forms::IgnoringErrors([this] {
        if (Netur)
            lblTimeout2.SetCaption("Timeout will occur in " + std::to_string(Netur->TimeoutInSecs()) + " seconds");
    });
}

void frmQVupd::ResetRate() {
    heldProgress_.reset();
    progressShown_ = {};
    lastBytes_ = 0;
    rateSamples_.clear();
    rateSlot_ = 0;
}

void frmQVupd::timerRate_Timer() {
    ShowHeldProgress();
    const std::int32_t cur = BytesReceived;
    if (cur <= lastBytes_ || lastBytes_ == 0) {
        lastBytes_ = cur;
        return;
    }
    if (rateSamples_.size() < 30) rateSamples_.resize(static_cast<std::size_t>(rateSlot_) + 1);
    rateSamples_[static_cast<std::size_t>(rateSlot_)] = cur - lastBytes_;
    rateSlot_ = rateSlot_ >= 29 ? 0 : rateSlot_ + 1;
    std::int64_t sum = 0;
    for (const auto s : rateSamples_) sum += s;
    const std::int64_t avg = sum / static_cast<std::int64_t>(rateSamples_.size());
    const std::string text =
        avg >= 1024 ? std::to_string(avg / 1024) + " Kb per second" : std::to_string(avg) + " Bytes per second";
    lblRate.SetCaption("Transfer Rate: " + text);
    lastBytes_ = cur;
}

void frmQVupd::Timer2_Timer() { update::Module1::EndProgram(); }
