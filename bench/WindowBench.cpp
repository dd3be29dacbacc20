// The browser window against what the platform alone takes:
// - start-up: CreateProcess of the installed program until its main window is visible, against the bare
//   window program (qv_bare_window) measured the same way; median of seven starts each, interleaved, with a
//   start folder of 100 pictures and no boxes;
// - memory: the program's private bytes with a 6000 x 4000 photo shown (Actual Size, Best Fit) less those
//   with the logo shown, against the photo's 24-bit buffer; median of seven starts each;
// - display-mode switch on that photo in a 1600 x 1000 window until the view has painted: to Best Fit against
//   one HALFTONE StretchBlt to the fitted size, to Actual Size against one BitBlt of the whole photo, tile on
//   against one BitBlt of the view;
// - opening a photo in the window (first from the logo, next with the other shown) against a bare decode;
//   median of seven, interleaved.
// Run through bench/window-bench.sh, which gives it a prefix of its own, an installation and the photos:
//   wine qv_window_bench.exe DIR INSTALLED_PROGRAM   (DIR: photo1.jpg, photo2.jpg of bench/make-files.sh)

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/BareDecode.h"
#include "bench/Bench.h"
#include "main/browser/frmQuillview.h"
#include "main/core/Module1.h"
#include "main/core/PictureDecoders.h"
#include "main/core/clsIface.h"
#include "main/core/modInstances.h"
#include "platform/forms/StdPicture.h"
#include "platform/runtime/Answerer.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/FileVersion.h"
#include "platform/runtime/Settings.h"
#include "tests/main/TestBitmap.h"

namespace {

using bench::Seconds;

constexpr DWORD kWaitMs = 60000;
constexpr double kPhotoBytes = 6000.0 * 4000.0 * 3.0;
constexpr int kRuns = 7;

std::string ModuleFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string p = path;
    return p.substr(0, p.find_last_of('\\'));
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The window looked for: of its class, with its caption when one is given, and for the browser the window
// its start marks as the running instance (the splash before it is of the same class).
struct Wanted {
    const char* cls;
    std::string caption;
    bool instance = false;
};

struct Found {
    DWORD pid;
    const Wanted* wanted;
    HWND hwnd;
    bool box;
};

std::string WindowCaption(HWND hwnd) {
    char text[256] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

BOOL CALLBACK FindVisible(HWND hwnd, LPARAM data) {
    auto* f = reinterpret_cast<Found*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != f->pid || !IsWindowVisible(hwnd)) return TRUE;
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (std::string(cls) == "#32770") {
        std::printf("  a message box came up (%s): the measurement is void\n", WindowCaption(hwnd).c_str());
        f->box = true;
    }
    const Wanted& w = *f->wanted;
    if (std::string(cls) == w.cls && (w.caption.empty() || WindowCaption(hwnd) == w.caption) &&
        (!w.instance || modInstances::IsInstanceWindow(hwnd))) {
        f->hwnd = hwnd;
    }
    return TRUE;
}

// A started program: its visible main window, then a close and the end of the process.
class Started {
public:
    Started(const std::string& program, const std::string& arguments) {
        std::string line = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
        STARTUPINFOA si{};
        si.cb = sizeof si;
        start_ = Seconds();
        ok_ = CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_);
        if (!ok_) std::printf("  cannot start %s\n", program.c_str());
    }
    ~Started() {
        if (!ok_) return;
        // Without its window (a box came, or nothing) there is nothing to close: it ends at once.
        if (!window_ || !PostMessageA(window_, WM_CLOSE, 0, 0) ||
            WaitForSingleObject(pi_.hProcess, kWaitMs) != WAIT_OBJECT_0) {
            TerminateProcess(pi_.hProcess, 1);
            WaitForSingleObject(pi_.hProcess, kWaitMs);
        }
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
    }
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;

    // Seconds from CreateProcess until the wanted window is visible; negative when it did not come, the
    // program ended without it or a message box came instead.
    double UntilVisible(const Wanted& wanted) {
        const double deadline = Seconds() + kWaitMs / 1000.0;
        while (ok_ && Seconds() < deadline) {
            Found f{pi_.dwProcessId, &wanted, nullptr, false};
            EnumWindows(&FindVisible, reinterpret_cast<LPARAM>(&f));
            if (f.box) return -1;
            if (f.hwnd) {
                const double took = Seconds() - start_;
                window_ = f.hwnd;
                return took;
            }
            if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_OBJECT_0) {
                std::printf("  %s ended without its window: the measurement is void\n", wanted.cls);
                return -1;
            }
            Sleep(1);
        }
        return -1;
    }

    // Private bytes once the window's thread has finished what it was doing.
    double PrivateBytes() const {
        DWORD_PTR ignored = 0;
        if (window_) SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_NORMAL, kWaitMs, &ignored);
        PROCESS_MEMORY_COUNTERS_EX counters{};
        counters.cb = sizeof counters;
        if (!GetProcessMemoryInfo(pi_.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters)) {
            return -1;
        }
        // The commit charge of the process's private memory: PagefileUsage and PrivateUsage name the same
        // figure, and some systems fill in only the first.
        return static_cast<double>(std::max(counters.PagefileUsage, counters.PrivateUsage));
    }

