#pragma once
// Shell services: folder picker, system folders, user name, other programs' windows, topmost windows,
// shortcuts, running files, menu bitmaps, the wallpaper and the properties sheet.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace services {

class clsShell {
public:
    // The window members the late-bound callers pass (a form: hwnd, and position and size in twips).
    struct WindowPlacement {
        HWND hwnd = nullptr;
        double left = 0, top = 0, width = 0, height = 0;
    };

    static void ShowInTaskBar(HWND hwnd, bool state);
    // nullopt when the user cancels.
    static std::optional<std::string> Folders(const std::string& title, HWND owner);
    static std::string GetWindowsDir();
    static std::string GetTmpPath();
    static std::string GetSystemPath();
    static std::string UserName();
    // Asks the first top-level window captioned appName to close; a refused request shows "Error closing
    // application." through the runtime's answerer.
    static void CloseApp(const std::string& appName);
    // Test seam: while set, CloseApp's close request fails as a refused post does (a full message queue
    // cannot be brought about on every platform).
    static void FailCloseRequestsForTest(bool fail) noexcept;
    static void FormStayOnTop(const WindowPlacement& window, bool onTop);
    // The pixel rectangle of a window given in twips (32-bit, rounded half to even).
    static RECT PixelsOf(const WindowPlacement& window);

    static bool StartMenLnkCreate(const std::string& menuPath, const std::string& name, const std::string& linkPath,
                                  const std::string& lineArgs);
    static bool StartMenuLinkChk(const std::string& path, const std::string& shtCtName);
    static void StartMenuLnkDel(const std::string& path, const std::string& shtCtName);
    static bool StartMenuCreateFldr(const std::string& path);
    static void StartMenuDelFldr(const std::string& path);
    static std::string QuickLaunchFolder();
    static bool QuickStart();
    static bool QuickStartShCutMak(const std::string& path, const std::string& shCutName);
    static std::string DesktopFolder();
    static void CreateDesktopIcon(const std::string& shCutName, const std::string& path);
    static void RunFile(const std::string& file, const std::string& filePath, std::int32_t runStyle);
    static void BMPonMenu(HWND form, HBITMAP unchecked, HBITMAP checked, std::int32_t menuPos,
                          std::int32_t menuItem);
    static void SetDesktopImage(const std::string& path, const std::string& tile);
    static std::int32_t ShowProperties(const std::string& fileName, HWND owner);
};

}  // namespace services
