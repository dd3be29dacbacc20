#include "tests/update/WizardFixture.h"

#include "lib/services/Client.h"

#include <algorithm>
#include <vector>

namespace {

using qvtest::Route;
using updtest::Encoded;
using updtest::kPrimary;

std::vector<std::string> Entries(const std::string& folder, const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA e{};
    const HANDLE f = FindFirstFileA((folder + pattern).c_str(), &e);
    if (f == INVALID_HANDLE_VALUE) return names;
    do names.push_back(e.cFileName);
    while (FindNextFileA(f, &e));
    FindClose(f);
    return names;
}

class WizardLinks : public updtest::WizardTest {};

TEST_F(WizardLinks, OneRunPerRow) {
    const std::string current = "http://a.example/<name>Site A\r\nhttp://b.example/<name>Site B\r\n";
    const std::string damaged = "Links could not be obtained from the server\r\nThe list the server sent is damaged";
    const std::string down = "Links could not be obtained from the server\r\nThe server could be down";
    struct Row {
        const char* name;
        std::optional<std::string> before;  // QVSetwebs.dat in the per-user folder
        Route answer;
        frmQVupd& (*unused)() = nullptr;
        int endPage;  // 1, 2 or -1 for the error page
        std::string error;
        std::optional<std::string> after;
    };
    const std::string reordered = "http://a.example/<name>Site A\nhttp://b.example/<name>Site B";
    const std::string fewer = "http://a.example/<name>Site A";
    const Row rows[] = {
        {"new file", std::nullopt, Route::Text(Encoded(fewer, " ")), nullptr, 2, "", fewer + "\r\n"},
        {"equal after line ends", current, Route::Text(Encoded(reordered, " ")), nullptr, 1, "", current},
        {"a link removed", current, Route::Text(Encoded(fewer, ", ")), nullptr, 2, "", fewer + "\r\n"},
        {"html", current, Route::Text(Encoded("<HTML>gone</HTML>", " ")), nullptr, -1, down, current},
        {"raw html page", current, Route::Text(std::string(4000, ' ') + "<html>x</html>"), nullptr, -1, damaged,
         current},
        {"malformed numbers", current, Route::Text("306 99999"), nullptr, -1, damaged, current},
        {"not a web tag", current, Route::Text(Encoded("C:\\Windows\\System32\\cmd.exe<name>Run", " ")), nullptr,
         -1, damaged, current},
        {"404", current, Route::Text("<html>no</html>", 404, "Not Found"), nullptr, -1,
         "The file could not be located on the server, or the server is down. No. 758", current},
    };
    const std::string tempFolder = update::Module1::gShell().GetTmpPath();
    const auto tempsBefore = Entries(tempFolder, "qvl*.tmp");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.before) {
            user_.Write("QVSetwebs.dat", *row.before);
        } else {
            DeleteFileA((user_ / "QVSetwebs.dat").c_str());
        }
        http_.Add(kPrimary, "/imguk1.dat", row.answer);
        if (std::string(row.name) == "404") {
            boxes_->ExpectMsgBox("The file could not be located on the server, or the server is down.",
                                 forms::mb::OkOnly | forms::mb::Critical, "Download Error", forms::answer::Ok);
        }
        auto& w = Wizard();
        w.optImgSites.SetValue(true);
        w.cboServers.SetListIndex(0);
        w.Command3_Click();
        EXPECT_TRUE(w.ImgWeb_0.Visible());
        EXPECT_EQ(w.Command3.Caption(), "&Restart");
        w.Command3_Click();  // Restart while the download runs: nothing
        ASSERT_TRUE(Pump([&] { return w.ImgWeb_1.Visible() || w.ImgWeb_2.Visible() || w.Frame1_5.Visible(); }));
        EXPECT_EQ(w.ImgWeb_1.Visible(), row.endPage == 1);
        EXPECT_EQ(w.ImgWeb_2.Visible(), row.endPage == 2);
        EXPECT_EQ(w.Frame1_5.Visible(), row.endPage == -1);
        EXPECT_FALSE(w.ImgWeb_0.Visible());
        if (row.endPage == -1) {
            EXPECT_EQ(w.txtError.Text(), row.error);
        }
        if (row.after) {
            EXPECT_EQ(user_.Read("QVSetwebs.dat"), *row.after);
        } else {
            EXPECT_EQ(GetFileAttributesA((user_ / "QVSetwebs.dat").c_str()), INVALID_FILE_ATTRIBUTES);
        }
        // Nothing goes to the program folder, which a user cannot write.
        EXPECT_EQ(GetFileAttributesA((program_ / "QVSetwebs.dat").c_str()), INVALID_FILE_ATTRIBUTES);
        // No temporary file of this run stays (a dead run's leftovers may go at its start).
        for (const auto& name : Entries(tempFolder, "qvl*.tmp"))
            EXPECT_NE(std::find(tempsBefore.begin(), tempsBefore.end(), name), tempsBefore.end()) << name;
        EXPECT_EQ(Entries(user_.Path() + "\\", "qv*.tmp").size(), 0u);
        w.Command3_Click();  // Restart from the end page
        EXPECT_TRUE(w.Frame1_0.Visible());
        EXPECT_EQ(w.Command3.Caption(), "&Next >");
        EXPECT_EQ(w.ProgressBar3.Position(), w.ProgressBar3.Min());  // 0, kept within the range
    }
}

TEST_F(WizardLinks, ServersZeroAndOneFetchTheSameName) {
    const std::string list = Encoded("http://a.example/<name>A", " ");
    http_.Add(kPrimary, "/imguk1.dat", Route::Text(list));
    http_.Add("uk2.orvane-mirror.example", "/imguk1.dat", Route::Text(list));
    http_.Add("us2.orvane-mirror.example", "/imgus2.dat", Route::Text(list));
    auto& w = Wizard();
    for (const int server : {0, 1, 4}) {
        w.optImgSites.SetValue(true);
        w.cboServers.SetListIndex(server);
        w.Command3_Click();
        ASSERT_TRUE(Pump([&] { return w.ImgWeb_1.Visible() || w.ImgWeb_2.Visible() || w.Frame1_5.Visible(); }));
        w.Command3_Click();
    }
    const auto requests = http_.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].host + requests[0].path, "www.orvane.example/imguk1.dat");
    EXPECT_EQ(requests[1].host + requests[1].path, "uk2.orvane-mirror.example/imguk1.dat");
    EXPECT_EQ(requests[2].host + requests[2].path, "us2.orvane-mirror.example/imgus2.dat");
    EXPECT_EQ(w.lblSvr.Caption(), "Secondary US: us2.orvane-mirror.example");
}

}  // namespace
