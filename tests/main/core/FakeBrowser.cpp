// Shows browser-like windows in a process of its own, for the browser integration tests. Each argument is
// one top-level window: "title|edit text|edit text...", every edit field inside a panel of its own, in order.
// A title beginning with "hidden:" makes a hidden window, "owned:" one owned by the first window. It runs
// until it is ended.

#include <windows.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Split(const std::string& text, char by) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(by, start)) != std::string::npos; start = at + 1) {
        parts.push_back(text.substr(start, at - start));
    }
    parts.push_back(text.substr(start));
    return parts;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA frame{};
    frame.lpfnWndProc = DefWindowProcA;
    frame.hInstance = instance;
    frame.lpszClassName = "QVFakeBrowser";
    RegisterClassA(&frame);
    WNDCLASSA panel = frame;
    panel.lpszClassName = "QVFakePanel";
    RegisterClassA(&panel);

    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    HWND first = nullptr;
    for (int i = 1; i < argc; ++i) {
        const int n = WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
        std::string description(static_cast<std::size_t>(n > 0 ? n - 1 : 0), '\0');
        WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, description.data(), n, nullptr, nullptr);
        std::vector<std::string> parts = Split(description, '|');
        std::string title = parts[0];
        bool visible = true;
        HWND owner = nullptr;
        if (title.rfind("hidden:", 0) == 0) {
            title.erase(0, 7);
            visible = false;
        } else if (title.rfind("owned:", 0) == 0) {
            title.erase(0, 6);
            owner = first;
        }
        HWND window = CreateWindowExA(0, "QVFakeBrowser", title.c_str(), WS_OVERLAPPEDWINDOW, 40 + 20 * i, 40 + 20 * i,
                                      400, 300, owner, nullptr, instance, nullptr);
        for (std::size_t k = 1; k < parts.size(); ++k) {
            HWND box = CreateWindowExA(0, "QVFakePanel", "", WS_CHILD | WS_VISIBLE, 0, static_cast<int>(30 * k), 380,
                                       28, window, nullptr, instance, nullptr);
            CreateWindowExA(0, "Edit", parts[k].c_str(), WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 2, 2, 370, 24, box,
                            nullptr, instance, nullptr);
        }
        if (visible) ShowWindow(window, SW_SHOWNOACTIVATE);
        if (!first) first = window;
    }
    LocalFree(argv);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