private:
    PROCESS_INFORMATION pi_{};
    bool ok_ = false;
    double start_ = 0;
    HWND window_ = nullptr;
};

// What every start of the program reads: no question, tip or reminder, this version already recorded.
void QuietStarts(const std::string& program, const std::string& startFolder, const char* imageSize) {
    if (const std::optional<VS_FIXEDFILEINFO> info = forms::FixedFileVersion(program)) {
        forms::SaveSetting("Quillview", "current_version", "major", std::to_string(HIWORD(info->dwFileVersionMS)));
        forms::SaveSetting("Quillview", "current_version", "minor", std::to_string(LOWORD(info->dwFileVersionMS)));
        forms::SaveSetting("Quillview", "current_version", "rev", std::to_string(LOWORD(info->dwFileVersionLS)));
    }
    forms::DeleteSetting("QuillviewUpdate", "Options", "lastqvupdate");
    forms::SaveSetting("Quillview2", "options", "deskicon232", "1");
    forms::SaveSetting("Quillview2", "Options", "Show Tips at Startup", "0");
    forms::SaveSetting("Quillview2", "Interface", "Startdir", startFolder);
    forms::SaveSetting("Quillview2", "Interface", "ImageSize", imageSize);
}

// 100 small pictures for the start folder.
std::string HundredPictures(const std::string& folder) {
    const std::string pictures = folder + "\\hundred";
    CreateDirectoryA(pictures.c_str(), nullptr);
    for (int i = 0; i < 100; ++i) {
        qvtest::WriteBitmap(pictures + "\\picture" + std::to_string(i) + ".bmp", 64, 64, 0x010101u * (i * 2));
    }
    return pictures;
}

void Ratio(const char* what, double value, double against, const char* unit, double scale) {
    std::printf("  %-46s %10.1f %s", what, value * scale, unit);
    if (against > 0) std::printf("   %.2fx", value / against);
    std::printf("\n");
}

void BenchStartUp(const std::string& program, const std::string& startFolder) {
    QuietStarts(program, startFolder, "Actual");
    const std::string bare = ModuleFolder() + "\\qv_bare_window.exe";
    // A first start of each that is not counted: files into the system's cache, the prefix's first use.
    const Wanted bareWindow{"QvBareWindow"};
    const Wanted mainWindow{"QuillviewForm", {}, true};
    { Started(bare, "").UntilVisible(bareWindow); }
    { Started(program, "").UntilVisible(mainWindow); }
    std::vector<double> bareTimes;
    std::vector<double> programTimes;
    for (int i = 0; i < kRuns; ++i) {
        bareTimes.push_back(Started(bare, "").UntilVisible(bareWindow));
        programTimes.push_back(Started(program, "").UntilVisible(mainWindow));
    }
    std::printf("Start-up until the main window is visible (median of %d, interleaved; start folder of 100 pictures)\n",
                kRuns);
    std::printf("  bare window program:");
    for (double t : bareTimes) std::printf(" %.0f", t * 1e3);
    std::printf(" ms\n  installed program:  ");
    for (double t : programTimes) std::printf(" %.0f", t * 1e3);
    std::printf(" ms\n");
    const double bareMedian = Median(bareTimes);
    Ratio("bare window program", bareMedian, 0, "ms", 1e3);
    Ratio("installed program (goal 2.5x)", Median(programTimes), bareMedian, "ms", 1e3);
}

// Private bytes of a start showing `picture` (the logo when empty) in the stored display mode.
double ShownBytes(const std::string& program, const std::string& picture, const char* caption) {
    Started started(program, picture.empty() ? "" : "\"" + picture + "\"");
    if (started.UntilVisible({"QuillviewForm", caption, true}) < 0) return -1;
    return started.PrivateBytes();
}

