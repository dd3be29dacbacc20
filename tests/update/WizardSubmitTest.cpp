#include "tests/update/RawReplyServer.h"
#include "tests/update/WizardFixture.h"

#include "platform/runtime/Answerer.h"

#include <functional>
#include <vector>

namespace {

using qvtest::Route;
using updtest::kPrimary;

constexpr int kOk = forms::mb::OkOnly;

class WizardSubmit : public updtest::WizardTest {
protected:
    // To the submitter's page, past the introduction.
    frmQVupd& ToSubmitter() {
        auto& w = Wizard();
        w.OptSubmitWebsite.SetValue(true);
        w.Command3_Click();
        EXPECT_TRUE(w.websub_0.Visible());
        w.Command3_Click();
        EXPECT_TRUE(w.websub_1.Visible());
        return w;
    }
    void FillSubmitter(frmQVupd& w) {
        const char* values[] = {"Mr", "Jo", "Doe", "jo@x.example", "UK"};
        for (int i = 0; i < 5; ++i) w.txtFields(i).SetText(values[i]);
    }
    void FillSite(frmQVupd& w) {
        w.txtFields(5).SetText("Brushes & tips");
        w.txtFields(6).SetText("http://site.example/");
        w.txtFields(7).SetText("1/1/2020");
        w.txtFields(8).SetText("weekly");
    }
    // Runs fn from the modal loop once the condition holds.
    void When(std::function<bool()> condition, std::function<void()> fn) {
        formstest::Later([this, condition, fn] {
            if (condition()) {
                fn();
            } else {
                When(condition, fn);
            }
        }, 20);
    }
    static constexpr const char* kFormMail = "/cgi-bin/mail/formmail.pl";
};

TEST_F(WizardSubmit, SubmitterChecksInOrder) {
    auto& w = ToSubmitter();
    struct Row {
        const char* fields[5];
        const char* prompt;
        int buttons;
        const char* title;
    };
    const Row rows[] = {
        {{" ", "Jo", "Doe", "jo@x.example", "UK"}, "Please specify your title.", kOk, "QuillviewUpdate"},
        {{"Mr", "Jo", " ", "jo@x.example", "UK"}, "Please specify your first name", kOk, "QuillviewUpdate"},
        {{"Mr", "Jo", "Doe", "", "UK"}, "Please specify your email address", kOk, "QuillviewUpdate"},
        {{"Mr", "Jo", "Doe", "a@b", "UK"}, "Invalid email address!", kOk | forms::mb::Critical, "Invalid Email Address"},
        {{"Mr", "Jo", "Doe", "jo.x.example", "UK"}, "Invalid email address!", kOk | forms::mb::Critical,
         "Invalid Email Address"},
        {{"Mr", "Jo", "Doe", " a@b ", ""}, "Please specify your country", kOk, "QuillviewUpdate"},
    };
    for (const auto& r : rows) {
        for (int i = 0; i < 5; ++i) w.txtFields(i).SetText(r.fields[i]);
        boxes_->ExpectMsgBox(r.prompt, r.buttons, r.title, forms::answer::Ok);
        w.Command3_Click();
        EXPECT_TRUE(w.websub_1.Visible()) << r.prompt;
        EXPECT_EQ(boxes_->Remaining(), 0u) << r.prompt;
    }
    EXPECT_TRUE(forms::GetSetting("QuillviewUpdate", "forminf", "title").empty());
    // Five characters with an "@" pass.
    w.txtFields(3).SetText("a@b.c");
    w.txtFields(4).SetText("UK");
    w.Command3_Click();
    EXPECT_TRUE(w.websub_2.Visible());
}

TEST_F(WizardSubmit, StoredValuesFollowTheSaveBox) {
    forms::SaveSetting("QuillviewUpdate", "forminf", "des", "old description");
    auto& w = ToSubmitter();
    EXPECT_EQ(w.Check1.Value(), 1);
    FillSubmitter(w);
    w.Command3_Click();
    ASSERT_TRUE(w.websub_2.Visible());
    EXPECT_EQ(forms::GetSetting("QuillviewUpdate", "forminf", "email"), "jo@x.example");
    EXPECT_EQ(forms::GetSetting("QuillviewUpdate", "forminf", "save"), "1");
    EXPECT_EQ(w.txtFields(5).Text(), "old description");
    EXPECT_EQ(w.txtFields(6).Text(), "");  // the design text goes
    w.cmdBack_Click();
    ASSERT_TRUE(w.websub_1.Visible());
    w.Check1.SetValue(0);
    w.Command3_Click();
    EXPECT_EQ(forms::GetSetting("QuillviewUpdate", "forminf", "save"), "0");
    for (const char* key : {"title", "fname", "sname", "email", "country"})
        EXPECT_EQ(forms::GetSetting("QuillviewUpdate", "forminf", key, "gone"), "gone") << key;
    EXPECT_EQ(forms::GetSetting("QuillviewUpdate", "forminf", "des"), "old description");
    // The introduction is skipped for good once left with its box ticked.
    w.cmdBack_Click();
    w.cmdBack_Click();
    ASSERT_TRUE(w.websub_0.Visible());
    w.chkDontshow1.SetValue(1);
    w.Command3_Click();
    EXPECT_EQ(forms::GetSetting("QuillviewUpdate", "submission", "notext"), "1");
}

TEST_F(WizardSubmit, PostSucceedsWithTheWholeForm) {
    http_.Add(kPrimary, kFormMail, Route::Text("ok"));
    auto& w = ToSubmitter();
    FillSubmitter(w);
    w.Command3_Click();
    FillSite(w);
    boxes_->ExpectMsgBox("Transfer Successful", kOk | forms::mb::Information, "Success", forms::answer::Ok);
    forms::Default<frmStatus>().DownloadedData = "left from before";
    w.Command3_Click();
    EXPECT_FALSE(forms::Default<frmStatus>().DownloadedData.has_value());  // cleared at the completion
    EXPECT_TRUE(w.websub_3.Visible());
    EXPECT_EQ(w.websub_3.Caption(), "Submission Sent");
    EXPECT_EQ(w.Label5_2.Caption(),
              "The website submission has successfully been sent to Orvane Solutions, thankyou for submitting!");
    EXPECT_EQ(w.Command3.Caption(), "&Restart");
    auto& status = forms::Default<frmStatus>();
    EXPECT_FALSE(status.Visible());
    EXPECT_TRUE(status.IsLoaded());
    ASSERT_EQ(http_.RequestCount(), 1u);
    const auto req = http_.Requests()[0];
    EXPECT_EQ(req.method, "POST");
    EXPECT_EQ(req.host, kPrimary);
    EXPECT_EQ(req.headers.at("content-type"), "application/x-www-form-urlencoded");
    const std::string system = w.GetSystemPath();
    std::string encodedSystem;
    for (const char c : system) {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            encodedSystem += c;
        } else {
            char hex[4];
            snprintf(hex, sizeof hex, "%%%02X", static_cast<unsigned char>(c));
            encodedSystem += hex;
        }
    }
    const std::string expectedStart =
        "email=jo%40x.example&Title=Mr&FirstName=Jo&SecondName=Doe&subject=qvwebsubmission"
        "&recipient=submissions%40orvane.example"
        "&MainText=Country%3AUK+WebsiteURL%3Ahttp%3A%2F%2Fsite.example%2F+HowOftenUpdated%3F%3Aweekly"
        "+LaunchDate%3A1%2F1%2F2020+Description%3ABrushes+%26+tips+end"
        "&InternalInfo=msvbvm60.dll+on+system%3A+False+PathtoMvb6%3A" + encodedSystem + "&Date=";
    EXPECT_EQ(req.body.substr(0, expectedStart.size()), expectedStart);
    EXPECT_NE(req.body.find("&Locale=Unknown+Locale&DataSeg=QuillviewVersionNumber%3A3.0.5"), std::string::npos)
        << req.body;
    w.cmdBack_Click();  // after a success: back to the first page
    EXPECT_TRUE(w.Frame1_0.Visible());
    EXPECT_FALSE(w.cmdBack.Enabled());
}

