#pragma once
// What the core's routines reach of the main window, and nothing more: the main window provides it, and a
// test form provides it instead, so that those routines run without the whole browser.

#include "platform/forms/ControlArray.h"
#include "platform/forms/Menu.h"

#include <cstdint>
#include <optional>
#include <string>

namespace forms {
class DirListBox;
class DriveListBox;
class FileListBox;
class Form;
class HScrollBar;
class ListBox;
class PictureBox;
class StatusBar;
class TextBox;
class VScrollBar;
}  // namespace forms

namespace Module1 {

class MainWindowView {
public:
    virtual ~MainWindowView() = default;

    // The favourites menu's items: caption = name, tag = folder; element 0 always exists.
    virtual forms::ControlArray<forms::Menu>& FavouritesMenu() = 0;

    // ---- The image loader's part. Until a window provides a member, using it raises error 438. ----

    // The window itself: caption, mouse pointer, its HiMetric-to-pixel conversion.
    virtual forms::Form& LoaderWindow();
    // The picture area Picture1 (pixels inside) and the picture box Image1 in it that holds the picture shown.
    virtual forms::PictureBox& PictureArea();
    virtual forms::PictureBox& PictureHolder();
    // Text1: holds the extension of the file shown.
    virtual forms::TextBox& ExtensionBox();

    // The folder list Dir1, the file list File1 and the scroll bars VScroll1 and HScroll1.
    virtual forms::DirListBox& FolderList();
    virtual forms::FileListBox& FileList();
    virtual forms::VScrollBar& VerticalScrollBar();
    virtual forms::HScrollBar& HorizontalScrollBar();
    // The drive list Drive1, and the results list List1 of the window's own Fileseek panel.
    virtual forms::DriveListBox& DriveList();
    virtual forms::ListBox& FileseekResults();

    // The folder list's path and the file list's chosen entry.
    virtual std::string FolderPath();
    virtual std::string SelectedFileName();
    virtual void RefreshFileList();
    // No entry of the file list selected (ListIndex -1).
    virtual void ClearFileListSelection();

    // The status bar SB1, and its panels by key: the loader adds "date", "size", "dimen", "fname" and "mode";
    // "ftype" stays.
    virtual forms::StatusBar& StatusPanels();
    virtual void AddStatusPanel(const std::string& key);
    virtual void SetStatusPanelText(const std::string& key, const std::string& text);
    virtual std::string StatusPanelText(const std::string& key);
    virtual void SetStatusPanelWidth(const std::string& key, float width);

    // VScroll1 (vertical) or HScroll1: with a Max, it gets that Max, Value 0 and is enabled; without, it is
    // disabled.
    virtual void SetScrollRange(bool vertical, std::optional<std::int32_t> max);

    // Close, Status Bar, Background Colour and Tips enabled, Tips unchecked: a picture is being opened.
    virtual void EnablePictureMenus();
    // The selection rectangle and its size label hidden, Full Screen enabled: a picture is shown.
    virtual void PictureShown();

    virtual bool LogoShown();
    virtual void SetLogoShown(bool shown);
    // 101 Actual Size, 102 Best Fit.
    virtual std::int32_t DisplayMode();
    virtual bool Tiled();

    // The window's call-backs.
    virtual void DoColour();
    virtual void DisplayImage();
    virtual void ShowLogo();
    virtual void ImageSaved();
    virtual void ImageStatic();
    virtual void CheckPCXSupport();

    // ---- The options window's part ----

    // The file-type filter menu mnuFTs: item 4, PCX, is hidden when PCX files cannot be read.
    virtual forms::ControlArray<forms::Menu>& FileTypesMenu();
    // SupportMoreBrowsers: the Go menu also looks for the other browsers' windows.
    virtual void SetSupportMoreBrowsers(bool on);
};

// The view in use: the one a test installed, else the main window's default instance.
MainWindowView& MainWindow();

// Installs a view for its lifetime and puts the previous one back afterwards.
class ScopedMainWindowView {
public:
    explicit ScopedMainWindowView(MainWindowView& view) noexcept;
    ~ScopedMainWindowView();
    ScopedMainWindowView(const ScopedMainWindowView&) = delete;
    ScopedMainWindowView& operator=(const ScopedMainWindowView&) = delete;

private:
    MainWindowView* previous_;
};

}  // namespace Module1
