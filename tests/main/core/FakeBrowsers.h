#pragma once
// Browser-like windows in a process of their own (the fake browser program beside the tests), for the
// browser integration tests: each window "title|edit text|...", as that program takes them.

#include "tests/platform/forms/FormsTestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace coretest {

inline std::string FakeBrowserProgram() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p = path;
    return p.substr(0, p.find_last_of('\\')) + "\\" + QV_FAKEBROWSER_RELPATH;
}

struct Found {
    DWORD pid;
    std::vector<std::pair<HWND, std::string>> windows;  // in z-order
};

inline BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM data) {
    auto& found = *reinterpret_cast<Found*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char title[1024] = {};
    GetWindowTextA(hwnd, title, sizeof title);
    char kind[64] = {};
    GetClassNameA(hwnd, kind, sizeof kind);
    if (pid == found.pid && std::string(kind) == "QVFakeBrowser") found.windows.emplace_back(hwnd, title);
    return TRUE;
}

// The browser windows, each in the helper program's own process.
class FakeBrowsers {
public:
    explicit FakeBrowsers(const std::vector<std::string>& windows) {
        std::string line = "\"" + FakeBrowserProgram() + "\"";
        for (const auto& w : windows) line += " \"" + w + "\"";
        STARTUPINFOA si{};
        si.cb = sizeof si;
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &process_)) {
            ADD_FAILURE() << "cannot start " << line;
            return;
        }
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, nullptr);
        formstest::PumpUntil([&] { return Windows().size() == windows.size(); }, 20000);
        KillTimer(nullptr, timer);
        EXPECT_EQ(Windows().size(), windows.size());
    }
    ~FakeBrowsers() {
        if (!process_.hProcess) return;
        TerminateProcess(process_.hProcess, 0);
        WaitForSingleObject(process_.hProcess, 10000);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    FakeBrowsers(const FakeBrowsers&) = delete;
    FakeBrowsers& operator=(const FakeBrowsers&) = delete;

    std::vector<std::pair<HWND, std::string>> Windows() const {
        Found found{process_.dwProcessId, {}};
        EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&found));
        return found.windows;
    }
    HWND Window(const std::string& title) const {
        for (const auto& [hwnd, text] : Windows())
            if (text == title) return hwnd;
        return nullptr;
    }

private:
    PROCESS_INFORMATION process_{};
};

}  // namespace coretest
