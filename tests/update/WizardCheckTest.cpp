#include "tests/update/WizardFixture.h"

#include "platform/runtime/Dates.h"

namespace {

using qvtest::Route;
using updtest::Encoded;
using updtest::kPrimary;
using updtest::OfferScript;

const char* const kCheckFailed =
    "QV Update could not obtain details from the server\r\nThe server could be down, please choose another\r\n"
    "Error Number: 35761";

class WizardCheck : public updtest::WizardTest {};

TEST_F(WizardCheck, NewerVersionIsOffered) {
    http_.Add(kPrimary, "/qvuk1ver.dat", Route::Text(Encoded(OfferScript("http://www.orvane.example/qv306.exe", "5000")) + "\r\n"));
    Check();
    auto& w = Wizard();
    EXPECT_TRUE(w.Frame1_3.Visible());
    EXPECT_FALSE(w.Frame1_1.Visible());
    EXPECT_EQ(w.Text1.Text(), "Faster start\r\nand caf\xC3\xA9");
    EXPECT_EQ(w.lblCapt.Caption(), "Preview of Quillview version 3.0.6...");
    EXPECT_EQ(w.cmdDownload(0).Tag(), "http://www.orvane.example/qv306.exe");
    EXPECT_TRUE(w.cmdDownload(0).Enabled());
    EXPECT_EQ(w.cmdDownload(1).Tag(), "http://www.orvane.example/news");
    EXPECT_EQ(w.DLFileSize, "5000");
    EXPECT_EQ(w.lblServer.Caption(), "Primary UK: www.orvane.example");
    EXPECT_EQ(forms::GetSetting("QuillviewUpdate", "Options", "lastqvupdate"), forms::ShortDateText(forms::Today()));
    ASSERT_EQ(http_.RequestCount(), 1u);
    EXPECT_EQ(http_.Requests()[0].host, kPrimary);
    EXPECT_EQ(http_.Requests()[0].path, "/qvuk1ver.dat");
}

TEST_F(WizardCheck, NothingNewerOrADowngradeOffersNothing) {
    for (const char* version : {"<maj>3</maj><min>0</min><rev>5</rev>", "<maj>2</maj><min>9</min><rev>9</rev>"}) {
        http_.Add(kPrimary, "/qvuk1ver.dat", Route::Text(Encoded(OfferScript("http://x.example/a.exe", "5000", version))));
        Check();
        auto& w = Wizard();
        EXPECT_TRUE(w.Frame1_2.Visible()) << version;
        EXPECT_EQ(w.Command3.Caption(), "&Restart") << version;
        w.Command3_Click();  // back to page 0
        EXPECT_TRUE(w.Frame1_0.Visible()) << version;
        EXPECT_EQ(w.Command3.Caption(), "Next >") << version;
    }
}

TEST_F(WizardCheck, FailedAnswersShowTheTimeoutPage) {
    int gonePort = 0;
    {
        qvtest::TestHttpServer gone;
        gonePort = gone.Port();
    }
    qvtest::TestHttpServer other;
    other.Add("/x", Route::Text(Encoded("<maj>9</maj>")));
    struct Row {
        const char* name;
        Route route;
    };
    const Row rows[] = {
        {"404", Route::Text("<html>missing</html>", 404, "Not Found")},
        {"500", Route::Text(Encoded("<maj>9</maj>"), 500, "Internal Server Error")},
        {"html in capitals", Route::Text("306  HTML")},
        {"letters", Route::Text("abc  306")},
        {"malformed numbers", Route::Text("306  99999999999")},
        {"empty", Route::Text("")},
        {"redirect elsewhere", Route::Redirect(other.Base() + "/x")},
        {"refused", Route::Redirect("http://127.0.0.1:" + std::to_string(gonePort) + "/x")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        forms::DeleteSetting("QuillviewUpdate", "Options", "lastqvupdate");
        http_.Add(kPrimary, "/qvuk1ver.dat", row.route);
        Check();
        auto& w = Wizard();
        EXPECT_TRUE(w.Frame1_5.Visible());
        EXPECT_EQ(w.txtError.Text(), kCheckFailed);
        EXPECT_EQ(w.Command3.Caption(), "&Restart");
        EXPECT_TRUE(w.IgnoreNextError);
        EXPECT_FALSE(forms::GetSetting("QuillviewUpdate", "Options", "lastqvupdate").empty());
        w.Command3_Click();
        EXPECT_TRUE(w.Frame1_0.Visible());
    }
    EXPECT_EQ(other.RequestCount(), 0u);
}

TEST_F(WizardCheck, TestServerKeyMovesOnlyMirrorZero) {
    http_.Add("test.orvane.example", "/qvuk1ver.dat", Route::Text(Encoded("<maj>3</maj><min>0</min><rev>5</rev>~@796941@~")));
    auto& w = Wizard();
    int key = 'F';
    w.Form_KeyPress(key);
    EXPECT_EQ(w.BaseURL, "http://www.orvane.example/");
    // Typed into a field of the submission, "f" is text.
    w.OptSubmitWebsite.SetValue(true);
    w.Command3_Click();
    w.Command3_Click();
    ASSERT_TRUE(w.websub_1.Visible());
    w.txtFields(1).SetFocus();
    ASSERT_EQ(w.ActiveControl(), &w.txtFields(1));
    key = 'f';
    w.Form_KeyPress(key);
    EXPECT_EQ(w.BaseURL, "http://www.orvane.example/");
    w.cmdBack_Click();
    w.cmdBack_Click();
    ASSERT_TRUE(w.Frame1_0.Visible());
    w.Command3.SetFocus();
    key = 'f';
    w.Form_KeyPress(key);
    EXPECT_EQ(w.BaseURL, "http://test.orvane.example/");
    Check();
    ASSERT_EQ(http_.RequestCount(), 1u);
    EXPECT_EQ(http_.Requests()[0].host, "test.orvane.example");
    EXPECT_EQ(w.lblServer.Caption(), "Primary UK: test.orvane.example");
}

TEST_F(WizardCheck, ServerLocRoundTripAndBadValues) {
    struct Row {
        const char* stored;
        int index;
    };
    for (const Row& r : {Row{"3", 3}, Row{"7", 0}, Row{"-1", 0}, Row{"x", 0}}) {
        forms::SaveSetting("QuillviewUpdate", "Server", "ServerLoc", r.stored);
        auto& w = Wizard();
        EXPECT_EQ(w.cboServers.ListIndex(), r.index) << r.stored;
        EXPECT_EQ(forms::GetSetting("QuillviewUpdate", "Server", "ServerLoc"), std::to_string(r.index)) << r.stored;
        w.cboServers.SetListIndex(4);
        EXPECT_EQ(forms::GetSetting("QuillviewUpdate", "Server", "ServerLoc"), "4");
        w.Unload();
        forms::ReleaseDefault<frmQVupd>();
        wizard_ = nullptr;
    }
}

TEST_F(WizardCheck, NextAndBackTable) {
    http_.Add(kPrimary, "/qvuk1ver.dat", Route::Text(Encoded(OfferScript("http://www.orvane.example/a.exe", "5000"))));
    auto& w = Wizard();
    w.cmdBack_Click();  // page 0: only the caption
    EXPECT_EQ(w.Command3.Caption(), "&Next >");
    EXPECT_TRUE(w.Frame1_0.Visible());
    Check();
    ASSERT_TRUE(w.Frame1_3.Visible());
    w.cmdBack_Click();  // page 3 goes back to the checking page, Back stays enabled
    EXPECT_TRUE(w.Frame1_1.Visible());
    EXPECT_TRUE(w.cmdBack.Enabled());
    w.Command3_Click();  // and Next brings page 3 back without a new check
    EXPECT_TRUE(w.Frame1_3.Visible());
    EXPECT_EQ(http_.RequestCount(), 1u);
    w.cmdBack_Click();
    w.cmdBack_Click();
    EXPECT_TRUE(w.Frame1_0.Visible());
    EXPECT_FALSE(w.cmdBack.Enabled());
    for (auto* option : {&w.optImgSites, &w.optFixer}) {
        option->SetValue(true);
        w.Command3.SetCaption("x");
        w.cmdBack_Click();
        EXPECT_EQ(w.Command3.Caption(), "x");
    }
    EXPECT_FALSE(w.cboServers.Enabled());
    w.optImgSites.SetValue(true);
    EXPECT_TRUE(w.cboServers.Enabled());
}

// An offer whose address cannot be used keeps only the download off: Back leads to the first page with its
// buttons as they were first shown, and on to another mirror or task.
TEST_F(WizardCheck, AnUnusableAddressIsNoDeadEnd) {
    http_.Add(kPrimary, "/imguk1.dat", Route::Text(Encoded("http://a.example/<name>Site A", " ")));
    const char* const scripts[] = {
        "<maj>9</maj>~@1@~*{new{*+@5000@+",                                // no address at all
        "<maj>9</maj>~@1@~{{ftp://files.orvane.example/qv.exe}}+@5000@+",  // not http(s)
        "<maj>9</maj>~@1@~{{http://}}+@5000@+",                            // malformed
    };
    for (const char* script : scripts) {
        SCOPED_TRACE(script);
        http_.Add(kPrimary, "/qvuk1ver.dat", Route::Text(Encoded(script)));
        Check();
        auto& w = Wizard();
        ASSERT_TRUE(w.Frame1_3.Visible());
        EXPECT_FALSE(w.cmdDownload(0).Enabled());
        EXPECT_FALSE(w.Command3.Enabled());
        w.cmdBack_Click();
        ASSERT_TRUE(w.Frame1_1.Visible());
        EXPECT_TRUE(w.cmdBack.Enabled());
        EXPECT_TRUE(w.Command3.Enabled());
        w.Command3_Click();  // the offer again, still without its download
        ASSERT_TRUE(w.Frame1_3.Visible());
        EXPECT_FALSE(w.Command3.Enabled());
        w.cmdBack_Click();
        w.cmdBack_Click();
        ASSERT_TRUE(w.Frame1_0.Visible());
        EXPECT_FALSE(w.cmdBack.Enabled());
        EXPECT_TRUE(w.Command3.Enabled());
        EXPECT_TRUE(w.Command1.Enabled());
        w.optImgSites.SetValue(true);
        w.Command3_Click();
        EXPECT_TRUE(w.ImgWeb_0.Visible());
        ASSERT_TRUE(Pump([&] { return w.ImgWeb_2.Visible() || w.ImgWeb_1.Visible() || w.Frame1_5.Visible(); }));
        EXPECT_FALSE(w.Frame1_5.Visible()) << w.txtError.Text();
        w.Command3_Click();
        ASSERT_TRUE(w.Frame1_0.Visible());
    }
}

TEST_F(WizardCheck, RateRingAndItsText) {
    auto& w = Wizard();
    w.BytesReceived = 1000;
    w.timerRate_Timer();  // the first tick only records
    EXPECT_EQ(w.lblRate.Caption(), "Transfer Rate: Working...");
    w.BytesReceived = 2023;
    w.timerRate_Timer();
    EXPECT_EQ(w.lblRate.Caption(), "Transfer Rate: 1023 Bytes per second");
    w.BytesReceived = 3048;  // +1025: average 1024
    w.timerRate_Timer();
    EXPECT_EQ(w.lblRate.Caption(), "Transfer Rate: 1 Kb per second");
    w.timerRate_Timer();  // no new bytes: nothing new
    EXPECT_EQ(w.lblRate.Caption(), "Transfer Rate: 1 Kb per second");
    for (int i = 0; i < 40; ++i) {
        w.BytesReceived += 10 * 1024;
        w.timerRate_Timer();
    }
    EXPECT_EQ(w.RateSamples().size(), 30u);
    EXPECT_EQ(w.lblRate.Caption(), "Transfer Rate: 10 Kb per second");
}

TEST_F(WizardCheck, ExitAsksFirst) {
    auto& w = Wizard();
    boxes_->ExpectMsgBox("Exit Quillview Update?", forms::mb::YesNo | forms::mb::Question, "Exit?", forms::answer::No);
    w.Command1_Click();
    EXPECT_EQ(ended_, 0);
    boxes_->ExpectMsgBox("Exit Quillview Update?", forms::mb::YesNo | forms::mb::Question, "Exit?", forms::answer::Yes);
    w.Command1_Click();
    EXPECT_EQ(ended_, 1);
}

}  // namespace
