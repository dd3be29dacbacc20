// The installed program as a user meets it: real starts of the installation that scripts/install-into-prefix
// laid out, copied into a program folder of the test's own, on an emptied settings store. Every box is
// answered by its own button; what the program keeps is read from the store and the list files.
#include "platform/runtime/Dates.h"
#include "platform/runtime/OwnedHandles.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/UserPaths.h"
#include "tests/lib/comserver/TestSupport.h"
#include "tests/main/LinkFiles.h"
#include "tests/main/core/ProcessHarness.h"
#include "tests/main/core/Recorder.h"
#include "tests/main/core/StartupMessages.h"
#include "tests/main/TestBitmap.h"
#include "tests/support/Apartment.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

using coretest::kInformation;
using coretest::Missing;
using qvtest::Process;
using qvtest::PumpUntil;
using qvtest::StoreAnEarlierStart;

constexpr DWORD kStartMs = 30000;

std::string InstalledFolder() { return qvtest::ModuleFolder() + "\\" + QV_INSTALLED_RELPATH; }

std::string Setting(std::string_view app, std::string_view section, std::string_view key) {
    return forms::GetSetting(app, section, key, "<none>");
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "<none>";
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    ASSERT_TRUE(out.good()) << path;
}

bool SamePath(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_EQUAL;
}

// The file the classes root names as the in-process server of a ProgID ("" when none).
std::string RegisteredServerOf(const std::string& progId) {
    const auto value = [](const std::string& key) {
        char text[MAX_PATH * 2] = {};
        LONG size = sizeof text;
        return RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), text, &size) == ERROR_SUCCESS ? std::string(text)
                                                                                          : std::string();
    };
    const std::string clsid = value(progId + "\\CLSID");
    return clsid.empty() ? std::string() : value("CLSID\\" + clsid + "\\InprocServer32");
}

// The suite's part of the prefix's settings store and the per-user list files, gone before and after the test:
// the program starts as on a new system, and what it stores is the test's to see.
class EmptyUserState {
public:
    EmptyUserState() { Clear(); }
    ~EmptyUserState() { Clear(); }
    EmptyUserState(const EmptyUserState&) = delete;
    EmptyUserState& operator=(const EmptyUserState&) = delete;

    static void Clear() {
        for (const char* app : {"Quillview", "Quillview2", "QuillviewUpdate"}) {
            RegDeleteTreeA(HKEY_CURRENT_USER, (std::string(forms::SettingsRoot) + "\\" + app).c_str());
        }
        for (const char* list : {"QVEditors.dat", "QVImgwebs.dat", "QVSetwebs.dat"}) {
            DeleteFileA((forms::UserDataFolder() + "\\" + list).c_str());
        }
    }
};

// A copy of the installation, as a user's program folder.
class Installation {
public:
    Installation() {
        WIN32_FIND_DATAA entry{};
        const forms::UniqueFind find(forms::NullIfInvalid(FindFirstFileA((InstalledFolder() + "\\*").c_str(), &entry)));
        EXPECT_TRUE(find) << "no installation in " << InstalledFolder();
        if (!find) return;
        do {
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            const std::string from = InstalledFolder() + "\\" + entry.cFileName;
            EXPECT_TRUE(CopyFileA(from.c_str(), File(entry.cFileName).c_str(), FALSE)) << from;
        } while (FindNextFileA(find.get(), &entry));
    }

    const std::string& Folder() const { return folder_.Path(); }
    std::string File(const std::string& name) const { return folder_ / name; }
    std::string Program() const { return File("Quillview23.exe"); }

private:
    qvtest::TempFolder folder_;
};

// A message box as the program shows it, and the button that answers it.
struct Box {
    std::string title;
    std::string text;
    std::vector<int> buttons;
    int answer;
    bool systemModal = false;
};

std::vector<int> VisibleButtons(HWND box) {
    std::vector<int> found;
    for (const int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) {
        const HWND button = GetDlgItem(box, id);
        if (button && IsWindowVisible(button)) found.push_back(id);
    }
    return found;
}

