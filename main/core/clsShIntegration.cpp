#include "main/core/clsShIntegration.h"

#include "main/core/Module1.h"
#include "platform/runtime/OwnedHandles.h"
#include "platform/runtime/Paths.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Strings.h"

#include <vector>

namespace {

constexpr std::int32_t kNoBrowserNumber = forms::ObjectError + 468;
constexpr std::int32_t kNoProgramName = forms::ObjectError + 191;

bool Holds(std::string_view text, std::string_view part) {
    return forms::InStr(text, part, forms::Compare::Text) != 0;
}

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && forms::TextEquals(text.substr(text.size() - end.size()), end);
}

bool StartsWith(std::string_view text, std::string_view start) {
    return text.size() >= start.size() && forms::TextEquals(text.substr(0, start.size()), start);
}

std::string ClassName(HWND window) {
    char name[256] = {};
    const int n = GetClassNameA(window, name, 255);
    return std::string(name, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::string ReadDefault(HKEY root, const std::string& key) {
    char value[1024] = {};
    DWORD size = sizeof value - 1;
    if (RegGetValueA(root, key.c_str(), nullptr, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr, value,
                     &size) != ERROR_SUCCESS) {
        return {};
    }
    return value;
}

}  // namespace

// One search of the top-level windows; it lives for the call.
struct clsShIntegration::Search {
    clsShIntegration* owner;
    std::string text;
    bool skip = false;
    std::string skipText;
    std::string address;
};

void clsShIntegration::Browser(const std::optional<std::string>& BrowserName, std::optional<std::int32_t> BrowseNo) {
    if (BrowseNo && *BrowseNo != 0) {
        browserNo_ = static_cast<std::int16_t>(*BrowseNo);
        switch (*BrowseNo) {
        case 1: searchText_ = "Microsoft Internet Explorer"; break;
        case 2: searchText_ = "Netscape"; break;
        case 3: searchText_.clear(); break;
        default: break;
        }
        return;
    }
    if (!BrowserName) return;
    const std::string& name = *BrowserName;
    // A name carrying the length of the title found last is taken for that window's browser.
    const std::string length = std::to_string(foundTitle_.size());
    if (Holds(name, length)) {
        browserNo_ = 1;
        searchText_ = length;
    } else if (Holds(name, "Netscape")) {
        browserNo_ = 2;
        searchText_ = "Netscape";
    } else if (Holds(name, "Neoplanet")) {
        browserNo_ = 3;
        searchText_ = "NeoPlanet";
    } else {
        browserNo_ = 3;
    }
}

std::string clsShIntegration::URL(const std::string& BrowserName, std::int32_t BrowseNo) {
    if (BrowserName.empty() && BrowseNo == 0) {
        throw forms::RuntimeError(kNoBrowserNumber, "Need to specify Browser Number when program name not specified");
    }
    if (BrowserName.empty() && BrowseNo == 3) {
        throw forms::RuntimeError(kNoProgramName, "When browser unknown, need to specify program name!");
    }
    if (BrowseNo == 0 || BrowseNo == 3) {
        Browser(BrowserName);
    } else {
        Browser(std::nullopt, BrowseNo);
    }
    Search search{this, BrowseNo == 0 || BrowseNo == 3 ? BrowserName : searchText_};
    if (BrowseNo == 0 || BrowseNo == 3) searchText_ = BrowserName;
    foundTitle_.clear();
    EnumWindows(FindBrowserWindowProc, reinterpret_cast<LPARAM>(&search));
    return search.address;
}

BOOL CALLBACK clsShIntegration::FindBrowserWindowProc(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<Search*>(data);
    char title[1024] = {};
    GetWindowTextA(window, title, sizeof title);
    if (!Holds(title, search.text)) return TRUE;
    // The first matching window wins, also when no address is read from it.
    search.address = search.owner->EditInfo(window, &search);
    search.owner->foundTitle_ = title;
    return FALSE;
}

std::string clsShIntegration::EditInfo(HWND window_hwnd) { return EditInfo(window_hwnd, nullptr); }

std::string clsShIntegration::EditInfo(HWND window, const Search* search) {
    if (ClassName(window) == "Edit") {
        std::string text = GetEditText(window);
        if (!(search && search->skip && text == search->skipText)) return text;
    }
    std::vector<HWND> children;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    for (HWND child : children) {
        std::string text = EditInfo(child, search);
        if (!text.empty()) return text;
    }
    return {};
}

std::string clsShIntegration::PageTtl() const {
    if (foundTitle_.empty()) return {};
    std::string title = foundTitle_;
    const auto cutEnd = [&](std::string_view end) {
        if (EndsWith(title, end)) title.resize(title.size() - end.size());
    };
    switch (browserNo_) {
    case 1:
        if (Holds(title, "[Working Offline]")) {
            constexpr std::string_view offline = " - [Working Offline]";
            if (const std::size_t at = forms::InStr(title, offline, forms::Compare::Text)) title.erase(at - 1, offline.size());
        }
        cutEnd(" - Microsoft Internet Explorer");
        break;
    case 2:
        cutEnd(" - Netscape");
        break;
    case 3: {
        const std::string& name = searchText_;
        if (name.empty()) break;
        if (EndsWith(title, name)) {
            title = forms::Trim(title.substr(0, title.size() - name.size()));
            if (!title.empty() && title.back() == '-') title = forms::Trim(title.substr(0, title.size() - 1));
        } else if (StartsWith(title, name)) {
            title = forms::Trim(title.substr(name.size()));
            if (!title.empty() && title.front() == '-') title = forms::Trim(title.substr(1));
        }
        break;
    }
    default:
        break;
    }
    return title;
}

std::string clsShIntegration::GetEditText(HWND window) {
    if (!window) return {};
    const auto length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return {};
    // Room for the terminator too, so that the address keeps its last character.
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const auto copied = SendMessageA(window, WM_GETTEXT, static_cast<WPARAM>(text.size()),
                                     reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

std::string clsShIntegration::WindowText(HWND window, const std::string& Text) {
    if (!Text.empty()) {
        SetWindowTextA(window, Text.c_str());
        return {};
    }
    char text[256] = {};
    const int n = GetWindowTextA(window, text, 256);
    return std::string(text, n > 0 ? static_cast<std::size_t>(n) : 0);
}

bool clsShIntegration::IsTaskWindow(HWND window, bool IncludeHidden, bool IncludeOwned) {
    if (WindowText(window).empty()) return false;
    if (!IncludeHidden && !IsWindowVisible(window)) return false;
    return IncludeOwned || GetWindow(window, GW_OWNER) == nullptr;
}

void clsShIntegration::ListProgs() {
    for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window; window = GetWindow(window, GW_HWNDNEXT)) {
        if (IsTaskWindow(window, false, false) && ProgramFound) ProgramFound(WindowText(window));
    }
}

std::int32_t clsShIntegration::DetectDefaultWebBrowser() {
    std::string progId = ReadDefault(HKEY_CLASSES_ROOT, ".htm");
    if (progId.empty()) progId = ReadDefault(HKEY_CLASSES_ROOT, ".html");
    if (progId.empty()) return 3;
    const std::string command = forms::LCase(ReadDefault(HKEY_CLASSES_ROOT, progId + "\\shell\\open\\command"));
    if (command.find("iexplo") != std::string::npos) return 1;
    if (command.find("netsca") != std::string::npos) return 2;
    return 3;
}

void clsShIntegration::GTFP(std::string& Pgig, const std::string& Lran, const std::string& Tts,
                            const std::string& Tolv) {
    if (Tolv != "tamsk") return;
    if (Tts.empty()) throw forms::RuntimeError(kNoProgramName, "When browser unknown, need to specify program name!");
    Browser(Tts);
    Search search{this, Tts, true, Lran};
    searchText_ = Tts;
    foundTitle_.clear();
    EnumWindows(FindBrowserWindowProc, reinterpret_cast<LPARAM>(&search));
    Pgig = search.address;
}

void clsShIntegration::Connect(const std::string& ConnectName) {
    // The dial dialog of the system folder, started directly: no command interpreter reads the name.
    const std::string program = forms::JoinPath(Module1::GetSystemDir(), "rundll32.exe");
    std::string line = "\"" + program + "\" rnaui.dll,RnaDial " + ConnectName;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}