void BenchMemory(const std::string& program, const std::string& folder) {
    const std::string photo = folder + "\\photo1.jpg";
    std::printf("Private bytes with the 6000 x 4000 photo shown, less those with the logo shown (against the\n"
                "photo's 24-bit buffer of 72,000,000 bytes; median of %d)\n", kRuns);
    const auto median = [&](const char* mode, const std::string& picture, const char* caption) {
        QuietStarts(program, folder, mode);
        std::vector<double> all;
        for (int i = 0; i < kRuns; ++i) {
            const double bytes = ShownBytes(program, picture, caption);
            if (bytes >= 0) all.push_back(bytes);
        }
        return all.empty() ? -1 : Median(all);
    };
    const double logo = median("Actual", "", "Quillview - Vivid Imaging");
    const double actual = median("Actual", photo, "Quillview - photo1.jpg");
    const double fitted = median("Stretch", photo, "Quillview - photo1.jpg");
    Ratio("logo shown", logo, 0, "MB", 1e-6);
    Ratio("Actual Size, less the logo (goal 2.0x)", actual - logo, kPhotoBytes, "MB", 1e-6);
    Ratio("Best Fit, less the logo (goal 2.0x)", fitted - logo, kPhotoBytes, "MB", 1e-6);
}

// ---- The window in this process ----

// A box of the window in this process voids the figures: it is said, and answered No (OK where that is all).
class SayingAnswerer final : public forms::Answerer {
public:
    int MsgBox(const std::string& prompt, int buttons, const std::string& title) override {
        std::printf("  a message box came up (%s: %s): the figures are void\n", title.c_str(), prompt.c_str());
        return (buttons & 7) == forms::mb::OkOnly ? forms::answer::Ok : forms::answer::No;
    }
    std::string InputBox(const std::string&, const std::string&, const std::string&) override { return {}; }
};

frmQuillview& Window() { return forms::Default<frmQuillview>(); }

void Painted() {
    frmQuillview& w = Window();
    UpdateWindow(w.Picture1.hWnd());
    UpdateWindow(w.Image1.hWnd());
    // The status bar is drawn once its texts are all in: what it shows of the picture counts with the picture.
    UpdateWindow(w.SB1.hWnd());
    GdiFlush();
}

double Timed(const std::function<void()>& work) {
    const double start = Seconds();
    work();
    Painted();
    return Seconds() - start;
}

void Select(const std::string& name) {
    frmQuillview& w = Window();
    for (int i = 0; i < w.File1.ListCount(); ++i) {
        if (w.File1.List(i) == name) w.File1.SetListIndex(i);
    }
}

