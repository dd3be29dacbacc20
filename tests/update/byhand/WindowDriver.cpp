// Answers another program's windows for scripts/update-by-hand, as a user would: one action per start,
// one result line on stdout ("ok ..." or "failed ..."), exit code 0 only for "ok".
//
//   wait TITLE TEXT [SECONDS]   a visible top-level window TITLE shows a visible control with TEXT
//                               (an empty TEXT: the window alone)
//   click TITLE CAPTION         presses the visible button CAPTION of window TITLE
//   save TITLE PATH             types PATH into save dialog TITLE and confirms it
//   gone TITLE [SECONDS]        no visible top-level window TITLE is left
//   text TITLE                  prints the texts of the window's visible controls, one a line

#include <windows.h>
#include <dlgs.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string TextOf(HWND hwnd) {
    char text[2048] = {};
    // WM_GETTEXT, not GetWindowText: the window belongs to another process.
    SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                        nullptr);
    return text;
}

std::string ClassOf(HWND hwnd) {
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

std::vector<HWND> TopLevel(const std::string& title) {
    struct Args {
        const std::string* title;
        std::vector<HWND> found;
    } a{&title, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM l) -> BOOL {
            auto* args = reinterpret_cast<Args*>(l);
            if (IsWindowVisible(hwnd) && TextOf(hwnd) == *args->title) args->found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&a));
    return a.found;
}

std::vector<HWND> VisibleChildren(HWND top) {
    std::vector<HWND> found;
    EnumChildWindows(
        top,
        [](HWND hwnd, LPARAM l) -> BOOL {
            if (IsWindowVisible(hwnd)) reinterpret_cast<std::vector<HWND>*>(l)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND ChildWithText(HWND top, const std::string& text, bool buttonsOnly) {
    for (const HWND child : VisibleChildren(top)) {
        if (buttonsOnly && ClassOf(child) != "Button") continue;
        if (TextOf(child) == text) return child;
    }
    return nullptr;
}

// Polls until the condition holds or the time is up: the windows belong to another process, so there is
// no event of ours to wait on.
template <class Condition>
bool WaitFor(double seconds, Condition condition) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    while (!condition()) {
        if (GetTickCount64() >= deadline) return false;
        Sleep(100);
    }
    return true;
}

int Result(bool ok, const std::string& what) {
    std::printf("%s %s\n", ok ? "ok" : "failed", what.c_str());
    std::fflush(stdout);
    return ok ? 0 : 1;
}

double SecondsArg(int argc, char** argv, int index, double fallback) {
    return argc > index ? std::atof(argv[index]) : fallback;
}

int Wait(const std::string& title, const std::string& text, double seconds) {
    const bool ok = WaitFor(seconds, [&] {
        for (const HWND top : TopLevel(title))
            if (text.empty() || ChildWithText(top, text, false)) return true;
        return false;
    });
    return Result(ok, "wait \"" + title + "\" shows \"" + text + "\"");
}

int Click(const std::string& title, const std::string& caption) {
    HWND button = nullptr;
    WaitFor(10, [&] {
        for (const HWND top : TopLevel(title))
            if ((button = ChildWithText(top, caption, true)) != nullptr && IsWindowEnabled(button)) return true;
        return false;
    });
    if (button) PostMessageA(button, BM_CLICK, 0, 0);
    return Result(button != nullptr, "click \"" + caption + "\" in \"" + title + "\"");
}

int Save(const std::string& title, const std::string& path) {
    HWND dialog = nullptr;
    WaitFor(20, [&] {
        const auto found = TopLevel(title);
        dialog = found.empty() ? nullptr : found.front();
        return dialog != nullptr;
    });
    if (!dialog) return Result(false, "save dialog \"" + title + "\" not shown");
    // The file-name box is a combo box on the newer dialog and an edit box on the older one.
    HWND name = GetDlgItem(dialog, cmb13);
    if (!name) name = GetDlgItem(dialog, edt1);
    if (!name) return Result(false, "save dialog has no file-name box");
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    return Result(true, "save as " + path);
}

int Gone(const std::string& title, double seconds) {
    return Result(WaitFor(seconds, [&] { return TopLevel(title).empty(); }), "\"" + title + "\" gone");
}

int Texts(const std::string& title) {
    const auto found = TopLevel(title);
    if (found.empty()) return Result(false, "no window \"" + title + "\"");
    for (const HWND child : VisibleChildren(found.front())) {
        const std::string t = TextOf(child);
        if (!t.empty()) std::printf("  [%s] %s\n", ClassOf(child).c_str(), t.c_str());
    }
    return Result(true, "texts of \"" + title + "\"");
}

}  // namespace

int main(int argc, char** argv) {
    const std::string verb = argc > 1 ? argv[1] : "";
    if (verb == "wait" && argc >= 4) return Wait(argv[2], argv[3], SecondsArg(argc, argv, 4, 30));
    if (verb == "click" && argc == 4) return Click(argv[2], argv[3]);
    if (verb == "save" && argc == 4) return Save(argv[2], argv[3]);
    if (verb == "gone" && argc >= 3) return Gone(argv[2], SecondsArg(argc, argv, 3, 30));
    if (verb == "text" && argc == 3) return Texts(argv[2]);
    std::fprintf(stderr, "usage: qv_window_driver wait|click|save|gone|text TITLE [ARG] [SECONDS]\n");
    return 2;
}