TEST_F(WizardSubmit, FailureIsRetriedOnce) {
    http_.Add(kPrimary, kFormMail, Route::Text("no", 500, "Internal Server Error"));
    auto& w = ToSubmitter();
    FillSubmitter(w);
    w.Command3_Click();
    FillSite(w);
    boxes_->ExpectMsgBox("500: Internal Server Error", kOk | forms::mb::Critical, "Error", forms::answer::Ok)
        .ExpectMsgBox("Would you like to retry?", forms::mb::RetryCancel, "Operation Failed", forms::answer::Retry)
        .ExpectMsgBox("500: Internal Server Error", kOk | forms::mb::Critical, "Error", forms::answer::Ok)
        .ExpectMsgBox("The operation has failed", kOk | forms::mb::Critical, "Submission Problem", forms::answer::Ok);
    w.Command3_Click();
    EXPECT_EQ(http_.RequestCount(), 2u);
    EXPECT_EQ(w.websub_3.Caption(), "Operation Failed");
    EXPECT_TRUE(w.cmdSendviaemail.Visible());
    w.cmdSendviaemail_Click();
    ASSERT_EQ(opened_.opened.size(), 1u);
    EXPECT_EQ(opened_.opened[0].file, "mailto:submissions@orvane.example");
    w.cmdBack_Click();  // back to the site page, fields kept
    EXPECT_TRUE(w.websub_2.Visible());
    EXPECT_EQ(w.txtFields(5).Text(), "Brushes & tips");
}

