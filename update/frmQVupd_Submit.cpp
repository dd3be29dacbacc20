// The wizard's web-site submission: the submitter's and the site's pages with their checks, the stored
// form values, the post through frmStatus and its result pages.
#include "update/frmQVupd.h"

#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Dates.h"
#include "platform/runtime/ErrorSteps.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/Shell.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/UserPaths.h"
#include "update/Config.h"
#include "update/Module1.h"
#include "update/frmStatus.h"

#include <windows.h>

#include <array>

namespace {

constexpr const char* kApp = update::Module1::kTitle;
constexpr std::array<const char*, 5> kSubmitterKeys{"title", "fname", "sname", "email", "country"};
constexpr std::array<const char*, 4> kSiteKeys{"des", "url", "lnc", "upd"};

bool Blank(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }

void Tell(const std::string& text) { forms::MsgBox(text, forms::mb::OkOnly, kApp); }

}  // namespace

update::clsInternet& frmQVupd::FormNet() {
    if (!formNet_) {
        formNet_ = std::make_unique<update::clsInternet>();
        formNet_->InitInet();
    }
    return *formNet_;
}

void frmQVupd::SubmitterFill() {
    for (int i = 0; i < 5; ++i) txtFields(i).SetText(forms::GetSetting(kApp, "forminf", kSubmitterKeys[i], ""));
    const std::string save = forms::GetSetting(kApp, "forminf", "save", "1");
    Check1.SetValue(save == "0" ? 0 : 1);
}

void frmQVupd::SubmitWebStep(int Direction) {
    if (Direction == 1) {
        if (websub_0.Visible()) {
            cmdBack.SetEnabled(true);
            if (chkDontshow1.Value() == 1) forms::SaveSetting(kApp, "submission", "notext", "1");
            MoveToPage0(websub_1);
            websub_0.SetVisible(false);
            websub_1.SetVisible(true);
            SubmitterFill();
        } else if (websub_1.Visible()) {
            if (Blank(txtFields(0).Text())) return Tell("Please specify your title.");
            if (Blank(txtFields(1).Text()) || Blank(txtFields(2).Text())) return Tell("Please specify your first name");
            if (Blank(txtFields(3).Text())) return Tell("Please specify your email address");
            if (forms::Trim(txtFields(3).Text()).find('@') == std::string::npos || txtFields(3).Text().size() < 5) {
                forms::MsgBox("Invalid email address!", forms::mb::OkOnly | forms::mb::Critical,
                              "Invalid Email Address");
                return;
            }
            if (Blank(txtFields(4).Text())) return Tell("Please specify your country");
            forms::SaveSetting(kApp, "forminf", "save", std::to_string(Check1.Value()));
            for (int i = 0; i < 5; ++i) {
                if (Check1.Value() == 1) {
                    forms::SaveSetting(kApp, "forminf", kSubmitterKeys[i], txtFields(i).Text());
                } else if (!forms::GetSetting(kApp, "forminf", kSubmitterKeys[i], "").empty()) {
                    forms::DeleteSetting(kApp, "forminf", kSubmitterKeys[i]);
                }
            }
            for (int i = 0; i < 4; ++i) txtFields(5 + i).SetText(forms::GetSetting(kApp, "forminf", kSiteKeys[i], ""));
            MoveToPage0(websub_2);
            websub_1.SetVisible(false);
            websub_2.SetVisible(true);
        } else if (websub_2.Visible()) {
            if (Blank(txtFields(5).Text())) return Tell("Please enter a description of the site");
            if (Blank(txtFields(6).Text())) return Tell("Please enter the website URL");
            for (int i = 0; i < 4; ++i) forms::SaveSetting(kApp, "forminf", kSiteKeys[i], txtFields(5 + i).Text());

            const std::string system = GetSystemPath();
            const bool found = !Blank(system) && GetFileAttributesA((system + "\\msvbvm60.dll").c_str()) !=
                                                     INVALID_FILE_ATTRIBUTES;
            const auto version = [](const char* key) {
                return forms::GetSetting("Quillview", "current_version", key, "unknown");
            };
            // The required description travels too, before the end marker.
            FrmDat = FormNet().MakeStandardFormData(
                txtFields(0).Text(), txtFields(1).Text(), txtFields(2).Text(), txtFields(3).Text(), "qvwebsubmission",
                std::string(update::config::kSubmissionsEmail),
                "Country:" + txtFields(4).Text() + " WebsiteURL:" + txtFields(6).Text() +
                    " HowOftenUpdated?:" + txtFields(8).Text() + " LaunchDate:" + txtFields(7).Text() +
                    " Description:" + txtFields(5).Text() + " end",
                std::string("msvbvm60.dll on system: ") + (found ? "True" : "False") + " PathtoMvb6:" + system,
                forms::Today(), "Unknown Locale",
                "QuillviewVersionNumber:" + version("major") + "." + version("minor") + "." + version("rev"));
            auto& status = forms::Default<frmStatus>();
            // Each post starts afresh: an earlier cancel or success says nothing about this one.
            status.Canc = false;
            status.success = false;
            Sendform = true;
            status.Display(*this);
            Sendform = false;
            status.ProgressBar1.SetPosition(0);
            JudgeSubmission();
            SetNextCaption("&Restart");
        } else if (websub_3.Visible()) {
            websub_3.SetVisible(false);
            Frame1_0.SetVisible(true);
            SetNextCaption("&Next >");
        }
    } else if (Direction == 2) {
        SetNextCaption("&Next >");
        if (websub_0.Visible()) {
            cmdBack.SetEnabled(false);
            Frame1_0.SetVisible(true);
            websub_0.SetVisible(false);
        } else if (websub_1.Visible()) {
            websub_0.SetVisible(true);
            websub_1.SetVisible(false);
        } else if (websub_2.Visible()) {
            websub_1.SetVisible(true);
            websub_2.SetVisible(false);
        } else if (websub_3.Visible()) {
            auto& status = forms::Default<frmStatus>();
            if (status.success) {
                Frame1_0.SetVisible(true);
                websub_3.SetVisible(false);
                cmdBack.SetEnabled(false);
            } else if (status.Canc || status.Fail) {
                websub_2.SetVisible(true);
                websub_3.SetVisible(false);
            }
        }
    }
}

