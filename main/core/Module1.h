#pragma once
// State shared by the main window, its secondary windows and the service classes of the main program.
// Every item lives for the whole run, starts empty and is never freed explicitly; one thread, no locks.
// Shared service objects are created on first use through their accessor.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace services::client {
class CommonDialogs;
class FileAssoc;
class Shell;
class StdFunctions;
}  // namespace services::client

class clsFileManager;
class clsScreen;

namespace forms {
class StdPicture;
}

namespace imgbuf::client {
class ImgEditCtlBuf;
}  // namespace imgbuf::client

class clsHelp;
class clsShIntegration;
class clsVarMenus;

namespace Module1 {

inline std::string gCurrentImagePath;
// Favourites, entry n at index n (1..count); index 0 is a spare empty slot.
inline std::vector<std::string> gFavNames;
inline std::vector<std::string> gFavPaths;
inline bool gFullScreenOpen = false;
inline bool gStartedFullScreen = false;
inline bool gSuppressFileClick = false;
inline bool gImageSaved = false;
inline bool gAmericanSpelling = false;
inline bool gStatusPanelsReady = false;
inline std::int32_t gImageHeight = 0;
inline std::int32_t gImageWidth = 0;
inline std::string gCommandLine;
inline std::int32_t gGif87a = 0;
inline bool gAnimateGif87a = false;

// Icon locations written as a file type's default icon when the type is associated with the program.
inline std::string gIconBMP;
inline std::string gIconJPG;
inline std::string gIconGIF;
inline std::string gIconEMF;
inline std::string gIconWMF;
inline std::string gIconPCX;
inline std::string gIconTIF;
inline std::string gIconPCT;
inline std::string gIconTGA;
inline std::string gIconEPS;
inline std::string gIconPNG;

// The system services library's shared objects (orcmcls), each created on first use. A class the library
// cannot create raises error 429 there, and the next use tries again.
services::client::Shell& gShell();
services::client::StdFunctions& gStdFunctions();
services::client::CommonDialogs& gComdlg();
services::client::FileAssoc& gFileAssoc();

// A new object of the picture buffer library (rvimgctl) for one load or save, released by its owner when
// done. Raises error 429 when the library cannot create it.
imgbuf::client::ImgEditCtlBuf NewImgEditCtlBuf();

// ---- Loader and services: secondary windows shown, file operations ----

// Counts one shown secondary window while held: the tray icon's menu and its Show/Hide do nothing while any
// window holds one. A window takes its hold when it is shown and gives it back when it hides or unloads (a
// window loaded hidden holds nothing); both are idempotent, and the destructor gives it back.
class DialogOpenHold {
public:
    DialogOpenHold() noexcept = default;
    ~DialogOpenHold() { GiveBack(); }
    DialogOpenHold(const DialogOpenHold&) = delete;
    DialogOpenHold& operator=(const DialogOpenHold&) = delete;

    void Take() noexcept;
    void GiveBack() noexcept;
    bool Held() const noexcept { return held_; }

private:
    bool held_ = false;
};

// True while a secondary window is shown.
bool DialogOpen() noexcept;
// How many secondary windows are shown.
int DialogOpenCount() noexcept;

// The program's one file-operation service, created on first use.
clsFileManager& gFileManager();
// The program's one screen-capture service, created on first use.
clsScreen& gScreen();

// Shows the file chosen in the main window's file list.
void ShowImage();
// Shows a picture handed in (pasted or captured): it has no file.
void ShowImage(const forms::StdPicture& Pic);

// ---- end of loader and services ----

// Sets the eleven icon strings to "<program folder>\<program>.exe,<index>".
void InitAssocIconPaths();

// First-instance start-up: splash, root-folder refusal, main window.
void StartApplication();

// Shows Text in the splash window's status line at once, creating the splash window if needed.
void SetLoadingStatus(const std::string& text);

// ---- Start-up checks, the update program, help, favourites and the editable lists ----

// On the first start of a new version: records it, explains the update program once, reports each missing
// support file and has the system services library registered. Errors are ignored step by step.
void CheckComponents();
// Waits, pumping messages, until the registration that CheckComponents started has ended (15 s at most); false
// when none was waiting to be waited for (not started, or waited for already).
bool WaitForComponentRegistration();
// Offers the update program when the last check lies 35 calendar days back or more.
void CheckUpdateReminder();
void ReportMissingComponent(const std::string& FileName);
// The Windows system folder ("" when the system does not say).
std::string GetSystemDir();
// A short busy pause.
void PauseLoop();

// Tests: a system folder of their own (where HTML Help and the registration tool are looked for).
class SystemFolderOverride {
public:
    explicit SystemFolderOverride(std::string folder);
    ~SystemFolderOverride();
    SystemFolderOverride(const SystemFolderOverride&) = delete;
    SystemFolderOverride& operator=(const SystemFolderOverride&) = delete;

private:
    std::optional<std::string> previous_;
};

// Starts the update program: 1 "links", 2 "qvupdate", 3 "submitweb", anything else no word.
void LaunchUpdateTool(std::int32_t Mode);
// Opens the help file's contents.
void ShowHelpContents();
// Shows one topic of the help file in its "popup" window.
void ShowContextHelp(std::int32_t ContextID);
clsHelp& gHelp();

// Favourites, kept in the settings store and shown as the main window's favourites menu.
void LoadFavouritesMenu();
void AddFavourite(const std::string& Name, const std::string& Path);
void RemoveFavourite(const std::string& Name, const std::string& Path);
void RenameFavourite(const std::string& Name, const std::string& Path, const std::string& NewName);

// The three editable lists: editors "QVEditors.dat", own web links "QVImgwebs.dat", imaging sites
// "QVSetwebs.dat" (the update program's). Created on first use; bound and loaded by the main window.
clsVarMenus& gEditorsMenu();
clsVarMenus& gMyWebsMenu();
clsVarMenus& gImgWebsMenu();
// The running web browser's page, for the Go menu.
clsShIntegration& gShIntegration();

}  // namespace Module1
