// The update program as a real process: its start, its words, its boxes, and one whole update.
#include "tests/platform/inet/TestHttpServer.h"

#include "platform/runtime/Settings.h"
#include "tests/lib/comserver/TestSupport.h"
#include "tests/support/Apartment.h"
#include "tests/support/TempFolder.h"
#include "update/protocol/NumberList.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

using qvtest::Route;

std::string BuildFile(const char* relative) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p = path;
    return p.substr(0, p.find_last_of('\\')) + "\\" + relative;
}

// Pumps this thread's messages until the condition holds or the time is up.
bool PumpUntil(const std::function<bool()>& condition, DWORD ms) {
    const ULONGLONG deadline = GetTickCount64() + ms;
    while (!condition()) {
        if (GetTickCount64() >= deadline) return condition();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    return true;
}

class Child {
public:
    Child(const std::string& program, const std::string& word) {
        std::string line = "\"" + program + "\" " + word;
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        EXPECT_TRUE(CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
            << program << " error " << GetLastError();
        CloseHandle(pi.hThread);
        process_ = pi.hProcess;
        id_ = pi.dwProcessId;
    }
    ~Child() {
        if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
        CloseHandle(process_);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool Ended(DWORD ms) const { return PumpUntil([this] { return WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }, ms); }

    // The child's visible top-level window with this title.
    HWND Window(const std::string& title) const {
        struct Args {
            DWORD pid;
            const std::string* title;
            HWND found;
        } a{id_, &title, nullptr};
        struct Enum {
            static BOOL CALLBACK Proc(HWND hwnd, LPARAM l) {
                auto* args = reinterpret_cast<Args*>(l);
                DWORD pid = 0;
                GetWindowThreadProcessId(hwnd, &pid);
                char text[256] = {};
                GetWindowTextA(hwnd, text, sizeof text);
                if (pid == args->pid && IsWindowVisible(hwnd) && *args->title == text) {
                    args->found = hwnd;
                    return FALSE;
                }
                return TRUE;
            }
        };
        EnumWindows(&Enum::Proc, reinterpret_cast<LPARAM>(&a));
        return a.found;
    }
    HWND WaitWindow(const std::string& title, DWORD ms = 20000) const {
        HWND found = nullptr;
        PumpUntil([&] { return (found = Window(title)) != nullptr; }, ms);
        return found;
    }

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// A visible child window (a page's frame, a label) with exactly this text.
bool ShowsText(HWND top, const std::string& text) {
    struct Args {
        const std::string* text;
        bool found;
    } a{&text, false};
    struct Enum {
        static BOOL CALLBACK Proc(HWND hwnd, LPARAM l) {
            auto* args = reinterpret_cast<Args*>(l);
            char t[512] = {};
            GetWindowTextA(hwnd, t, sizeof t);
            if (IsWindowVisible(hwnd) && *args->text == t) {
                args->found = true;
                return FALSE;
            }
            return TRUE;
        }
    };
    EnumChildWindows(top, &Enum::Proc, reinterpret_cast<LPARAM>(&a));
    return a.found;
}

// A message box's text (its static control) and a press of one of its buttons.
std::string BoxText(HWND box) {
    char text[1024] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return text;
}
void Press(HWND box, int id) { PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id))); }

// The version the main program records, seeded for the child and put back afterwards.
class InstalledVersion {
public:
    explicit InstalledVersion(std::optional<std::string> major) {
        for (const char* key : {"major", "minor", "rev"}) saved_.push_back(forms::GetSetting("Quillview", "current_version", key, "\x01"));
        if (major) {
            forms::SaveSetting("Quillview", "current_version", "major", *major);
            forms::SaveSetting("Quillview", "current_version", "minor", "0");
            forms::SaveSetting("Quillview", "current_version", "rev", "5");
        } else {
            forms::DeleteSetting("Quillview", "current_version", "major");
        }
        // No runtime warning in the way: the prefix has no such runtime library.
        forms::SaveSetting("QuillviewUpdate", "verig", "verig2", "1");
    }
    ~InstalledVersion() {
        const char* keys[] = {"major", "minor", "rev"};
        for (int i = 0; i < 3; ++i) {
            if (saved_[i] == "\x01") {
                forms::DeleteSetting("Quillview", "current_version", keys[i]);
            } else {
                forms::SaveSetting("Quillview", "current_version", keys[i], saved_[i]);
            }
        }
        forms::DeleteSetting("QuillviewUpdate", "verig", "verig2");
    }

private:
    std::vector<std::string> saved_;
};

class UpdateProcess : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server_.Registered());
        // A copy of the program in a folder of the test's own: App.Path is its installation.
        ASSERT_TRUE(CopyFileA(BuildFile(QVUPDATE_RELPATH).c_str(), (folder_ / "qvupdate.exe").c_str(), FALSE));
    }
    std::string Program() const { return folder_ / "qvupdate.exe"; }

    qvtest::Apartment apartment_;
    testsupport::RegisteredServer server_{ORCMCLS_DLL};
    qvtest::TempFolder folder_;
    qvtest::TestHttpServer http_;
    qvtest::ProxySetting proxy_{http_.Port()};
};

