// The main window's commands on large folders against the floor of each, in one run on the real window:
// - a folder change until the file list holds every entry, then Navigate Forward until the picture is shown,
//   against one bare FindFirstFileA/FindNextFileA loop collecting the names plus the loader called directly;
// - Fileseek (Enter in the box until the results are listed) against a loop over the same names applying the
//   same test and filling a bare list box (storage reserved, drawing held, item data set).
// The measurements are taken in turns, so that a busy machine weighs on both sides alike; best of seven.
//   bench/make-commands-files.sh DIR
//   wine build/win64/bench/qv_commands_bench.exe DIR

#include "bench/Bench.h"
#include "main/browser/FileSelection.h"
#include "main/browser/frmQuillview.h"
#include "main/core/Module1.h"
#include "platform/forms/MessageLoop.h"
#include "platform/runtime/OwnedHandles.h"
#include "platform/runtime/ScriptedAnswerer.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/Strings.h"

#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kRuns = 7;

// One timed run.
double Timed(const std::function<void()>& work) { return bench::Best(1, work); }

void Painted(frmQuillview& w) {
    UpdateWindow(w.File1.hWnd());
    UpdateWindow(w.Picture1.hWnd());
    UpdateWindow(w.Image1.hWnd());
    GdiFlush();
}

void Report(const char* what, double seconds, double against, const char* floor) {
    std::printf("  %-56s %8.1f ms", what, seconds * 1e3);
    if (against > 0) std::printf("   x%.2f of %s (target at most x1.50)", seconds / against, floor);
    std::printf("\n");
}

void BenchFolderChange(frmQuillview& w, const std::string& folder, const std::string& away) {
    std::printf("Folder change and next picture in %s\n", folder.c_str());
    std::vector<std::string> names;
    const auto loop = [&] {
        names.clear();
        WIN32_FIND_DATAA found;
        const forms::UniqueFind search(forms::NullIfInvalid(FindFirstFileA((folder + "\\*").c_str(), &found)));
        if (!search) return;
        do names.emplace_back(found.cFileName);
        while (FindNextFileA(search.get(), &found));
    };
    const auto leave = [&] {
        w.Dir1.SetPath(away);
        w.ShowLogo();
        Painted(w);
    };
    int listed = 0;
    const auto ours = [&] {
        w.Dir1.SetPath(folder);
        listed = w.File1.ListCount();
        UpdateWindow(w.File1.hWnd());
        w.Toolbar_Click(1);
        Painted(w);
    };
    double loopBest = 1e30, loaderBest = 1e30, oursBest = 1e30;
    std::string shown;
    for (int run = 0; run < kRuns; ++run) {
        loopBest = std::min(loopBest, Timed(loop));
        leave();
        oursBest = std::min(oursBest, Timed(ours));
        shown = Module1::gCurrentImagePath;
        // The loader alone, on the same picture chosen without loading it.
        w.ShowLogo();
        {
            const browser::SuppressFileClick quiet;
            w.File1.SetListIndex(0);
        }
        Painted(w);
        loaderBest = std::min(loaderBest, Timed([&] {
            Module1::ShowImage();
            Painted(w);
        }));
    }
    std::printf("  %zu names, %d listed, picture shown: %s\n", names.size(), listed, shown.c_str());
    Report("FindFirstFileA/FindNextFileA loop collecting the names", loopBest, 0, "");
    Report("Module1.ShowImage of the picture, called directly", loaderBest, 0, "");
    Report("Dir1.Path until listed, then Navigate Forward until shown", oursBest, loopBest + loaderBest,
           "loop + loader");
    leave();
}

// A top-level list box as bare as the system gives it.
class BareList {
public:
    BareList()
        : hwnd_(CreateWindowExA(0, "LISTBOX", "bare", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY, 0, 0,
                                300, 400, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr)) {}
    ~BareList() { DestroyWindow(hwnd_); }
    BareList(const BareList&) = delete;
    BareList& operator=(const BareList&) = delete;
    HWND Handle() const { return hwnd_; }

private:
    HWND hwnd_;
};

