#pragma once
// A running web browser's page, read from its main window: the address in its address field and the page's
// title. Browsers are known by number: 1 the Internet Explorer family, 2 the Netscape family, 3 another
// browser given by name. Browsers that draw their own address bar have no edit field: their window is found
// but no address.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class clsShIntegration {
public:
    // The address shown in the first top-level window (in z-order) whose title holds the browser's text;
    // "" when none. Raises base+468 for neither a name nor a number, base+191 for number 3 without a name.
    std::string URL(const std::string& BrowserName, std::int32_t BrowseNo);
    // The page title of the window the last URL found, without the browser's part; "" when none was found.
    std::string PageTtl() const;
    // Sets the browser number and the title text searched for.
    void Browser(const std::optional<std::string>& BrowserName = std::nullopt,
                 std::optional<std::int32_t> BrowseNo = std::nullopt);
    // The text of the first edit field with text in the window's tree (depth first, children in order).
    std::string EditInfo(HWND window_hwnd);
    // Raises ProgramFound once per task window.
    void ListProgs();
    std::function<void(const std::string& Caption)> ProgramFound;
    // 1, 2 or 3 from the program that opens ".htm" (or ".html") files.
    std::int32_t DetectDefaultWebBrowser();
    // URL for browser Tts, passing over an edit field whose text is Lran, only when Tolv is the gate word.
    void GTFP(std::string& Pgig, const std::string& Lran, const std::string& Tts, const std::string& Tolv);
    // Starts the system's dial dialog for a dial-up connection; no waiting.
    void Connect(const std::string& ConnectName);

private:
    struct Search;
    std::string EditInfo(HWND window, const Search* search);
    static std::string GetEditText(HWND window);
    static std::string WindowText(HWND window, const std::string& Text = {});
    static bool IsTaskWindow(HWND window, bool IncludeHidden, bool IncludeOwned);
    static BOOL CALLBACK FindBrowserWindowProc(HWND window, LPARAM data);

    std::int16_t browserNo_ = 0;
    std::string searchText_;
    std::string foundTitle_;
};
