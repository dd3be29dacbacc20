#include "tests/update/SaveDialog.h"
#include "tests/update/WizardFixture.h"
#include "update/LeftTemporaryFiles.h"

#include "platform/runtime/Dates.h"
#include "platform/runtime/OwnedHandles.h"
#include "platform/runtime/Shell.h"
#include "platform/runtime/Strings.h"

#include <vector>

namespace {

using qvtest::Route;
using updtest::Encoded;
using updtest::Executable;
using updtest::kPrimary;
using updtest::OfferScript;

std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA e{};
    const HANDLE f = FindFirstFileA((folder + "\\*").c_str(), &e);
    if (f == INVALID_HANDLE_VALUE) return names;
    do {
        if (std::string(e.cFileName) != "." && std::string(e.cFileName) != "..") names.push_back(e.cFileName);
    } while (FindNextFileA(f, &e));
    FindClose(f);
    std::sort(names.begin(), names.end());
    return names;
}

class WizardDownload : public updtest::WizardTest {
protected:
    // The check offers the package at `address` with the announced size; the wizard is then on page 3.
    void Offer(const std::string& address, const std::string& size) {
        http_.Add(kPrimary, "/qvuk1ver.dat", Route::Text(Encoded(OfferScript(address, size))));
        Check();
        ASSERT_TRUE(Wizard().Frame1_3.Visible());
    }
    bool Ended(frmQVupd& w) { return w.Frame1_6.Visible() || w.Frame1_5.Visible(); }
};

TEST_F(WizardDownload, PackageIsSavedWithItsReadmeAndStarted) {
    const std::string package = Executable(200000);
    http_.Add(kPrimary, "/files/qv306.exe", Route::Text(package));
    Offer("http://www.orvane.example/files/qv306.exe", std::to_string(package.size()));
    auto& w = Wizard();
    updtest::SaveDialog dialog(downloads_ / "qv306");  // the extension is added
    w.Command3_Click();
    ASSERT_TRUE(Pump([&] { return Ended(w); }));
    ASSERT_TRUE(w.Frame1_6.Visible()) << w.txtError.Text();
    EXPECT_EQ(dialog.Title(), "Save Update to...");
    EXPECT_EQ(w.SavePath, downloads_ / "qv306.exe");
    EXPECT_EQ(downloads_.Read("qv306.exe"), package);
    EXPECT_EQ(downloads_.Read("Readme.txt"),
              "Readme file for qv306.exe\r\n"
              "This file contains an upgrade to Quillview, it does not have the full program. Please go to "
              "http://www.orvane.example/ for the full program!\r\n"
              "Update Downloaded by Quillview Update on: " + forms::ShortDateText(forms::Today()) + "\r\n"
              "support@orvane.example\r\n");
    ASSERT_EQ(opened_.opened.size(), 1u);
    EXPECT_EQ(opened_.opened[0].file, downloads_ / "qv306.exe");
    EXPECT_EQ(opened_.opened[0].show, SW_SHOWNORMAL);
    EXPECT_TRUE(w.Timer2.Enabled());
    EXPECT_EQ(Entries(downloads_.Path()), (std::vector<std::string>{"Readme.txt", "qv306.exe"}));
    EXPECT_EQ(w.lblBytesRec.Caption(), "Downloaded: 195 Kb out of 195");
    EXPECT_EQ(w.ProgressBar2.Position(), 100);
}

// Opens that fail as the shell says: each known reason has its text, any other the empty one.
class FailingOpener final : public forms::ShellOpener {
public:
    explicit FailingOpener(DWORD error) : error_(error) {}
    bool Open(const forms::ShellOpenRequest&) override {
        SetLastError(error_);
        return false;
    }

private:
    DWORD error_;
    forms::ScopedShellOpener scope_{*this};
};

TEST_F(WizardDownload, AFailedOpenShowsTheShellsReason) {
    struct Row {
        DWORD error;
        std::string text;
    };
    const Row rows[] = {
        {ERROR_FILE_NOT_FOUND, "Uninstaller Not Found"},
        {ERROR_NO_ASSOCIATION, "No application found for this file"},
        {ERROR_INVALID_FUNCTION, ""},
    };
    const std::string package = Executable(10000);
    http_.Add(kPrimary, "/qv.exe", Route::Text(package));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.error);
        FailingOpener opener(row.error);
        Offer("http://www.orvane.example/qv.exe", "10000");
        auto& w = Wizard();
        {
            updtest::SaveDialog dialog(downloads_ / "qv.exe");
            w.Command3_Click();
            ASSERT_TRUE(Pump([&] { return w.Frame1_5.Visible(); }));
        }
        EXPECT_EQ(w.txtError.Text(), row.text + ". For support email support@orvane.example");
        w.Command3_Click();  // Restart
    }
}