TEST_F(WizardSubmit, CancelThenASuccessfulPost) {
    Route held = Route::Text("late");
    held.hold = true;
    http_.Add(kPrimary, kFormMail, held);
    auto& w = ToSubmitter();
    FillSubmitter(w);
    w.Command3_Click();
    FillSite(w);
    auto& status = forms::Default<frmStatus>();
    When([&] { return http_.RequestCount() == 1 && status.Visible(); }, [&] {
        status.cmdCancel_Click();
        EXPECT_FALSE(status.cmdCancel.Enabled());
        EXPECT_TRUE(status.Timer1.Enabled());
        status.Timer1_Timer();
    });
    boxes_->ExpectMsgBox("Are you sure you wish to cancel?", forms::mb::YesNo, "Cancel?", forms::answer::Yes)
        .ExpectMsgBox("899: The connection was cancelled by the user", kOk | forms::mb::Critical, "Error",
                      forms::answer::Ok);
    const DWORD start = GetTickCount();
    w.Command3_Click();
    EXPECT_LT(GetTickCount() - start, 5000u);
    EXPECT_TRUE(status.Canc);
    EXPECT_FALSE(status.Fail);
    EXPECT_FALSE(status.Timer1.Enabled());
    EXPECT_EQ(w.websub_3.Caption(), "Operation Cancelled");
    EXPECT_FALSE(w.cmdSendviaemail.Visible());
    http_.Release();

    // Back to the site page, and the next post is judged on its own.
    http_.Add(kPrimary, kFormMail, Route::Text("ok"));
    w.cmdBack_Click();
    ASSERT_TRUE(w.websub_2.Visible());
    boxes_->ExpectMsgBox("Transfer Successful", kOk | forms::mb::Information, "Success", forms::answer::Ok);
    w.Command3_Click();
    EXPECT_EQ(w.websub_3.Caption(), "Submission Sent");
}

// Answers the cancel question only once the post has succeeded meanwhile, and records every box.
class LateCancelAnswer final : public forms::Answerer {
public:
    explicit LateCancelAnswer(qvtest::TestHttpServer& server) : server_(server) {}
    int MsgBox(const std::string& prompt, int, const std::string&) override {
        prompts.push_back(prompt);
        if (prompt != "Are you sure you wish to cancel?") return forms::answer::Ok;
        server_.Release();
        formstest::PumpUntil([this] { return prompts.back() == "Transfer Successful"; }, 20000);
        return forms::answer::Yes;
    }
    std::string InputBox(const std::string&, const std::string&, const std::string&) override { return {}; }