void BenchFileseek(frmQuillview& w, const std::string& folder) {
    w.Dir1.SetPath(folder);
    std::vector<std::string> names;
    for (int i = 0; i < w.File1.ListCount(); ++i) names.push_back(w.File1.List(i));
    std::printf("Fileseek over the %zu entries of %s\n", names.size(), folder.c_str());
    const BareList bare;
    for (const char* term : {"sunset", "pic_"}) {
        std::size_t bareHits = 0;
        const auto loop = [&] {
            SendMessageA(bare.Handle(), WM_SETREDRAW, FALSE, 0);
            std::vector<int> hits;
            for (std::size_t i = 0; i < names.size(); ++i) {
                if (forms::InStr(names[i], term, forms::Compare::Text) != 0) hits.push_back(static_cast<int>(i));
            }
            std::size_t bytes = 0;
            for (const int i : hits) bytes += names[static_cast<std::size_t>(i)].size() + 1;
            SendMessageA(bare.Handle(), LB_INITSTORAGE, hits.size(), bytes);
            for (const int i : hits) {
                const LRESULT at = SendMessageA(bare.Handle(), LB_ADDSTRING, 0,
                                                reinterpret_cast<LPARAM>(names[static_cast<std::size_t>(i)].c_str()));
                SendMessageA(bare.Handle(), LB_SETITEMDATA, static_cast<WPARAM>(at), i);
            }
            SendMessageA(bare.Handle(), WM_SETREDRAW, TRUE, 0);
            InvalidateRect(bare.Handle(), nullptr, TRUE);
            UpdateWindow(bare.Handle());
            bareHits = hits.size();
        };
        int found = 0;
        const auto ours = [&] {
            SendMessageA(w.txtSearch.hWnd(), WM_CHAR, VK_RETURN, 0);
            forms::MessageLoop::RunUntil([&] { return w.List1.ListCount() == static_cast<int>(bareHits); }, 60000);
            UpdateWindow(w.List1.hWnd());
            found = w.List1.ListCount();
        };
        double loopBest = 1e30, oursBest = 1e30;
        for (int run = 0; run < kRuns; ++run) {
            SendMessageA(bare.Handle(), LB_RESETCONTENT, 0, 0);
            loopBest = std::min(loopBest, Timed(loop));
            // Back in the box, as the user comes back to it: its focus empties the results.
            w.txtSearch.SetFocus();
            forms::MessageLoop::RunUntil([&] { return GetFocus() == w.txtSearch.hWnd(); }, 5000);
            w.txtSearch.SetText(term);
            forms::DoEvents();
            oursBest = std::min(oursBest, Timed(ours));
        }
        std::printf("  term \"%s\": %zu hits, %d listed\n", term, bareHits, found);
        Report("loop over the names into a bare LISTBOX", loopBest, 0, "");
        Report("Enter in txtSearch until List1 holds the results", oursBest, loopBest, "the bare loop");
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: qv_commands_bench DIR (with files and seek from bench/make-commands-files.sh)\n");
        return 2;
    }
    OleInitialize(nullptr);
    const std::string dir = argv[1];
    // No setting of the user's is read or written, and a question the run did not expect is said, not waited on.
    const forms::SettingsRootOverride settings(std::string(forms::TestSettingsBase) + "CommandsBench");
    forms::ScriptedAnswerer answers([](const std::string& m) { std::printf("  unexpected: %s\n", m.c_str()); });
    const forms::ScopedAnswerer answering(answers);
    auto& w = forms::Default<frmQuillview>();
    w.LoadWithoutStartUp();
    w.Show();
    w.ShowLogo();
    w.FileseekExplained = true;
    forms::DoEvents();
    BenchFolderChange(w, dir + "\\files", dir);
    BenchFileseek(w, dir + "\\seek");
    w.Unload();
    return 0;
}