// A memory DC holding a bitmap of its own, for the reference blits.
class MemoryBitmap {
public:
    MemoryBitmap(int width, int height) {
        const HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        old_ = SelectObject(dc_, bitmap_);
    }
    explicit MemoryBitmap(HBITMAP borrowed) : dc_(CreateCompatibleDC(nullptr)), old_(SelectObject(dc_, borrowed)) {}
    ~MemoryBitmap() {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
        if (bitmap_) DeleteObject(bitmap_);
    }
    MemoryBitmap(const MemoryBitmap&) = delete;
    MemoryBitmap& operator=(const MemoryBitmap&) = delete;
    HDC dc() const { return dc_; }

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

void BenchInWindow(const std::string& folder) {
    SayingAnswerer answerer;
    const forms::ScopedAnswerer answering(answerer);
    frmQuillview& w = Window();
    const Module1::ScopedMainWindowView view(w);
    w.LoadWithoutStartUp();
    Module1::gImageSaved = true;
    // 1600 x 1000 pixels, the panel at its least width.
    const float tx = forms::Screen().TwipsPerPixelX();
    const float ty = forms::Screen().TwipsPerPixelY();
    w.Move(0, 0, 1600 * tx, 1000 * ty);
    w.Show();
    w.mInterface->SetBrowserToolsWidth(150);
    w.mInterface->SetBrowserTools(0);
    w.Dir1.SetPath(folder);
    w.File1.SetPath(folder);
    Painted();
    RECT client{};
    GetWindowRect(w.hWnd(), &client);
    std::printf("Display-mode switch on the 6000 x 4000 photo in a %ld x %ld window, until the view has painted "
                "(best of 5)\n",
                client.right - client.left, client.bottom - client.top);

    const forms::StdPicture photo = Module1::LoadJpegPicture(folder + "\\photo1.jpg");
    const auto source = static_cast<HBITMAP>(photo.Handle());
    const MemoryBitmap from(source);
    double toFit = 1e30, toActual = 1e30, tileOn = 1e30, stretch = 1e30, whole = 1e30, viewBlit = 1e30;
    int fitWidth = 0, fitHeight = 0;
    w.DisplayMode_ = 101;
    Select("photo1.jpg");
    Painted();
    for (int run = 0; run < 5; ++run) {
        toFit = std::min(toFit, Timed([&] { w.Toolbar_Click(6); }));
        fitWidth = static_cast<int>(w.Image1.Width());
        fitHeight = static_cast<int>(w.Image1.Height());
        toActual = std::min(toActual, Timed([&] { w.Toolbar_Click(6); }));
        tileOn = std::min(tileOn, Timed([&] { w.TilePic_Click(); }));
        Timed([&] { w.TilePic_Click(); });

        const MemoryBitmap fitted(fitWidth, fitHeight);
        stretch = std::min(stretch, Timed([&] {
            SetStretchBltMode(fitted.dc(), HALFTONE);
            SetBrushOrgEx(fitted.dc(), 0, 0, nullptr);
            StretchBlt(fitted.dc(), 0, 0, fitWidth, fitHeight, from.dc(), 0, 0, 6000, 4000, SRCCOPY);
        }));
        const MemoryBitmap copy(6000, 4000);
        whole = std::min(whole, Timed([&] { BitBlt(copy.dc(), 0, 0, 6000, 4000, from.dc(), 0, 0, SRCCOPY); }));
        const int viewWidth = static_cast<int>(w.Picture1.ScaleWidth());
        const int viewHeight = static_cast<int>(w.Picture1.ScaleHeight());
        const MemoryBitmap viewCopy(viewWidth, viewHeight);
        viewBlit = std::min(viewBlit, Timed([&] {
            BitBlt(viewCopy.dc(), 0, 0, viewWidth, viewHeight, from.dc(), 0, 0, SRCCOPY);
        }));
    }
    std::printf("  (fitted size %d x %d)\n", fitWidth, fitHeight);
    Ratio("one HALFTONE StretchBlt to the fitted size", stretch, 0, "ms", 1e3);
    Ratio("to Best Fit (goal 2x)", toFit, stretch, "ms", 1e3);
    Ratio("one BitBlt of the whole photo", whole, 0, "ms", 1e3);
    Ratio("to Actual Size (goal 2x)", toActual, whole, "ms", 1e3);
    Ratio("one BitBlt of the view", viewBlit, 0, "ms", 1e3);
    Ratio("tile on (goal 2x)", tileOn, viewBlit, "ms", 1e3);

    std::printf("Opening a 6000 x 4000 JPEG in the window, Actual Size (median of %d, interleaved; goal 1.15x the "
                "bare decode)\n", kRuns);
    std::vector<double> bares1, bares2, firsts, nexts;
    for (int run = 0; run < kRuns; ++run) {
        bares1.push_back(Timed([&] { bench::BareDecode(folder + "\\photo1.jpg"); }));
        Timed([&] { w.ShowLogo(); });
        firsts.push_back(Timed([&] { Select("photo1.jpg"); }));
        bares2.push_back(Timed([&] { bench::BareDecode(folder + "\\photo2.jpg"); }));
        nexts.push_back(Timed([&] { Select("photo2.jpg"); }));
    }
    const double bare1 = Median(bares1), bare2 = Median(bares2), first = Median(firsts), next = Median(nexts);
    Ratio("bare decode, first file", bare1, 0, "ms", 1e3);
    Ratio("first picture (from the logo)", first, bare1, "ms", 1e3);
    Ratio("bare decode, second file", bare2, 0, "ms", 1e3);
    Ratio("next picture (the first one shown)", next, bare2, "ms", 1e3);
    // Where the time over the decode goes: the loader's decode alone, and the window's drawing of a photo
    // already shown (Cls, size and PaintPicture into the 32-bit surface of Image1).
    double decode = 1e30, redraw = 1e30;
    Select("photo1.jpg");
    for (int run = 0; run < 5; ++run) {
        decode = std::min(decode, Timed([&] { Module1::LoadJpegPicture(folder + "\\photo1.jpg"); }));
        redraw = std::min(redraw, Timed([&] { w.DisplayImage(); }));
    }
    std::printf("Split of the first picture\n");
    Ratio("the loader's decode alone", decode, bare1, "ms", 1e3);
    Ratio("DisplayImage of the photo shown, Actual Size", redraw, bare1, "ms", 1e3);
    w.Unload();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::printf("usage: qv_window_bench DIR INSTALLED_PROGRAM [start|memory|window]\n");
        return 2;
    }
    setvbuf(stdout, nullptr, _IONBF, 0);  // each row as soon as it is measured
    OleInitialize(nullptr);
    const std::string folder = argv[1];
    const std::string program = argv[2];
    const std::string only = argc > 3 ? argv[3] : "";
    if (only.empty() || only == "start") BenchStartUp(program, HundredPictures(folder));
    if (only.empty() || only == "memory") BenchMemory(program, folder);
    if (only.empty() || only == "window") BenchInWindow(folder);
    OleUninitialize();
    return 0;
}