    std::vector<std::string> prompts;

private:
    qvtest::TestHttpServer& server_;
    forms::ScopedAnswerer scope_{*this};
};

TEST_F(WizardSubmit, ASuccessWhileTheCancelQuestionIsUpIsTheOnlyEnding) {
    Route held = Route::Text("ok");
    held.hold = true;
    http_.Add(kPrimary, kFormMail, held);
    auto& w = ToSubmitter();
    FillSubmitter(w);
    w.Command3_Click();
    FillSite(w);
    auto& status = forms::Default<frmStatus>();
    When([&] { return http_.RequestCount() == 1 && status.Visible(); }, [&] {
        status.cmdCancel_Click();
        status.Timer1_Timer();
    });
    LateCancelAnswer answers(http_);
    w.Command3_Click();
    EXPECT_EQ(answers.prompts, (std::vector<std::string>{"Are you sure you wish to cancel?", "Transfer Successful"}));
    EXPECT_TRUE(status.success);
    EXPECT_FALSE(status.Fail);
    EXPECT_FALSE(status.Canc);
    EXPECT_EQ(w.websub_3.Caption(), "Submission Sent");
}

// A reply whose status line has no readable code ends the post as a failure of its own, never silently.
TEST_F(WizardSubmit, AReplyWithoutAReadableStatusEndsThePost) {
    updtest::RawReplyServer raw("HTTP/1.1 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok");
    qvtest::ProxySetting toRaw(raw.Port());
    auto& status = forms::Default<frmStatus>();
    status.Load();
    boxes_->ExpectMsgBox("763: The server's reply could not be read.", kOk | forms::mb::Critical, "Error",
                         forms::answer::Ok);
    status.SendFormData("a=1");
    ASSERT_TRUE(Pump([&] { return status.Fail; }, 20000));
    EXPECT_EQ(raw.Requests(), 1);
    EXPECT_FALSE(status.success);
    EXPECT_FALSE(status.Net().StillBusy());
}

// Form data the transfer refuses ends the post through the cancel's own event.
TEST_F(WizardSubmit, RefusedDataEndsWithTheCancelsEvent) {
    auto& status = forms::Default<frmStatus>();
    status.Load();
    boxes_->ExpectMsgBox("899: The connection was cancelled by the user", kOk | forms::mb::Critical, "Error",
                         forms::answer::Ok);
    status.SendFormData("   ");
    EXPECT_TRUE(status.Fail);
    EXPECT_EQ(boxes_->Remaining(), 0u);
    EXPECT_EQ(http_.RequestCount(), 0u);
}

TEST_F(WizardSubmit, GiveUpAfterThirtyTicksIsOneQuietFailure) {
    Route held = Route::Text("late");
    held.hold = true;
    http_.Add(kPrimary, kFormMail, held);
    auto& status = forms::Default<frmStatus>();
    status.Load();
    status.Net().NoWrite = true;
    status.Net().Sendform(frmStatus::FormMailAddress(), "a=1");
    ASSERT_TRUE(Pump([&] { return http_.RequestCount() == 1; }));
    // A post asked for while one runs: the running one goes quietly, and Timer2 sends the kept data.
    status.SendFormData("b=2");
    EXPECT_TRUE(status.Timer2.Enabled());
    EXPECT_FALSE(status.Net().StillBusy());
    status.Timer2_Timer();
    ASSERT_TRUE(Pump([&] { return http_.RequestCount() == 2; }));
    EXPECT_EQ(http_.Requests()[1].body, "b=2");
    for (int i = 0; i < 30; ++i) status.Timer2_Timer();
    EXPECT_TRUE(status.Fail);
    EXPECT_FALSE(status.Timer2.Enabled());
    EXPECT_FALSE(status.Net().StillBusy());
    EXPECT_EQ(status.TickCount(), 0);
    formstest::PumpUntil([] { return false; }, 200);  // no late box or event
    EXPECT_TRUE(status.Fail);
    http_.Release();
}

}  // namespace
