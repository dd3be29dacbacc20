#include "update/frmStatus.h"

#include "platform/forms/MessageLoop.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/RuntimeError.h"
#include "update/Config.h"
#include "update/frmQVupd.h"

frmStatus::frmStatus()
    : Form({.Caption = "Status", .Width = 4575, .Height = 1800, .Border = forms::BorderStyle::FixedDialog,
            .MinButton = false, .MaxButton = false, .ShowInTaskbar = false,
            .StartUp = forms::StartUpPosition::CenterOwner}) {
    cmdCancel.Click = [this] { cmdCancel_Click(); };
    Timer1.Tick = [this] { Timer1_Timer(); };
    Timer2.Tick = [this] { Timer2_Timer(); };
}

std::string frmStatus::FormMailAddress() {
    return std::string(update::config::kSite) + std::string(update::config::kFormMailScript);
}

void frmStatus::Form_Initialize() {
    net_ = std::make_unique<update::clsInternet>();
    net_->InitInet();
    net_->Status = [this](const std::string& m, std::int32_t length) { Net_Status(m, length); };
    net_->Downloaded = [this] { Net_Downloaded(); };
    net_->Disconnected = [this] { Net_Disconnected(); };
    net_->Error = [this](std::int32_t n, const std::string& info) { Net_Error(n, info); };
}

void frmStatus::Form_Activate() {
    auto& wizard = forms::Default<frmQVupd>();
    if (wizard.Sendform) {
        SendFormData(wizard.FrmDat);
        wizard.Sendform = false;
    }
}

namespace {

void CALLBACK PostRequested(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto& status = forms::Default<frmStatus>();
    if (status.Visible()) status.Form_Activate();
}

}  // namespace

void frmStatus::Display(forms::Form& owner) {
    SetTimer(nullptr, 0, 10, &PostRequested);
    Show(forms::ShowMode::Modal, &owner);
}

void frmStatus::HideWindow() {
    Timer1.SetEnabled(false);
    Hide();
}

void frmStatus::SendFormData(const std::string& FormData) {
    if (net_->StillBusy()) {
        // The running transfer goes without its error event, so Timer2's resend does take place.
        tickCount_ = 0;
        Timer2.SetEnabled(true);
        keptFormData_ = FormData;
        net_->CancelConnect(true);
        return;
    }
    Fail = false;
    ended_ = false;
    completed_ = false;
    try {
        net_->NoWrite = true;
        net_->Sendform(FormMailAddress(), FormData);
    } catch (const forms::RuntimeError&) {
        Fail = true;
        HideWindow();
        // The cancel's own error event is this post's ending.
        net_->CancelConnect();
    }
}

void frmStatus::Net_Status(const std::string& Mssage, std::int32_t) { Label2.SetCaption(Mssage); }

void frmStatus::Net_Downloaded() {
    DownloadedData.reset();
    completed_ = true;
}

void frmStatus::Net_Disconnected() {
    // A connection that closes while the transfer still runs is no ending: its error may follow.
    if (!completed_) return;
    ProgressBar1.SetPosition(50);
    forms::DoEvents();
    Timer1.SetEnabled(false);
    Timer2.SetEnabled(false);
    cmdCancel.SetEnabled(true);
    if (!Fail && !ended_) {
        ended_ = true;
        ProgressBar1.SetPosition(100);
        forms::MsgBox("Transfer Successful", forms::mb::OkOnly | forms::mb::Information, "Success");
        success = true;
        HideWindow();
    }
}

void frmStatus::Net_Error(std::int32_t ErrorNumber, const std::string& ErrInf) {
    if (ErrorNumber == 0 || ended_) return;
    ended_ = true;
    forms::MsgBox(std::to_string(ErrorNumber) + ": " + ErrInf, forms::mb::OkOnly | forms::mb::Critical, "Error");
    Fail = true;
    Timer2.SetEnabled(false);
    Timer1.SetEnabled(false);
    HideWindow();
}

void frmStatus::cmdCancel_Click() {
    cmdCancel.SetEnabled(false);
    Timer1.SetEnabled(true);
}

void frmStatus::Timer1_Timer() {
    if (net_->StillBusy()) {
        if (forms::MsgBox("Are you sure you wish to cancel?", forms::mb::YesNo, "Cancel?") == forms::answer::No) {
            Timer1.SetEnabled(false);
            cmdCancel.SetEnabled(true);
            return;
        }
        // The post may have ended while the question was up: its ending has been shown, and is the only one.
        if (ended_) return;
        net_->CancelConnect();
        Canc = true;
        Fail = false;
        HideWindow();
    } else {
        DownloadedData.reset();
        HideWindow();
    }
}

void frmStatus::Timer2_Timer() {
    ++tickCount_;
    if (tickCount_ > 30 && net_->StillBusy()) {
        Fail = true;
        ended_ = true;
        HideWindow();
        Timer2.SetEnabled(false);
        net_->CancelConnect(true);
        tickCount_ = 0;
    } else if (!net_->StillBusy()) {
        SendFormData(keptFormData_);
    }
}