TEST_F(UpdateProcess, EachWordStartsItsTask) {
    const InstalledVersion version("3");
    http_.Add("www.orvane.example", "/imguk1.dat", Route::Text(*update::protocol::EncodeNumberList("http://a.example/<name>A", " ")));
    struct Row {
        const char* word;
        const char* window;
        const char* page;
    };
    const Row rows[] = {
        {"links", "Quillview Update", "Links Updated Successfully"},
        {"submitweb", "Quillview Update", "Submit a graphics website"},
        {"qvupdate", "Quillview Update", "Download Error"},  // the mirror has no version script
        {"fix", "Quillview Fix", "Fix"},
        {"", "Quillview Update", "Welcome to Quillview Update!"},
        {"Links", "Quillview Update", "Welcome to Quillview Update!"},
        {"links ", "Quillview Update", "Welcome to Quillview Update!"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string("word '") + row.word + "'");
        Child child(Program(), row.word);
        const HWND window = child.WaitWindow(row.window);
        ASSERT_NE(window, nullptr);
        // A second run of the links update finds nothing new: either end page is the links task.
        EXPECT_TRUE(PumpUntil([&] {
            return ShowsText(window, row.page) ||
                   (std::string(row.word) == "links" && ShowsText(window, "No Updated Links Are Available"));
        }, 20000));
    }
}

TEST_F(UpdateProcess, NeverRanBoxComesBeforeEveryWord) {
    const InstalledVersion version(std::nullopt);
    for (const char* word : {"fix", "qvupdate", ""}) {
        SCOPED_TRACE(word);
        Child child(Program(), word);
        const HWND box = child.WaitWindow("Quillview Update");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(BoxText(box),
                  "Quillview Update can only be run after you have run the latest version of Quillview installed on "
                  "your system at least once.\r\nIf you are having problems starting the program, would you like to "
                  "run Quillview Fix to analyse the installation and check for missing settings/files?");
        Press(box, IDNO);
        EXPECT_TRUE(child.Ended(10000));
    }
}

TEST_F(UpdateProcess, ComponentsThatCannotBeCreatedOfferTheRepair) {
    const InstalledVersion version("3");
    // The library's classes are not registered for this start.
    const testsupport::ServerModule library(ORCMCLS_DLL);
    ASSERT_EQ(library.Call("DllUnregisterServer"), S_OK);
    {
        Child child(Program(), "qvupdate");
        const HWND box = child.WaitWindow("Quillview Update");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(BoxText(box),
                  "Quillview Update has detected that one or more Quillview components are not properly installed\r\n"
                  "A feature of Quillview Update is to detect missing files and reinstall certain components, would "
                  "you like to run 'Quillview Fix' now?");
        Press(box, IDNO);
        EXPECT_TRUE(child.Ended(10000));
    }
    EXPECT_EQ(library.Call("DllRegisterServer"), S_OK);
}

TEST_F(UpdateProcess, WholeUpdateStartsThePackageAndEnds) {
    const InstalledVersion version("3");
    // The recorder stands in for the package: started, it writes its command line where we look.
    std::string package;
    {
        HANDLE f = CreateFileA(BuildFile(RECORDER_RELPATH).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(f, INVALID_HANDLE_VALUE);
        char buffer[65536];
        DWORD read = 0;
        while (ReadFile(f, buffer, sizeof buffer, &read, nullptr) && read > 0) package.append(buffer, read);
        CloseHandle(f);
    }
    const std::string script = "<maj>3</maj><min>0</min><rev>6</rev>~@796941@~*{New{*{{http://www.orvane.example/qvrec.exe}}"
                               ":#3.0.6#:+@" + std::to_string(package.size()) + "@+";
    http_.Add("www.orvane.example", "/qvuk1ver.dat", Route::Text(*update::protocol::EncodeNumberList(script)));
    http_.Add("www.orvane.example", "/qvrec.exe", Route::Text(package));
    const std::string record = folder_ / "started.txt";
    SetEnvironmentVariableA("QV_RECORDER_OUT", record.c_str());

    Child child(Program(), "qvupdate");
    const HWND wizard = child.WaitWindow("Quillview Update");
    ASSERT_NE(wizard, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return ShowsText(wizard, "Updates Are Available!"); }, 20000));
    // "Download Now!" and the real save dialog.
    struct Find {
        HWND top;
        HWND button = nullptr;
    } find{wizard};
    struct Enum {
        static BOOL CALLBACK Proc(HWND hwnd, LPARAM l) {
            char t[64] = {};
            GetWindowTextA(hwnd, t, sizeof t);
            if (std::string(t) == "Download Now!") {
                reinterpret_cast<Find*>(l)->button = hwnd;
                return FALSE;
            }
            return TRUE;
        }
    };
    EnumChildWindows(wizard, &Enum::Proc, reinterpret_cast<LPARAM>(&find));
    ASSERT_NE(find.button, nullptr);
    PostMessageA(find.button, BM_CLICK, 0, 0);
    const HWND dialog = child.WaitWindow("Save Update to...");
    ASSERT_NE(dialog, nullptr);
    PumpUntil([] { return false; }, 300);  // the dialog settles
    HWND edit = GetDlgItem(dialog, 0x047C);  // cmb13
    if (!edit) edit = GetDlgItem(dialog, 0x0480);  // edt1
    const std::string target = folder_ / "qvrec.exe";
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(target.c_str()));
    Press(dialog, IDOK);
    ASSERT_TRUE(PumpUntil([&] { return GetFileAttributesA(record.c_str()) != INVALID_FILE_ATTRIBUTES; }, 30000));
    const DWORD started = GetTickCount();
    EXPECT_TRUE(child.Ended(20000));
    const DWORD after = GetTickCount() - started;
    EXPECT_GE(after, 3000u);
    EXPECT_LT(after, 12000u);
    SetEnvironmentVariableA("QV_RECORDER_OUT", nullptr);
    // The package arrived whole, and started from where it was saved.
    HANDLE f = CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetFileSize(f, nullptr), package.size());
    CloseHandle(f);
    EXPECT_NE(folder_.Read("started.txt").find("qvrec.exe"), std::string::npos) << folder_.Read("started.txt");
    EXPECT_EQ(folder_.Read("Readme.txt").substr(0, 25), "Readme file for qvrec.exe");
}

}  // namespace