void frmQVupd::ShowCancelledPage() {
    MoveToPage0(websub_3);
    websub_3.SetCaption("Operation Cancelled");
    Label5_2.SetCaption("The transfer operation was cancelled");
    cmdSendviaemail.SetVisible(false);
    Failure.SetVisible(false);
    websub_3.SetVisible(true);
    websub_2.SetVisible(false);
    forms::Default<frmStatus>().success = false;
}

void frmQVupd::ShowFailedPage() {
    websub_3.SetCaption("Operation Failed");
    Label5_2.SetCaption(
        "The transfer operation has failed.  There are many reasons why the transfer may not work and the most "
        "common of reasons is simply Internet congestion or our server has gone down. Please email us if these "
        "problems keep happening. The Quillview Offline help offers further help with this type of problem.");
    Failure.SetCaption("Tip: You can just email us with your website submission to " +
                       std::string(update::config::kSubmissionsEmail));
    cmdSendviaemail.SetVisible(true);
    Failure.SetVisible(true);
    MoveToPage0(websub_3);
    websub_3.SetVisible(true);
    websub_2.SetVisible(false);
    forms::Default<frmStatus>().success = false;
}

void frmQVupd::JudgeSubmission() {
    auto& status = forms::Default<frmStatus>();
    if (status.Canc) {
        ShowCancelledPage();
        return;
    }
    if (status.Fail) {
        if (forms::MsgBox("Would you like to retry?", forms::mb::RetryCancel, "Operation Failed") ==
            forms::answer::Retry) {
            status.success = false;
            status.Canc = false;
            Sendform = true;
            status.ProgressBar1.SetPosition(0);
            status.Display(*this);
            status.ProgressBar1.SetPosition(0);
            Sendform = false;
            if (status.Fail) {
                forms::MsgBox("The operation has failed", forms::mb::OkOnly | forms::mb::Critical,
                              "Submission Problem");
                ShowFailedPage();
                return;
            }
            if (status.Canc) {
                ShowCancelledPage();
                return;
            }
        } else {
            ShowFailedPage();
            return;
        }
    }
    if (status.success) {
        Label5_2.SetCaption(
            "The website submission has successfully been sent to Orvane Solutions, thankyou for submitting!");
        websub_3.SetCaption("Submission Sent");
        cmdSendviaemail.SetVisible(false);
        Failure.SetVisible(false);
        MoveToPage0(websub_3);
        websub_3.SetVisible(true);
        websub_2.SetVisible(false);
    }
}

void frmQVupd::cmdSendviaemail_Click() {
    forms::ShellOpen({.verb = "Open",
                      .file = "mailto:" + std::string(update::config::kSubmissionsEmail),
                      .directory = forms::ProgramFolder(),
                      .show = SW_SHOWNORMAL,
                      .owner = hWnd()});
}