// A completion whose file is gone shows only its own text, not what an earlier failure left in the box.
TEST_F(WizardDownload, AMissingPackageShowsOnlyItsOwnText) {
    auto& w = Wizard();
    w.txtError.SetText("an earlier failure");
    w.InetUpdv_Downloaded();
    EXPECT_TRUE(w.Frame1_5.Visible());
    EXPECT_EQ(w.txtError.Text(),
              "\r\n\r\nThe downloaded update could not be opened! Cancelled connection?\r\nError Number 678");
}

TEST_F(WizardDownload, AFailedOpenLeavesTheErrorPageAndNoEndTimer) {
    const std::string package = Executable(10000);
    http_.Add(kPrimary, "/qv.exe", Route::Text(package));
    Offer("http://www.orvane.example/qv.exe", "10000");
    opened_.succeed = false;
    // A readme of the user's own stays as it is.
    downloads_.Write("Readme.txt", "my notes");
    auto& w = Wizard();
    updtest::SaveDialog dialog(downloads_ / "qv.exe");
    w.Command3_Click();
    ASSERT_TRUE(Pump([&] { return w.Frame1_5.Visible(); }));
    EXPECT_FALSE(w.Timer2.Enabled());
    EXPECT_EQ(w.txtError.Text().find(". For support email support@orvane.example") != std::string::npos, true)
        << w.txtError.Text();
    EXPECT_EQ(downloads_.Read("Readme.txt"), "my notes");
    EXPECT_EQ(downloads_.Read("qv.exe"), package);
}

