#pragma once
// The update wizard, the update program's main window: pages stacked in one place (Frame1 for the program
// update, ImgWeb for the links update, websub for the web-site submission) with Back, Next and Exit below.
// The handlers are split by task: the window and its navigation (frmQVupd.cpp), the version check
// (frmQVupd_Check.cpp), the download (frmQVupd_Download.cpp), the links (frmQVupd_Links.cpp) and the
// submission (frmQVupd_Submit.cpp).

#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"
#include "platform/forms/Timer.h"
#include "platform/forms/controls/CheckBox.h"
#include "platform/forms/controls/ComboBox.h"
#include "platform/forms/controls/CommandButton.h"
#include "platform/forms/controls/Frame.h"
#include "platform/forms/controls/Label.h"
#include "platform/forms/controls/OptionButton.h"
#include "platform/forms/controls/TextBox.h"
#include "update/ProgressBar.h"
#include "update/clsInternet.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class frmQVupd : public forms::Form {
    // Page geometry: every page sits where page 0 does.
    static constexpr forms::Extent kPage{120, 60, 6135, 3615};
    static forms::FrameDesign Page(const char* caption) { return {.Caption = caption}; }
    static forms::Common Hidden() { return {.Visible = false}; }

public:
    frmQVupd();

    // ---- Page 0: welcome ----
    forms::Frame Frame1_0{*this, "Frame1", kPage, Page("Welcome to Quillview Update!")};
    forms::Label lblWelcome1{Frame1_0, "Label1", {240, 300, 5655, 255},
                             {.Caption = "This wizard will guide you through updating Quillview"}};
    forms::Label lblWelcome2{Frame1_0, "Label2", {240, 660, 5655, 255},
                             {.Caption = "Please select below what you would like to do -"}};
    forms::OptionButton optQVUpd{Frame1_0, "optQVUpd", {360, 960, 5535, 255},
                                 {.Caption = "Update Quillview to the newest version available", .Value = true}};
    forms::OptionButton optImgSites{Frame1_0, "optImgSites", {360, 1260, 5535, 255},
                                    {.Caption = "Update Quillview graphics websites menu to all the latest links"}};
    forms::OptionButton OptSubmitWebsite{Frame1_0, "OptSubmitWebsite", {360, 1560, 5535, 255},
                                         {.Caption = "Submit a graphics website for inclusion in the graphics menu"}};
    forms::OptionButton optFixer{Frame1_0, "optFixer", {360, 1860, 5535, 255}, {.Caption = "Fix Quillview Installation"}};
    forms::Label lblServers{Frame1_0, "Label3", {240, 2280, 5655, 255},
                            {.Caption = "Please choose a server for the fastest connection to where you are:"}};
    forms::ComboBox cboServers{Frame1_0, "cboServers", {360, 2640, 4215, 315},
                               {.List = {"Primary U.K. Server (for UK citizens)", "Secondary U.K. Server (backup)",
                                         "Tertiary U.K. Server (backup)", "Primary U.S. Server (for US citizens)",
                                         "Secondary U.S. Server (backup)"}}};

    // ---- Page 1: checking ----
    forms::Frame Frame1_1{*this, "Frame1", kPage, Page("Checking For Updates"), Hidden()};
    update::ProgressBar ProgressBar1{Frame1_1, "ProgressBar1", {240, 360, 5655, 255}, {.Smooth = true}};
    forms::Label lblServerCaption{Frame1_1, "Label4", {240, 840, 855, 255}, {.Caption = "Server:"}};
    forms::Label lblServer{Frame1_1, "lblServer", {1200, 840, 4695, 255}, {.UseMnemonic = false}};
    forms::Label lblStatusCaption{Frame1_1, "Label5", {240, 1200, 855, 255}, {.Caption = "Status:"}};
    forms::Label lblStatus{Frame1_1, "lblStatus", {1200, 1200, 4695, 255},
                           {.Caption = "Connecting to server...", .UseMnemonic = false}};
    forms::Label lblTimeout{Frame1_1, "lblTimeout", {240, 1560, 5655, 255}};
    forms::Label lblFailHint{Frame1_1, "Label6", {240, 2400, 5655, 495},
                             {.Caption = "If this connection fails you can select a different server to contact"}};

    // ---- Page 2: no updates ----
    forms::Frame Frame1_2{*this, "Frame1", kPage, Page("No Updates Are Available"), Hidden()};
    forms::Label lblNoUpdateMessage{
        Frame1_2, "lblNoUpdateMessage", {240, 360, 5655, 495},
        {.Caption = "No updates have been detected, you have the latest version of Quillview available"}};
    forms::Label lblKeepChecking{Frame1_2, "Label7", {240, 1080, 5655, 255},
                                 {.Caption = "Please keep checking on a regular basis"}};

    // ---- Page 3: updates available ----
    forms::Frame Frame1_3{*this, "Frame1", kPage, Page("Updates Are Available!"), Hidden()};
    forms::TextBox Text1{Frame1_3, "Text1", {240, 600, 5655, 2175},
                         {.Text = "Download the latest version of Quillview NOW!", .MultiLine = true,
                          .ScrollBars = forms::scrollbars::Vertical, .Locked = true}};
    forms::Label lblCapt{Frame1_3, "lblCapt", {240, 300, 5655, 255},
                         {.Caption = "A preview of the next version of Quillview....", .UseMnemonic = false}};
    forms::ControlArray<forms::CommandButton> cmdDownload{
        Frame1_3,
        "cmdDownload",
        {{0, {{240, 3000, 2535, 375}, {.Caption = "Download Now!"}}},
         {1, {{3360, 3000, 2535, 375}, {.Caption = "Visit Quillview Website!"},
              {.ToolTipText = "for more information visit the QV website"}}}}};

    // ---- Page 4: downloading ----
    forms::Frame Frame1_4{*this, "Frame1", kPage, Page("Downloading"), Hidden()};
    update::ProgressBar ProgressBar2{Frame1_4, "ProgressBar2", {240, 360, 5655, 255}, {.Smooth = true}};
    forms::Label lblDLStatus{Frame1_4, "lblDLStatus", {240, 780, 5655, 255},
                             {.Caption = "Connecting to server....", .UseMnemonic = false}};
    forms::Label lblSaveto{Frame1_4, "lblSaveto", {240, 1140, 5655, 495},
                           {.Caption = "Downloading to:", .UseMnemonic = false}};
    forms::Label lblBytesRec{Frame1_4, "lblBytesRec", {240, 1740, 5655, 255}, {.Caption = "Bytes Received:"}};
    forms::Label lblRate{Frame1_4, "lblRate", {240, 2100, 5655, 255}, {.Caption = "Transfer Rate: Working..."}};
    forms::CheckBox chkHangup{Frame1_4, "chkHangup", {240, 2640, 3255, 255}, {.Caption = "Hang-up when downloaded"}};
    forms::CommandButton cmdCancelDL{Frame1_4, "cmdCancelDL", {4680, 2580, 1215, 375}, {.Caption = "Cancel"}};

    // ---- Page 5: error ----
    forms::Frame Frame1_5{*this, "Frame1", kPage, Page("Download Error"), Hidden()};
    forms::Label lblErrors{Frame1_5, "Label8", {240, 300, 5655, 255},
                           {.Caption = "Error(s) were encountered while downloading."}};
    forms::Label lblDetails{Frame1_5, "Label9", {240, 660, 5655, 255}, {.Caption = "Details:"}};
    forms::TextBox txtError{Frame1_5, "txtError", {240, 960, 5655, 1815},
                            {.Text = "The user cancelled the download.\r\n \r\n", .MultiLine = true,
                             .ScrollBars = forms::scrollbars::Vertical, .Locked = true}};
    forms::Label lblRestartHint{Frame1_5, "Label10", {240, 3000, 5655, 255},
                                {.Caption = "Click 'Restart' to choose another server if necessary."}};

    // ---- Page 6: downloaded ----
    forms::Frame Frame1_6{*this, "Frame1", kPage, Page("Updates Downloaded"), Hidden()};
    forms::Label lblDone1{Frame1_6, "Label11", {240, 360, 5655, 495},
                          {.Caption = "Quillview Update has successfully downloaded updates! Enjoy...."}};
    forms::Label lblDone2{Frame1_6, "Label12", {240, 1080, 5655, 255},
                          {.Caption = "Quillview Update will quit automatically for updating."}};

    // ---- Links pages ----
    forms::Frame ImgWeb_0{*this, "ImgWeb", kPage, Page("Update Quillview Links"), Hidden()};
    forms::Label lblLinksChecking{ImgWeb_0, "Label13", {240, 300, 5655, 255},
                                  {.Caption = "Quillview is now checking for new links..."}};
    forms::Label lblSvrStatus{ImgWeb_0, "lblSvrStatus", {240, 660, 5655, 255}, {.Caption = "Status", .UseMnemonic = false}};
    forms::Label lblLinksQuick{ImgWeb_0, "Label14", {240, 1020, 5655, 255}, {.Caption = "This download will not take long"}};
    forms::Label lblSvr{ImgWeb_0, "lblSvr", {240, 1380, 5655, 255}, {.Caption = "Server:", .UseMnemonic = false}};
    update::ProgressBar ProgressBar3{ImgWeb_0, "ProgressBar3", {240, 1800, 5655, 255}, {.Smooth = true, .Min = 1}};
    forms::Label lblTimeout2{ImgWeb_0, "lblTimeout2", {240, 2220, 5655, 255}};
    forms::CheckBox chkHangup2{ImgWeb_0, "chkHangup2", {240, 2700, 3255, 255}, {.Caption = "Hang-up when finished"}};

    forms::Frame ImgWeb_1{*this, "ImgWeb", kPage, Page("No Updated Links Are Available"), Hidden()};
    forms::Label lblNoLinks1{ImgWeb_1, "Label15", {240, 360, 5655, 495},
                             {.Caption = "No new links were detected, you have the latest Quillview Links available"}};
    forms::Label lblNoLinks2{ImgWeb_1, "Label16", {240, 1080, 5655, 255},
                             {.Caption = "The links are usually updated monthly, check back soon!"}};

    forms::Frame ImgWeb_2{*this, "ImgWeb", kPage, Page("Links Updated Successfully"), Hidden()};
    forms::Label lblLinksDone1{
        ImgWeb_2, "Label17", {240, 360, 5655, 735},
        {.Caption = "Your Quillview Links were updated successfully - you now have the latest and best imaging "
                    "website's links in the Quillview Go -> Imaging Sites menu."}};
    forms::Label lblLinksDone2{ImgWeb_2, "Label18", {240, 1320, 5655, 255},
                               {.Caption = "The links are usually updated monthly, check back soon!"}};

    // ---- Submission pages ----
    forms::Frame websub_0{*this, "websub", kPage, Page("Submit a graphics website"), Hidden()};
    forms::Label lblSubmit1{websub_0, "Label19", {240, 300, 5655, 255},
                            {.Caption = "Do you think your graphics website deserves more attention?  "}};
    forms::Label lblSubmit2{websub_0, "Label20", {240, 600, 5655, 735},
                            {.Caption = "Now you can graphics websites directly to Orvane Solutions for review and "
                                        "possible inclusion in the graphics menu links. If you haven't submitted "
                                        "before please read the following"}};
    forms::TextBox Text3{websub_0, "Text3", {240, 1380, 5655, 1695},
                         {.Text = "If you've used Quillview Update for updating the graphics menu you will have seen "
                                  "the links we offer. Every link submitted is reviewed first; when your site is "
                                  "accepted you get a notification e-mail, and it normally stays about one month on "
                                  "the menu.",
                          .MultiLine = true, .ScrollBars = forms::scrollbars::Vertical, .Locked = true}};
    forms::CheckBox chkDontshow1{websub_0, "chkDontshow1", {240, 3180, 3855, 255},
                                 {.Caption = "Don't show this screen again"}};

    forms::Frame websub_1{*this, "websub", kPage, Page("Submit a graphics website"), Hidden()};
    forms::Label lblDetails1{websub_1, "Label21", {240, 300, 5655, 255},
                             {.Caption = "To submit a website you'll need to provide the following details us:- "}};
    forms::Label lblTitle{websub_1, "Label22", {240, 720, 1695, 255}, {.Caption = "Title:"}};
    forms::TextBox txtFields0{websub_1, "txtFields", {2040, 720, 855, 285}};
    forms::Label lblFname{websub_1, "Label23", {240, 1140, 1695, 255}, {.Caption = "First Name:"}};
    forms::TextBox txtFields1{websub_1, "txtFields", {2040, 1140, 3615, 285}};
    forms::Label lblSname{websub_1, "Label24", {240, 1560, 1695, 255}, {.Caption = "Second Name:"}};
    forms::TextBox txtFields2{websub_1, "txtFields", {2040, 1560, 3615, 285}};
    forms::Label lblEmail{websub_1, "Label25", {240, 1980, 1695, 255}, {.Caption = "Email Address:"}};
    forms::TextBox txtFields3{websub_1, "txtFields", {2040, 1980, 3615, 285}};
    forms::Label lblCountry{websub_1, "Label26", {240, 2400, 1695, 255}, {.Caption = "Country:"}};
    forms::TextBox txtFields4{websub_1, "txtFields", {2040, 2400, 3615, 285}};
    forms::CheckBox Check1{websub_1, "Check1", {240, 2880, 3255, 255}, {.Caption = "Save this form's data "}};

    forms::Frame websub_2{*this, "websub", kPage, Page("Submit a graphics website"), Hidden()};
    forms::Label lblDetails2{websub_2, "Label27", {240, 300, 5655, 255},
                             {.Caption = "To submit a website you'll need to provide the following details us:- "}};
    forms::Label lblDes{websub_2, "Label28", {240, 600, 5655, 255},
                        {.Caption = "Please describe the website's contents:"}};
    forms::TextBox txtFields5{websub_2, "txtFields", {240, 900, 5655, 855},
                              {.MultiLine = true, .ScrollBars = forms::scrollbars::Vertical}};
    forms::Label lblUrl{websub_2, "Label29", {240, 1860, 2535, 255}, {.Caption = "Website URL:"}};
    forms::TextBox txtFields6{websub_2, "txtFields", {2880, 1860, 3015, 285}, {.Text = "http://"}};
    forms::Label lblLnc{websub_2, "Label30", {240, 2280, 2535, 255}, {.Caption = "When was the site launched?"}};
    forms::TextBox txtFields7{websub_2, "txtFields", {2880, 2280, 3015, 285}, {.Text = "day/month/year"}};
    forms::Label lblUpd{websub_2, "Label31", {240, 2700, 2535, 255}, {.Caption = "How often is it updated?"}};
    forms::TextBox txtFields8{websub_2, "txtFields", {2880, 2700, 3015, 285}};

    forms::Frame websub_3{*this, "websub", kPage, Page("Operation Failed"), Hidden()};
    forms::Label Label5_2{websub_3, "Label5", {240, 360, 5655, 1215}, {.UseMnemonic = false}};
    forms::CommandButton cmdSendviaemail{websub_3, "cmdSendviaemail", {240, 1800, 1815, 375},
                                         {.Caption = "Send via email"}};
    forms::Label Failure{websub_3, "Failure", {240, 2400, 5655, 495}, {.UseMnemonic = false}};

    // ---- Buttons and timers ----
    forms::CommandButton cmdBack{*this, "cmdBack", {2520, 3840, 1215, 375}, {.Caption = "< Back"}, {.Enabled = false}};
    forms::CommandButton Command3{*this, "Command3", {3780, 3840, 1215, 375}, {.Caption = "Next >", .Default = true}};
    forms::CommandButton Command1{*this, "Command1", {5040, 3840, 1215, 375}, {.Caption = "Exit"}};
    forms::Timer Timerout{*this, "Timerout", {.Interval = 1000, .Enabled = false}};
    forms::Timer timerRate{*this, "timerRate", {.Interval = 1000, .Enabled = false}};
    forms::Timer Timer2{*this, "Timer2", {.Interval = 5000, .Enabled = false}};

    // The pages by index.
    forms::Frame& Frame1(int index);
    int Frame1UBound() const { return 6; }
    forms::Frame& ImgWeb(int index);
    forms::Frame& websub(int index);
    forms::TextBox& txtFields(int index);

    // Set by the start before an entry point runs.
    std::string QVMajVer, QVMinVer, QVRevVer;
    // The submission's hand-over to frmStatus.
    bool Sendform = false;
    std::string FrmDat;

    // Entry points of the start.
    void ShowWizard();
    void UpdateLinksCmd();
    void SubmitWebCmd();
    void UpdateQVcmd();

    // ---- State (public for the tests that drive the handlers) ----
    std::string BaseURL;
    std::string DLFileSize;
    std::int32_t BytesReceived = 0;
    std::string SavePath;
    bool IgnoreNextError = false;
    std::unique_ptr<update::clsInternet> InetUpdv;
    std::unique_ptr<update::clsInternet> Netur;
    std::string OldLinks;

    // Handlers and steps.
    void Form_Load() override;
    void Form_KeyPress(int& KeyAscii) override;
    void Form_Unload(int& Cancel) override;
    void cboServers_Click();
    void Command3_Click();
    void cmdBack_Click();
    void Command1_Click();
    void optQVUpd_Click();
    void optImgSites_Click();
    void OptSubmitWebsite_Click();
    void optFixer_Click();
    void Timerout_Timer();
    void timerRate_Timer();
    void Timer2_Timer();
    void UpdateWizardStep(int Direction, const std::string& ServerLabel);
    void ShowError();
    std::string GetSystemPath() const;
    std::string ServerLabel() const;

    // The version check.
    void CheckForUpdate();
    // The download and run.
    void StartDownload(const std::string& DownloadURL);
    void cmdDownload_Click(int Index);
    void cmdCancelDL_Click();
    void InetUpdv_Status(const std::string& Mssage, std::int32_t Length);
    void InetUpdv_Disconnected();
    void InetUpdv_Downloaded();
    void InetUpdv_Error(std::int32_t ErrorNumber, const std::string& ErrInf);
    void HangupIfChecked();
    // The links update.
    void LinksWizardStep(int Direction, const std::string& ServerLabel);
    void DownloadLinks(const std::string& URL);
    void Netur_Status(const std::string& Mssage, std::int32_t Length);
    void Netur_Downloaded();
    void Netur_Error(std::int32_t ErrorNumber, const std::string& ErrInf);
    // The submission.
    void SubmitWebStep(int Direction);
    void cmdSendviaemail_Click();

    // Every way out: cancels every transfer and removes every temporary file of this run.
    void EndTransfers();

    // The base address of a mirror (mirror 0: BaseURL); "" outside 0-4.
    std::string MirrorBase(int index) const;
    // The package's temporary file while it downloads ("" when none).
    const std::string& DownloadTemp() const { return downloadTemp_; }
    const std::vector<std::int32_t>& RateSamples() const { return rateSamples_; }

private:
    void MoveToPage0(forms::Control& page);
    void ShowPage(forms::Frame& page);
    void SetNextCaption(const std::string& caption) { Command3.SetCaption(caption); }
    void ResetRate();
    void ShowProgress(const std::string& Mssage, std::int32_t Length);
    void ShowHeldProgress();
    void DropDownloadTemp();
    void DropLinksTemp();
    void SubmitterFill();
    void JudgeSubmission();
    void ShowCancelledPage();
    void ShowFailedPage();
    update::clsInternet& FormNet();

    // Transfer-rate statics.
    std::int32_t lastBytes_ = 0;
    std::vector<std::int32_t> rateSamples_;
    std::int32_t rateSlot_ = 0;
    // Progress reported while a transfer runs is shown at most every kProgressInterval; the latest report
    // waits here meanwhile.
    static constexpr std::chrono::milliseconds kProgressInterval{30};
    std::chrono::steady_clock::time_point progressShown_{};
    std::optional<std::pair<std::string, std::int32_t>> heldProgress_;
    std::string downloadTemp_;
    std::string linksTemp_;
    std::unique_ptr<update::clsInternet> formNet_;
};
