#include "lib/services/clsShell.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cmath>
#include <limits>
#include <vector>

#include "lib/services/FileIo.h"
#include "lib/services/clsReg_n_FileAssoc.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/OwnedHandles.h"
#include "platform/runtime/ScreenUnits.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/shortcuts/ShellLink.h"

namespace services {

namespace {

bool g_failCloseRequests = false;

std::string UpToNul(const std::vector<char>& buffer) {
    size_t n = 0;
    while (n < buffer.size() && buffer[n] != '\0') ++n;
    return std::string(buffer.data(), n);
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string LinkFile(const std::string& menuPath, const std::string& name) {
    return shortcuts::ResolveStartMenuPath(menuPath + name) + ".lnk";
}

// Window pixels are 32-bit: a large or multi-monitor desktop never overflows.
std::int32_t ToPixels(double twips, int twipsPerPixel) { return forms::CLng(twips / twipsPerPixel); }

struct WindowSearch {
    const std::string* title;
    HWND found;
};

BOOL CALLBACK FindTitle(HWND hwnd, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    const int length = GetWindowTextLengthA(hwnd);
    if (length != static_cast<int>(search->title->size())) return TRUE;
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(hwnd, text.data(), length + 1);
    if (UpToNul(text) == *search->title) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

void clsShell::ShowInTaskBar(HWND hwnd, bool state) {
    LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_EXSTYLE);
    if (state) {
        style &= ~static_cast<LONG_PTR>(WS_EX_TOOLWINDOW);
        style |= WS_EX_APPWINDOW;
    } else {
        style &= ~static_cast<LONG_PTR>(WS_EX_APPWINDOW);
    }
    SetWindowLongPtrA(hwnd, GWL_EXSTYLE, style);
}

std::optional<std::string> clsShell::Folders(const std::string& title, HWND owner) {
    std::vector<char> display(MAX_PATH, '\0');
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;
    info.pszDisplayName = display.data();
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN;
    PIDLIST_ABSOLUTE item = SHBrowseForFolderA(&info);
    if (!item) return std::nullopt;
    std::vector<char> path(MAX_PATH, ' ');
    const BOOL named = SHGetPathFromIDListA(item, path.data());
    CoTaskMemFree(item);
    // An item without a file-system path gives empty text, not the untouched buffer of blanks.
    return named ? UpToNul(path) : std::string();
}

std::string clsShell::GetWindowsDir() {
    std::vector<char> buffer(144, ' ');
    GetWindowsDirectoryA(buffer.data(), 144);
    std::string text = Trimmed(std::string(buffer.data(), buffer.size()));
    const size_t nul = text.find('\0');
    if (nul != std::string::npos) text.resize(nul);
    return text;
}

std::string clsShell::GetTmpPath() {
    std::vector<char> buffer(260, '\0');
    if (GetTempPathA(260, buffer.data()) == 0) return {};
    return UpToNul(buffer);
}

std::string clsShell::GetSystemPath() {
    std::vector<char> buffer(260, '\0');
    if (GetSystemDirectoryA(buffer.data(), 260) == 0) return {};
    return UpToNul(buffer);
}

std::string clsShell::UserName() {
    std::vector<char> buffer(200, '\0');
    DWORD size = 199;
    if (!GetUserNameA(buffer.data(), &size)) return {};
    return UpToNul(buffer);
}

void clsShell::CloseApp(const std::string& appName) {
    WindowSearch search{&appName, nullptr};
    EnumWindows(FindTitle, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return;
    if (g_failCloseRequests || !PostMessageA(search.found, WM_CLOSE, 0, 0))
        forms::MsgBox("Error closing application.", forms::mb::OkOnly, "Toolcraft");
}

void clsShell::FailCloseRequestsForTest(bool fail) noexcept { g_failCloseRequests = fail; }

RECT clsShell::PixelsOf(const WindowPlacement& window) {
    const std::int32_t perPixelX = forms::WholeTwipsPerPixel(forms::Axis::X);
    const std::int32_t perPixelY = forms::WholeTwipsPerPixel(forms::Axis::Y);
    const std::int32_t left = ToPixels(window.left, perPixelX);
    const std::int32_t top = ToPixels(window.top, perPixelY);
    return RECT{left, top, left + ToPixels(window.width, perPixelX), top + ToPixels(window.height, perPixelY)};
}

void clsShell::FormStayOnTop(const WindowPlacement& window, bool onTop) {
    const RECT r = PixelsOf(window);
    SetWindowPos(window.hwnd, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, r.left, r.top, r.right - r.left,
                 r.bottom - r.top, 0);
}

bool clsShell::StartMenLnkCreate(const std::string& menuPath, const std::string& name, const std::string& linkPath,
                                 const std::string& lineArgs) {
    shortcuts::fCreateShellLink(menuPath, name, linkPath, lineArgs);
    return FileExists(LinkFile(menuPath, name));
}

bool clsShell::StartMenuLinkChk(const std::string& path, const std::string& shtCtName) {
    return FileExists(LinkFile(path, shtCtName));
}

void clsShell::StartMenuLnkDel(const std::string& path, const std::string& shtCtName) {
    const std::string file = LinkFile(path, shtCtName);
    if (FileExists(file)) DeleteFileA(file.c_str());
}

bool clsShell::StartMenuCreateFldr(const std::string& path) {
    const std::string folder = shortcuts::ResolveStartMenuPath(path);
    if (!FileExists(folder)) SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
    // True only when the folder is there afterwards (a file of that name is no folder).
    return FolderExists(folder);
}

void clsShell::StartMenuDelFldr(const std::string& path) {
    RemoveDirectoryA(shortcuts::ResolveStartMenuPath(path).c_str());
}

std::string clsShell::QuickLaunchFolder() {
    return shortcuts::ResolveStartMenuPath("..\\..\\Application Data\\Microsoft\\Internet Explorer\\Quick Launch");
}

bool clsShell::QuickStart() { return FolderExists(QuickLaunchFolder()); }

bool clsShell::QuickStartShCutMak(const std::string& path, const std::string& shCutName) {
    if (!QuickStart()) return false;
    shortcuts::fCreateShellLink(QuickLaunchFolder(), shCutName, path, "");
    return true;
}

std::string clsShell::DesktopFolder() { return shortcuts::ResolveStartMenuPath("..\\..\\Desktop"); }

void clsShell::CreateDesktopIcon(const std::string& shCutName, const std::string& path) {
    const std::string desktop = DesktopFolder();
    if (FolderExists(desktop)) shortcuts::fCreateShellLink(desktop, shCutName, path, "");
}

void clsShell::RunFile(const std::string& file, const std::string& filePath, std::int32_t runStyle) {
    ShellExecuteA(GetActiveWindow(), "Open", file.c_str(), nullptr, filePath.c_str(), runStyle);
}

void clsShell::BMPonMenu(HWND form, HBITMAP unchecked, HBITMAP checked, std::int32_t menuPos,
                         std::int32_t menuItem) {
    const HMENU bar = GetMenu(form);
    const HMENU sub = GetSubMenu(bar, menuPos);
    const UINT id = GetMenuItemID(sub, menuItem);
    SetMenuItemBitmaps(bar, id, MF_BITMAP, unchecked, checked);
}

void clsShell::SetDesktopImage(const std::string& path, const std::string& tile) {
    const clsReg_n_FileAssoc registry;
    registry.savestring(clsReg_n_FileAssoc::CurrentUser, "Control Panel\\desktop", "TileWallpaper", tile);
    registry.savestring(clsReg_n_FileAssoc::CurrentUser, "Control Panel\\desktop", "Wallpaper", path);
    std::string text = path;
    SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, text.data(), SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
}

std::int32_t clsShell::ShowProperties(const std::string& fileName, HWND owner) {
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpVerb = "properties";
    info.lpFile = fileName.c_str();
    info.lpParameters = "";
    info.lpDirectory = "";
    info.nShow = SW_HIDE;
    ShellExecuteExA(&info);
    // The call keeps the process handle for us; nothing waits on it.
    const forms::UniqueKernelHandle process(info.hProcess);
    return static_cast<std::int32_t>(reinterpret_cast<INT_PTR>(info.hInstApp));
}

}  // namespace services