TEST_F(WizardDownload, FailuresKeepTheUsersFileAndLeaveNothingBehind) {
    qvtest::TestHttpServer other;
    other.Add("/qv.exe", Route::Text(Executable(10000)));
    const std::string package = Executable(10000);
    std::string html = "<html><body>" + std::string(9000, 'x') + "</body></html>";
    html.resize(10000, ' ');
    Route cut = Route::Text(package);
    cut.cutAfter = 4000;
    Route held = Route::Text(package);
    held.hold = true;
    const std::string notFound =
        "The file could not be located on the server, or the server is down. No. 758\r\nThis could be because the "
        "server may no longer be in use or we may be testing the update system\r\nPlease choose another server";
    struct Row {
        const char* name;
        Route route;
        std::string size;
        std::string text;
        bool box758 = false;
        bool cancel = false;
    };
    const Row rows[] = {
        {"404", Route::Text("<html>no</html>", 404, "Not Found"), "10000", notFound, true},
        {"500", Route::Text(package, 500, "Internal Server Error"), "10000", notFound, true},
        {"cut short", cut, "10000",
         "The download was not complete: the connection closed before the whole file arrived. Error number: 759"},
        {"size differs", Route::Text(package), "12000",
         "The downloaded file is not the size the update server announced. Error number: 760"},
        {"html served as exe", Route::Text(html), "10000",
         "The downloaded file is not an update package of the kind its name says. Error number: 761"},
        {"redirect elsewhere", Route::Redirect(other.Base() + "/qv.exe"), "10000",
         "The server sent the request on to another address, which Quillview Update does not follow. Error "
         "number: 762"},
        {"cancel", held, "10000", "The connection was cancelled by the user Error number: 899", false, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        downloads_.Write("qv.exe", "the user's old file");
        http_.Add(kPrimary, "/qv.exe", row.route);
        Offer("http://www.orvane.example/qv.exe", row.size);
        auto& w = Wizard();
        if (row.box758) {
            boxes_->ExpectMsgBox("The file could not be located on the server, or the server is down.",
                                 forms::mb::OkOnly | forms::mb::Critical, "Download Error", forms::answer::Ok);
        }
        {
            updtest::SaveDialog dialog(downloads_ / "qv.exe");
            w.Command3_Click();
            if (row.cancel) {
                ASSERT_TRUE(Pump([&] { return http_.RequestCount() >= 2 && w.InetUpdv->StillBusy(); }));
                const DWORD start = GetTickCount();
                w.cmdCancelDL_Click();
                EXPECT_LT(GetTickCount() - start, 1000u);
            }
            ASSERT_TRUE(Pump([&] { return Ended(w); }));
        }
        EXPECT_TRUE(w.Frame1_5.Visible());
        EXPECT_EQ(w.txtError.Text(), row.text);
        EXPECT_EQ(downloads_.Read("qv.exe"), "the user's old file");
        EXPECT_EQ(Entries(downloads_.Path()), std::vector<std::string>{"qv.exe"});
        EXPECT_TRUE(opened_.opened.empty());
        w.Command3_Click();  // Restart
        EXPECT_TRUE(w.Frame1_0.Visible());
        http_.Release();
    }
    EXPECT_EQ(other.RequestCount(), 0u);
}

// With no numeric size from the server, a download that grows past the limit stops as a wrong size.
TEST_F(WizardDownload, ADownloadWithoutAStatedSizeStopsAtTheLimit) {
    Route endless = Route::Text(Executable(300000));
    endless.chunked = true;  // no length announced either
    http_.Add(kPrimary, "/qv.exe", endless);
    downloads_.Write("qv.exe", "the user's old file");
    Offer("http://www.orvane.example/qv.exe", "");
    auto& w = Wizard();
    w.InetUpdv->MaxDownloadBytes = 100000;
    updtest::SaveDialog dialog(downloads_ / "qv.exe");
    w.Command3_Click();
    ASSERT_TRUE(Pump([&] { return Ended(w); }));
    EXPECT_TRUE(w.Frame1_5.Visible());
    EXPECT_EQ(w.txtError.Text(), "The downloaded file is not the size the update server announced. Error number: 760");
    EXPECT_EQ(downloads_.Read("qv.exe"), "the user's old file");
    EXPECT_EQ(Entries(downloads_.Path()), std::vector<std::string>{"qv.exe"});
    EXPECT_TRUE(opened_.opened.empty());
    EXPECT_EQ(update::clsInternet::kMaxDownloadBytes, std::uint64_t{1} << 30);
}

// Every way out during a download or a links run ends the transfer and leaves no temporary file of this run,
// neither the wizard's nor the transfer's own.
TEST_F(WizardDownload, EveryWayOutLeavesNoTemporaryFile) {
    enum class Way { Exit, CloseBox, ProgramEnd, ErrorPath };
    struct Row {
        const char* name;
        Way way;
        bool links;
    };
    const Row rows[] = {
        {"download, Exit", Way::Exit, false},           {"download, close box", Way::CloseBox, false},
        {"download, program end", Way::ProgramEnd, false}, {"download, cancel", Way::ErrorPath, false},
        {"links, Exit", Way::Exit, true},               {"links, close box", Way::CloseBox, true},
        {"links, program end", Way::ProgramEnd, true},  {"links, refused answer", Way::ErrorPath, true},
    };
    const std::string temp = update::Module1::gShell().GetTmpPath();
    const auto ours = [&] {
        auto names = Entries(temp);
        std::erase_if(names, [](const std::string& n) {
            return !update::IsTemporaryName(n, "qv") && !update::IsTemporaryName(n, "qvl") &&
                   !update::IsTemporaryName(n, "qvp") && !update::IsTemporaryName(n, "qvd");
        });
        return names;
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto tempBefore = ours();
        downloads_.Write("qv.exe", "the user's old file");
        Route held = row.links ? Route::Text("<html>gone</html>", 404, "Not Found") : Route::Text(Executable(10000));
        held.hold = true;
        auto& w = Wizard();
        const int endedBefore = ended_;
        if (row.links) {
            http_.Add(kPrimary, "/imguk1.dat", held);
            w.optImgSites.SetValue(true);
            w.cboServers.SetListIndex(0);
            w.Command3_Click();
            ASSERT_TRUE(Pump([&] { return http_.RequestCount() >= 1 && w.Netur && w.Netur->StillBusy(); }));
        } else {
            http_.Add(kPrimary, "/qv.exe", held);
            Offer("http://www.orvane.example/qv.exe", "10000");
            updtest::SaveDialog dialog(downloads_ / "qv.exe");
            w.Command3_Click();
            ASSERT_TRUE(Pump([&] { return http_.RequestCount() >= 2 && w.InetUpdv->StillBusy(); }));
        }
        switch (row.way) {
            case Way::Exit:
                boxes_->ExpectMsgBox("Exit Quillview Update?", forms::mb::YesNo | forms::mb::Question, "Exit?",
                                     forms::answer::Yes);
                w.Command1_Click();
                EXPECT_EQ(ended_, endedBefore + 1);
                break;
            case Way::CloseBox:
                SendMessageA(w.hWnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
                EXPECT_FALSE(w.IsLoaded());
                break;
            case Way::ProgramEnd:
                update::Module1::EndProgram();
                EXPECT_EQ(ended_, endedBefore + 1);
                break;
            case Way::ErrorPath:
                if (row.links) {
                    boxes_->ExpectMsgBox("The file could not be located on the server, or the server is down.",
                                         forms::mb::OkOnly | forms::mb::Critical, "Download Error", forms::answer::Ok);
                    http_.Release();
                } else {
                    w.cmdCancelDL_Click();
                }
                ASSERT_TRUE(Pump([&] { return w.Frame1_5.Visible(); }));
                break;
        }
        EXPECT_FALSE(w.InetUpdv && w.InetUpdv->StillBusy());
        EXPECT_FALSE(w.Netur && w.Netur->StillBusy());
        EXPECT_EQ(Entries(downloads_.Path()), std::vector<std::string>{"qv.exe"});
        EXPECT_EQ(downloads_.Read("qv.exe"), "the user's old file");
        EXPECT_EQ(ours(), tempBefore);
        http_.Release();
        w.Unload();
        forms::ReleaseDefault<frmQVupd>();
        wizard_ = nullptr;
    }
}

// A temporary file of a run that died goes at the next start of the same task, unless another copy holds it
// open; nobody else's file is touched.
TEST_F(WizardDownload, LeftoversOfADeadRunGoAtTheTasksNextStart) {
    const auto holdOpen = [](const std::string& path) {
        qvtest::WriteWholeFile(path, "running");
        return forms::UniqueKernelHandle(forms::NullIfInvalid(
            CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
    };
    for (const char* name : {"qvd1A2B.tmp", "qvpbeef.tmp", "qvdnotes.tmp", "other.tmp"}) downloads_.Write(name, "x");
    const auto held = holdOpen(downloads_ / "qvd0001.tmp");
    ASSERT_TRUE(held);
    const std::string package = Executable(10000);
    http_.Add(kPrimary, "/qv.exe", Route::Text(package));
    Offer("http://www.orvane.example/qv.exe", "10000");
    auto& w = Wizard();
    {
        updtest::SaveDialog dialog(downloads_ / "qv.exe");
        w.Command3_Click();
        ASSERT_TRUE(Pump([&] { return Ended(w); }));
    }
    ASSERT_TRUE(w.Frame1_6.Visible()) << w.txtError.Text();
    EXPECT_EQ(Entries(downloads_.Path()),
              (std::vector<std::string>{"Readme.txt", "other.tmp", "qv.exe", "qvd0001.tmp", "qvdnotes.tmp"}));

    const std::string temp = update::Module1::gShell().GetTmpPath();
    const std::string dead = temp + "qvl1A2B.tmp";
    const std::string deadTransfer = temp + "qvp1A2C.tmp";
    qvtest::WriteWholeFile(dead, "x");
    qvtest::WriteWholeFile(deadTransfer, "x");
    auto heldLinks = holdOpen(temp + "qvl0001.tmp");
    http_.Add(kPrimary, "/imguk1.dat", Route::Text(Encoded("http://a.example/<name>Site A", " ")));
    w.Unload();
    forms::ReleaseDefault<frmQVupd>();
    wizard_ = nullptr;
    auto& again = Wizard();
    again.optImgSites.SetValue(true);
    again.cboServers.SetListIndex(0);
    again.Command3_Click();
    ASSERT_TRUE(Pump([&] { return again.ImgWeb_1.Visible() || again.ImgWeb_2.Visible() || again.Frame1_5.Visible(); }));
    EXPECT_EQ(GetFileAttributesA(dead.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA(deadTransfer.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesA((temp + "qvl0001.tmp").c_str()), INVALID_FILE_ATTRIBUTES);
    heldLinks.reset();
    DeleteFileA((temp + "qvl0001.tmp").c_str());
}

TEST_F(WizardDownload, AddressesThatAreNotWebLinksAreNeverUsed) {
    http_.Add(kPrimary, "/qvuk1ver.dat",
              Route::Text(Encoded("<maj>9</maj>~@1@~{{C:\\Windows\\notepad.exe}}%*file:///C:/x*%+@5000@+")));
    Check();
    auto& w = Wizard();
    ASSERT_TRUE(w.Frame1_3.Visible());
    EXPECT_FALSE(w.cmdDownload(0).Enabled());
    EXPECT_FALSE(w.cmdDownload(1).Enabled());
    w.cmdDownload_Click(1);
    w.StartDownload("C:\\Windows\\notepad.exe");
    EXPECT_TRUE(w.Frame1_5.Visible());
    EXPECT_EQ(w.txtError.Text(), "Error initialising connection Error number: 46376");
    EXPECT_TRUE(opened_.opened.empty());
}

TEST_F(WizardDownload, SizesThatAreNoNumberShowNoTotal) {
    for (const char* size : {"abc", "500"}) {
        SCOPED_TRACE(size);
        auto& w = Wizard();
        w.DLFileSize = size;
        w.InetUpdv_Status("Downloading...", 2048);
        EXPECT_EQ(w.lblBytesRec.Caption(), "Downloaded: 2 Kb");
        EXPECT_EQ(w.ProgressBar2.Position(), 0);
    }
    auto& w = Wizard();
    w.DLFileSize = "2048";
    w.InetUpdv_Status("Downloading...", 1024);
    EXPECT_EQ(w.lblBytesRec.Caption(), "Downloaded: 1 Kb out of 2");
    EXPECT_EQ(w.ProgressBar2.Position(), 50);
    w.InetUpdv_Status("Connected", 0);
    EXPECT_EQ(w.ProgressBar2.Position(), 50);
    EXPECT_EQ(w.lblDLStatus.Caption(), "Connected");
}

// Progress reported while a transfer runs may wait to be shown; the rate timer's tick shows the latest, so
// labels and bar never stay behind while the line stalls.
TEST_F(WizardDownload, ProgressLeftWaitingShowsOnTheNextRateTick) {
    Route held = Route::Text(Executable(10000));
    held.hold = true;
    http_.Add(kPrimary, "/held.exe", held);
    auto& w = Wizard();
    w.DLFileSize = "102400";
    w.InetUpdv->BinaryFile = downloads_ / "held.exe";
    w.InetUpdv->DownloadFile(60, "http://www.orvane.example/held.exe");
    ASSERT_TRUE(Pump([&] { return http_.RequestCount() >= 1 && w.InetUpdv->StillBusy(); }));
    w.InetUpdv_Status("Downloading...", 10240);
    w.InetUpdv_Status("Downloading...", 20480);
    w.timerRate_Timer();
    EXPECT_EQ(w.lblBytesRec.Caption(), "Downloaded: 20 Kb out of 100");
    EXPECT_EQ(w.ProgressBar2.Position(), 20);
    EXPECT_EQ(w.BytesReceived, 20480);
    w.InetUpdv->CancelConnect(true);
    http_.Release();
}

TEST_F(WizardDownload, AFailedCheckDoesNotSwallowTheNextDownloadsError) {
    http_.Add(kPrimary, "/qvuk1ver.dat", Route::Text("letters"));
    Check();
    auto& w = Wizard();
    ASSERT_TRUE(w.IgnoreNextError);
    w.Command3_Click();  // Restart
    http_.Add(kPrimary, "/qv.exe", Route::Text("<html>no</html>", 404, "Not Found"));
    Offer("http://www.orvane.example/qv.exe", "10000");
    boxes_->ExpectMsgBox("The file could not be located on the server, or the server is down.",
                         forms::mb::OkOnly | forms::mb::Critical, "Download Error", forms::answer::Ok);
    updtest::SaveDialog dialog(downloads_ / "qv.exe");
    w.Command3_Click();
    ASSERT_TRUE(Pump([&] { return Ended(w); }));
    EXPECT_TRUE(w.Frame1_5.Visible());
    EXPECT_EQ(w.txtError.Text().substr(0, 20), "The file could not b");
}

TEST_F(WizardDownload, CancelledSaveDialogGoesBackToTheOffer) {
    http_.Add(kPrimary, "/qv.exe", Route::Text(Executable(10000)));
    Offer("http://www.orvane.example/qv.exe", "10000");
    auto& w = Wizard();
    updtest::SaveDialog dialog("");
    w.Command3_Click();
    EXPECT_EQ(dialog.Shown(), 1);
    EXPECT_TRUE(w.Frame1_3.Visible());
    EXPECT_TRUE(w.Command3.Enabled());
    EXPECT_EQ(http_.RequestCount(), 1u);
}

}  // namespace