// Answers the process's boxes in the order given, each by clicking its button once it shows.
void AnswerBoxes(const Process& p, const std::vector<Box>& boxes) {
    for (const Box& expected : boxes) {
        SCOPED_TRACE(expected.title + ": " + expected.text.substr(0, 60));
        HWND box = nullptr;
        ASSERT_TRUE(PumpUntil([&] { return (box = qvtest::FindProcessWindow(p.Id(), "#32770")) != nullptr; },
                              kStartMs))
            << "the box never showed";
        EXPECT_EQ(qvtest::WindowText(box), expected.title);
        EXPECT_EQ(qvtest::BoxText(box), expected.text);
        EXPECT_EQ(VisibleButtons(box), expected.buttons);
        EXPECT_EQ((GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, expected.systemModal);
        const HWND button = GetDlgItem(box, expected.answer);
        ASSERT_NE(button, nullptr);
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(expected.answer, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        ASSERT_TRUE(PumpUntil([&] { return !IsWindow(box); }, kStartMs)) << "the box stayed";
    }
}

// The process's splash window, shown or hidden (nullptr: none); start-up's last step unloads it.
HWND SplashWindow(DWORD processId, HWND mainWindow) {
    struct Search {
        DWORD processId;
        HWND mainWindow;
        HWND found;
    } search{processId, mainWindow, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            char cls[64] = {};
            GetClassNameA(hwnd, cls, sizeof cls);
            if (owner == s.processId && hwnd != s.mainWindow && std::string(cls) == "QuillviewForm" &&
                qvtest::WindowText(hwnd) == "Quillview") {
                s.found = hwnd;
            }
            return s.found == nullptr;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The main window once start-up has finished (its window shown, the splash gone), with no box of the
// program left up; nullptr when that does not happen in time. The window shows before the last steps of
// start-up have run, so its being visible is not the end.
HWND StartedMainWindow(const Process& p) {
    const HWND window = qvtest::WaitForMarkedWindow(p, kStartMs);
    const bool started = window && PumpUntil(
                                       [&] {
                                           return IsWindowVisible(window) != FALSE && !SplashWindow(p.Id(), window);
                                       },
                                       kStartMs);
    if (!started) return nullptr;
    const HWND box = qvtest::FindProcessWindow(p.Id(), "#32770");
    EXPECT_EQ(box, nullptr) << "a box is still up: " << qvtest::WindowText(box) << ": " << qvtest::BoxText(box);
    return window;
}

// The pixel size of the logo bitmap that the program carries.
SIZE LogoSize(const std::string& program) {
    const std::unique_ptr<std::remove_pointer_t<HMODULE>, decltype(&FreeLibrary)> module(
        LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE),
        &FreeLibrary);
    const forms::UniqueBitmap logo(
        static_cast<HBITMAP>(LoadImageA(module.get(), MAKEINTRESOURCEA(102), IMAGE_BITMAP, 0, 0, 0)));
    BITMAP info{};
    if (!logo || !GetObjectA(logo.get(), sizeof info, &info)) return {};
    return {info.bmWidth, info.bmHeight};
}

// Whether a shown window inside `window` has that size at that place of its parent's client area.
bool ShowsChild(HWND window, SIZE size, POINT at) {
    struct Search {
        SIZE size;
        POINT at;
        bool found;
    } search{size, at, false};
    EnumChildWindows(
        window,
        [](HWND child, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            RECT r{};
            GetWindowRect(child, &r);
            POINT corner{r.left, r.top};
            ScreenToClient(GetParent(child), &corner);
            s.found = IsWindowVisible(child) && r.right - r.left == s.size.cx && r.bottom - r.top == s.size.cy &&
                      corner.x == s.at.x && corner.y == s.at.y;
            return !s.found;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int ScreenDpi() {
    const forms::ScopedGetDC screen(nullptr);
    return GetDeviceCaps(screen.get(), LOGPIXELSX);
}

// Closes the program as its window's close box does; it ends by itself.
void Close(Process& p, HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(p.WaitForExit(kStartMs)) << "closing the main window ends the program";
    EXPECT_EQ(p.ExitCode(), 0u);
}

class InstalledStart : public ::testing::Test {
protected:
    // The installation's libraries registered from the installed folder, as after the set-up; each test's
    // program registers the system services library of its own folder again.
    const qvtest::Apartment apartment_;
    const std::string services_ = InstalledFolder() + "\\orcmcls.dll";
    const std::string pictures_ = InstalledFolder() + "\\rvimgctl.dll";
    const testsupport::RegisteredServer servicesRegistered_{services_.c_str()};
    const testsupport::RegisteredServer picturesRegistered_{pictures_.c_str()};
    const EmptyUserState state_;
};

TEST_F(InstalledStart, AFirstStartExplainsTheUpdateProgramRecordsTheInstallationShowsTheLogoAndStoresItsStateAtClose) {
    ASSERT_TRUE(servicesRegistered_.Registered());
    const Installation installation;
    Process first(installation.Program(), nullptr);
    // The first box comes while the main window is still hidden; the splash is up, the box over it.
    ASSERT_NE(qvtest::WaitForBox(first, "Information", kStartMs), nullptr);
    const HWND hidden = qvtest::MarkedWindowOf(first.Id());
    ASSERT_NE(hidden, nullptr);
    EXPECT_FALSE(IsWindowVisible(hidden));
    const HWND splash = SplashWindow(first.Id(), hidden);
    EXPECT_TRUE(splash && IsWindowVisible(splash));
    AnswerBoxes(first, {
                           {"Information", kInformation, {IDOK}, IDOK, true},
                           {"Desktop Icons", "Add a desktop icon for Quillview and Quillview Update?",
                            {IDYES, IDNO}, IDNO},
                       });
    const HWND window = StartedMainWindow(first);
    ASSERT_NE(window, nullptr);

    const auto version = qvtest::ProgramVersion();
    EXPECT_EQ(Setting("Quillview", "current_version", "major"), version[0]);
    EXPECT_EQ(Setting("Quillview", "current_version", "minor"), version[1]);
    EXPECT_EQ(Setting("Quillview", "current_version", "rev"), version[2]);
    EXPECT_EQ(Setting("Quillview2", "v2.3", "Path"), installation.Folder());
    EXPECT_EQ(Setting("Quillview2", "options", "deskicon232"), "1");
    // The system's registration tool, started without waiting, registers the library of this program folder.
    EXPECT_TRUE(PumpUntil(
        [&] { return SamePath(RegisteredServerOf("Toolcraft.clsShell"), installation.File("orcmcls.dll")); },
        kStartMs))
        << RegisteredServerOf("Toolcraft.clsShell");
    EXPECT_EQ(Setting("Quillview2", "Options", "btwidth"), "<none>") << "the state is stored at close, not before";
    // Without a picture the logo shows, whole, where a picture will be.
    const SIZE logo = LogoSize(installation.Program());
    ASSERT_GT(logo.cx, 0);
    EXPECT_TRUE(ShowsChild(window, logo, {20 * ScreenDpi() / 96, 40 * ScreenDpi() / 96}));

    // The user moves the window; the close keeps where it is.
    ASSERT_TRUE(SetWindowPos(window, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
    RECT placed{};
    GetWindowRect(window, &placed);
    const int dpi = ScreenDpi();
    const auto twips = [&](LONG pixels) { return std::to_string(pixels * 1440 / dpi); };
    Close(first, window);

    struct Stored {
        const char* section;
        const char* key;
        std::string value;
    };
    const Stored stored[] = {
        {"Options", "browsermode", "1"},  {"Options", "browsertools", "0"},
        {"Options", "browserdock", "1"},  {"Options", "fileseektoggle", "0"},
        {"Options", "window", "0"},       {"Options", "left", twips(placed.left)},
        {"Options", "top", twips(placed.top)},
        {"Options", "cursormode", "0"},   {"Options", "Favlist", "0"},
    };
    for (const Stored& s : stored) EXPECT_EQ(Setting("Quillview2", s.section, s.key), s.value) << s.key;
    // The size in twips as the window keeps it, which the pixels round.
    const auto pixels = [&](const char* key) {
        return static_cast<LONG>(std::lround(std::stod(Setting("Quillview2", "Options", key)) * dpi / 1440));
    };
    EXPECT_EQ(pixels("width"), placed.right - placed.left);
    EXPECT_EQ(pixels("height"), placed.bottom - placed.top);
    const std::string width = Setting("Quillview2", "Options", "btwidth");
    EXPECT_TRUE(width.find_first_not_of("0123456789") == std::string::npos && std::stoi(width) >= 150) << width;

    // The next start of the same version asks nothing and opens the window where it was closed.
    Process next(installation.Program(), nullptr);
    const HWND again = StartedMainWindow(next);
    ASSERT_NE(again, nullptr);
    RECT reopened{};
    GetWindowRect(again, &reopened);
    EXPECT_EQ(reopened.left, placed.left);
    EXPECT_EQ(reopened.top, placed.top);
    EXPECT_EQ(reopened.right - reopened.left, placed.right - placed.left);
    EXPECT_EQ(reopened.bottom - reopened.top, placed.bottom - placed.top);
    Close(next, again);
    EXPECT_EQ(Setting("Quillview2", "Options", "btwidth"), width);
}

// The system's classes name the system services library at a file that is gone, as after an earlier
// installation elsewhere was removed; only the program's own registration puts this installation's there.
void RegisterAGoneCopyOfTheServicesLibrary() {
    const qvtest::TempFolder earlier;
    const std::string copy = earlier / "orcmcls.dll";
    ASSERT_TRUE(CopyFileA((InstalledFolder() + "\\orcmcls.dll").c_str(), copy.c_str(), FALSE));
    const testsupport::ServerModule module(copy.c_str());
    ASSERT_EQ(module.Call("DllRegisterServer"), S_OK);
}

// The first start's desktop question, over the splash and answered by its buttons at once, while the
// program's own registration of its services library may still run: Yes puts both shortcuts on the user's
// desktop, each opening its program of this installation; No puts none there.
TEST_F(InstalledStart, TheDesktopQuestionLeavesTheSplashReadableAndYesMakesBothShortcutsNoneForNo) {
    const std::string desktop = qvtest::DesktopFolder();
    ASSERT_FALSE(desktop.empty());
    const Installation installation;
    struct Link {
        std::string file;
        std::string target;
    };
    const Link links[] = {{desktop + "\\Quillview.lnk", installation.Program()},
                          {desktop + "\\Quillview Update.lnk", installation.File("qvupdate.exe")}};
    for (const int answer : {IDYES, IDNO}) {
        SCOPED_TRACE(answer == IDYES ? "Yes" : "No");
        EmptyUserState::Clear();
        for (const Link& link : links) DeleteFileA(link.file.c_str());
        RegisterAGoneCopyOfTheServicesLibrary();
        Process p(installation.Program(), nullptr);
        AnswerBoxes(p, {{"Information", kInformation, {IDOK}, IDOK, true}});
        // The splash stays readable: no part of it lies under the box, beside which it would show as a blank strip.
        const HWND box = qvtest::WaitForBox(p, "Desktop Icons", kStartMs);
        ASSERT_NE(box, nullptr);
        const HWND splash = SplashWindow(p.Id(), qvtest::MarkedWindowOf(p.Id()));
        ASSERT_TRUE(splash && IsWindowVisible(splash));
        RECT boxRect{}, splashRect{}, common{};
        GetWindowRect(box, &boxRect);
        GetWindowRect(splash, &splashRect);
        EXPECT_FALSE(IntersectRect(&common, &boxRect, &splashRect))
            << "splash " << splashRect.left << "," << splashRect.top << "-" << splashRect.right << ","
            << splashRect.bottom << " box " << boxRect.left << "," << boxRect.top << "-" << boxRect.right << ","
            << boxRect.bottom;
        AnswerBoxes(p, {{"Desktop Icons", "Add a desktop icon for Quillview and Quillview Update?", {IDYES, IDNO},
                         answer}});
        const HWND window = StartedMainWindow(p);
        ASSERT_NE(window, nullptr);
        for (const Link& link : links) {
            if (answer == IDYES) {
                EXPECT_TRUE(SamePath(qvtest::LinkTarget(link.file), link.target))
                    << link.file << ": " << qvtest::LinkTarget(link.file);
            } else {
                EXPECT_EQ(GetFileAttributesA(link.file.c_str()), INVALID_FILE_ATTRIBUTES) << link.file;
            }
            DeleteFileA(link.file.c_str());
        }
        EXPECT_EQ(Setting("Quillview2", "options", "deskicon232"), "1");
        Close(p, window);
    }
}

TEST_F(InstalledStart, ReportsExactlyTheSupportFilesRemovedFromTheInstallation) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"qvupdate.exe"},
        {"rvimgctl.dll", "orcmcls.dll"},
        {"qvupdate.exe", "orcmcls.dll", "rvimgctl.dll"},
    };
    for (const auto& removed : cases) {
        std::string what = "removed:";
        for (const std::string& file : removed) what += " " + file;
        SCOPED_TRACE(what);
        EmptyUserState::Clear();
        forms::SaveSetting("Quillview2", "options", "deskicon232", "1");
        const Installation installation;
        for (const std::string& file : removed) ASSERT_TRUE(DeleteFileA(installation.File(file).c_str())) << file;

        std::vector<Box> boxes = {{"Information", kInformation, {IDOK}, IDOK, true}};
        for (const char* file : {"orcmcls.dll", "rvimgctl.dll", "qvupdate.exe"}) {
            if (std::find(removed.begin(), removed.end(), file) != removed.end()) {
                boxes.push_back({"Quillview", Missing(file), {IDOK}, IDOK});
            }
        }
        Process p(installation.Program(), nullptr);
        AnswerBoxes(p, boxes);
        const HWND window = StartedMainWindow(p);
        ASSERT_NE(window, nullptr);
        Close(p, window);
    }
}

TEST_F(InstalledStart, After35DaysTheUpdateProgramIsOfferedAndYesStartsItsCheck) {
    const Installation installation;
    ASSERT_TRUE(coretest::Recorder::PlaceAs(installation.File("qvupdate.exe")));
    const qvtest::TempFolder records;
    const coretest::Recorder recorder(records / "started.txt");
    const forms::Date today = forms::Today();
    const std::string back35 = forms::ShortDateText(today - 35);
    const std::string question = "Quillview Update last checked for a new version of Quillview on the " + back35 +
                                 ", it is recommended that you check once a month.\r\n\r\nWould you like to run "
                                 "Quillview Update now?";
    struct Case {
        const char* what;
        std::string stored;
        std::optional<int> answer;  // nullopt: no question
        std::string after;
        std::size_t starts;  // of the update program, so far
    };
    const Case cases[] = {
        {"34 days back", forms::ShortDateText(today - 34), std::nullopt, forms::ShortDateText(today - 34), 0},
        {"35 days back, No", back35, IDNO, forms::ShortDateText(today), 0},
        {"35 days back, Yes", back35, IDYES, forms::ShortDateText(today), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EmptyUserState::Clear();
        StoreAnEarlierStart();
        forms::SaveSetting("QuillviewUpdate", "Options", "lastqvupdate", c.stored);
        Process p(installation.Program(), nullptr);
        if (c.answer) AnswerBoxes(p, {{"Quillview", question, {IDYES, IDNO}, *c.answer}});
        const HWND window = StartedMainWindow(p);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(Setting("QuillviewUpdate", "Options", "lastqvupdate"), c.after);
        const auto lines = c.starts ? recorder.WaitForLines(c.starts) : recorder.Lines();
        ASSERT_EQ(lines.size(), c.starts);
        if (c.starts) {
            EXPECT_EQ(lines.back(), "\"" + installation.File("qvupdate.exe") + "\" qvupdate");
        }
        Close(p, window);
    }
}

// Started with a picture to view full screen and told to end when that viewer closes on it: the viewer comes
// before the main window, Esc in it ends the program, and the window, never shown, stores nothing.
TEST_F(InstalledStart, AFullScreenStartClosedOnItsPictureEndsTheProgram) {
    const Installation installation;
    const qvtest::TempFolder pictures;
    const std::string picture = pictures / "start.bmp";
    ASSERT_TRUE(qvtest::WriteBitmap(picture, 40, 30));
    StoreAnEarlierStart();
    for (const auto& [key, value] : {std::pair{"imgfll", "1"}, std::pair{"closeafter1", "1"},
                                     std::pair{"Show Tips at Startup", "0"}, std::pair{"maintainass", "0"}}) {
        forms::SaveSetting("Quillview2", "Options", key, value);
    }
    Process p(installation.Program(), ("\"" + picture + "\"").c_str());
    HWND viewer = nullptr;
    ASSERT_TRUE(PumpUntil(
        [&] {
            viewer = qvtest::FindProcessWindow(p.Id(), "QuillviewForm");
            return viewer && qvtest::WindowText(viewer) == "Full Screen";
        },
        kStartMs))
        << "the viewer shows";
    const HWND window = qvtest::MarkedWindowOf(p.Id());
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindowVisible(window)) << "the main window comes only after the viewer";
    // Esc to the control that has the viewer's keyboard focus, as the keyboard sends it.
    GUITHREADINFO focus{sizeof focus};
    ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(viewer, nullptr), &focus));
    const HWND target = focus.hwndFocus ? focus.hwndFocus : viewer;
    PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
    ASSERT_TRUE(p.WaitForExit(kStartMs)) << "the program ends with the viewer";
    EXPECT_EQ(p.ExitCode(), 0u);
    for (const char* key : {"window", "left", "cursormode", "Favlist"}) {
        EXPECT_EQ(Setting("Quillview2", "Options", key), "<none>") << key;
    }
}

TEST_F(InstalledStart, FavouritesWhoseFolderIsGoneAreRemovedWhenTheOptionSaysSo) {
    const Installation installation;
    const qvtest::TempFolder folders;
    CreateDirectoryA((folders / "Kept").c_str(), nullptr);
    CreateDirectoryA((folders / "Kept too").c_str(), nullptr);
    using Favourites = std::vector<std::pair<std::string, std::string>>;
    const Favourites seeded = {
        {"Kept", folders / "Kept"},
        {"Gone", folders / "Gone"},
        {"Also gone", folders / "Also gone"},
        {"Kept too", folders / "Kept too"},
    };
    const auto storedFavourites = [] {
        Favourites found;
        for (int n = 1;; ++n) {
            const std::string name = forms::GetSetting("Quillview2", "Favs", "favn" + std::to_string(n));
            if (name.empty()) break;
            found.emplace_back(name, forms::GetSetting("Quillview2", "Favs", "fava" + std::to_string(n)));
        }
        return found;
    };
    struct Case {
        const char* delFavs;
        Favourites after;
    };
    const Case cases[] = {
        {"1", {seeded[0], seeded[3]}},
        {"0", seeded},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("DelFavs ") + c.delFavs);
        EmptyUserState::Clear();
        StoreAnEarlierStart();
        forms::SaveSetting("Quillview2", "Options", "DelFavs", c.delFavs);
        for (std::size_t i = 0; i < seeded.size(); ++i) {
            forms::SaveSetting("Quillview2", "Favs", "favn" + std::to_string(i + 1), seeded[i].first);
            forms::SaveSetting("Quillview2", "Favs", "fava" + std::to_string(i + 1), seeded[i].second);
        }
        Process p(installation.Program(), nullptr);
        const HWND window = StartedMainWindow(p);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(storedFavourites(), c.after) << "after the start";
        EXPECT_EQ(Setting("Quillview2", "Favs", "favn" + std::to_string(c.after.size() + 1)), "<none>");
        Close(p, window);
        EXPECT_EQ(storedFavourites(), c.after) << "after the close";
    }
}

TEST_F(InstalledStart, TheListFilesKeepTheirGoodItemsThroughAStartAndAClose) {
    const Installation installation;
    StoreAnEarlierStart();
    const std::string user = forms::UserDataFolder();
    CreateDirectoryA(user.c_str(), nullptr);
    // The user's editors: a line without the marker, a blank line, a bare LF and a marker in capitals.
    WriteFile(user + "\\QVEditors.dat",
              "C:\\Tools\\paint.exe<name>Paint\r\nno marker here\r\n\r\nC:\\Tools\\view.exe<NAME>Viewer\n");
    // The user's links: only the copy shipped beside the program, the default until the first save.
    const std::string shippedLinks = "http://pictures.example/<name>Pictures\r\nmailto:me@example.org<name>Me\r\n";
    WriteFile(installation.File("QVImgwebs.dat"), shippedLinks);
    // The imaging sites are the update program's list: read, never written here.
    const std::string sites = "http://sites.example/<name>Sites\r\nnot a site\r\n";
    WriteFile(user + "\\QVSetwebs.dat", sites);

    Process p(installation.Program(), nullptr);
    AnswerBoxes(p, {
                       {"Error: 5", "An error occured while loading the list file 'QVEditors.dat'!", {IDOK}, IDOK},
                       {"Error: 5", "An error occured while loading the list file 'QVSetwebs.dat'!", {IDOK}, IDOK},
                   });
    const HWND window = StartedMainWindow(p);
    ASSERT_NE(window, nullptr);
    Close(p, window);

    EXPECT_EQ(ReadFile(user + "\\QVEditors.dat"), "C:\\Tools\\paint.exe<name>Paint\r\nC:\\Tools\\view.exe<name>Viewer\r\n");
    EXPECT_EQ(ReadFile(user + "\\QVImgwebs.dat"), shippedLinks) << "the first save writes the user's own copy";
    EXPECT_EQ(ReadFile(installation.File("QVImgwebs.dat")), shippedLinks) << "the shipped copy stays as it was";
    EXPECT_EQ(ReadFile(user + "\\QVSetwebs.dat"), sites);
}

}  // namespace
