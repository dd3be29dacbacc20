#pragma once
// The main window of the picture browser. It is the running instance that later starts hand their
// command line to, and its unload ends the program. Its behaviour is split by concern over the files of this
// folder: start-up, shutdown, hand-in, file types, picture states, display modes, options, tips, layout.

#include "main/core/Addresses.h"
#include "main/core/MainWindowView.h"
#include "platform/anigif/AnimatedGif.h"
#include "platform/comctl/SoftButton.h"
#include "platform/comctl/StatusBar.h"
#include "platform/comctl/TrayIcon.h"
#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"
#include "platform/forms/Menu.h"
#include "platform/forms/Screen.h"
#include "platform/forms/StdPicture.h"
#include "platform/foldertree/FolderTree.h"
#include "platform/forms/controls/DirListBox.h"
#include "platform/forms/controls/DriveListBox.h"
#include "platform/forms/controls/FileListBox.h"
#include "platform/forms/controls/Frame.h"
#include "platform/forms/controls/HScrollBar.h"
#include "platform/forms/controls/Image.h"
#include "platform/forms/controls/Label.h"
#include "platform/forms/controls/Line.h"
#include "platform/forms/controls/ListBox.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/controls/Shape.h"
#include "platform/forms/controls/TextBox.h"
#include "platform/forms/controls/VScrollBar.h"
#include "platform/subclass/ISubclass.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class clsIface;
class clsVarMenus;

namespace browser {
// A page of the artist's gallery that the Go menu links to.
inline std::string GalleryPage(const char* page) { return std::string(addresses::kArtistSite) + page; }
// Design geometry of a control placed on the window: twips become pixels at the screen's twips per pixel.
forms::Extent OnWindow(float left, float top, float width, float height);
// A pixel constant of the layout, given as it is at 96 DPI, in this screen's pixels.
float DesignPx(float pixels);
// This screen's pixels as design pixels: the unit the panel width is stored in, so that it means the same
// width at every DPI.
std::int32_t ToDesignPx(float pixels);
// The file buttons' row in the panel's picture box, in twips as designed.
inline constexpr float kFileButtonLeft = 60;
inline constexpr float kFileButtonStep = 615;
inline constexpr float kFileButtonWidth = 555;
}  // namespace browser

class frmQuillview : public forms::Form, public subclass::ISubclass, public Module1::MainWindowView {
public:
    frmQuillview();
    ~frmQuillview() override;

    // ---- Public fields ----
    std::int32_t ScreenWidth = 0;  // primary screen, pixels
    std::int32_t ScreenHeight = 0;
    bool SupportMoreBrowsers = false;
    bool LogoShown_ = false;
    std::int32_t DisplayMode_ = 101;  // 101 Actual Size, 102 Best Fit
    bool Tiled_ = false;
    bool TrayIconEnabled = false;
    std::int32_t TrayIconMode = 0;  // 0 icon only while minimised, 1 always

    // ---- Fields shared by the window's parts ----
    std::int32_t CursorMode = 0;  // 0 normal, 1 crop, 2 zoom, 3 drag
    std::int16_t DragDivisor = 20;
    bool FollowOperations = false;
    std::vector<std::string> Tips;
    std::int32_t CurrentTip = 0;
    std::unique_ptr<clsIface> mInterface;

    // ---- Public operations ----
    void DoNextTip();
    void DisplayCurrentTip();
    bool LoadTips(const std::string& path);
    void ColReset();
    void DoColour() override;
    void TileImage(bool untile);
    void mnuFiletypesSort(bool Loadmnus);
    std::string SetPattern();
    bool CheckPCXSupportResult();
    void CheckPCXSupport() override { CheckPCXSupportResult(); }
    void ShowLogo() override;
    void CurModUnchk();
    void GetCapture();
    void ImageSaved() override;
    void ImageStatic() override;
    void DisplayImage() override;
    void BestFitImage();
    void ActualSizeImage();
    // Turns a command line (this start's, when sCommand is empty) into the picture chosen in the browser.
    void ProcessCmdLine(const std::string& sCommand = {});

    // Re-reads the options window's settings; after start-up and after that window closes.
    void ApplyOptions();
    void ApplyTrayIcon();
    void FillFavouritesList();
    // "The image showing has not been saved, save it now?": the answer (Yes, No or Cancel).
    int AskSaveImage();

    // A test of another window: the design without the start-up.
    void LoadWithoutStartUp();

    // The picked tip's random source: uniform in [0, 1); a test replaces it.
    std::function<float()> TipRandom;

    // Stores the screen's size and warns once about a small screen; start-up's third step.
    void CheckScreenResolution();
    // The system metrics the screen check reads (GetSystemMetrics when empty); a test gives its own screen.
    std::function<int(int)> ScreenMetric;

    // ---- Handlers the window's commands fill ----
    void Toolbar_Click(int Index);
    void mnuFullscrn_Click();
    void mnuSave_Click();
    void Dir1_Change();
    void File1_Click();
    void mnuNorm_Click();
    void mnuCrop_Click();
    void mnuZoommode_Click();
    void mnuDrag_Click();
    void mnuShowQV_Click();
    void TilePic_Click();
    void mnuFTs_Click(int Index);
    void mnuImages_Click();
    void mnuExit_Click();

    // ---- Navigation, favourites, file list and Fileseek (Navigation.cpp and its siblings) ----
    void Drive1_Change();
    void Dir1_MouseUp(int Button, int Shift, float X, float Y);
    void ftvDirs_FolderChange(const forms::FolderItem& item);
    void ftvDirs_MouseUp(int Button, int Shift, float X, float Y);
    // "Delete this Favourite..." while the current folder is a favourite (exact, letter case included), else
    // "Add current Folder...".
    void SetAddFavouriteCaption();
    // Puts the drive list back on the drive of the current folder without moving the folder: after a drive
    // or folder step failed. A folder on a share has no drive to show.
    void KeepDriveInStep();
    void FavList_Click();
    void FavList_MouseUp(int Button, int Shift, float X, float Y);
    void mnuFav1_Click(int Index);
    void mnuAdd_Click();
    void mnuFavMan_Click();
    void File1_MouseDown(int Button, int Shift, float X, float Y);
    void File1_MouseUp(int Button, int Shift, float X, float Y);
    void Fbts_Click(int Index);
    void txtSearch_Click();
    void txtSearch_GotFocus();
    void txtSearch_KeyPress(int& KeyAscii);
    void txtSearch_LostFocus();
    void List1_Click();
    void List1_KeyPress(int& KeyAscii);
    void Form_KeyDown(int& KeyCode, int Shift) override;
    // The Fileseek explanation has been shown in this run.
    bool FileseekExplained = false;
    // "Drive unavailable" boxes shown so far: a command that steps over the drive list says it once.
    int DriveUnavailableReports = 0;
    // While the drive list is put back in step, its Change does not move the folder.
    bool KeepingDriveInStep = false;
    // While the tree is shown the folder list's path, its selection does not set that path back.
    bool TreeFollowingFolder = false;

    // ---- File and folder commands, save and open (FileCommands.cpp and its siblings) ----
    void mnuDel_Click();
    void mnuCopyFile_Click();
    void mnuMove_Click();
    void mnuRename_Click();
    void mnuCreateDir_Click();
    void mnuCopyDir_Click();
    void mnuMoveDir_Click();
    void mnuDelDir_Click();
    void mnuCopy_Click();
    void mnuOpen_Click();

    // ---- Toolbar, clipboard, tools, Go menu, tray and other menus (MenuCommands.cpp and its siblings) ----
    void mnuFileItem_Click();
    void mnuClose_Click();
    void mnuRefresh_Click();
    void mnuFileseek_Click();
    void mnuOptions_Click();
    void mnuHelpcont_Click();
    void mnuTips_Click();
    void mnuBBlack_Click();
    void mnuBGrey_Click();
    void mnuBWhite_Click();
    void mnuChooseCol_Click();
    void mnuUpdate_Click();
    void mnuAboutItem_Click();
    void Image2_Click();
    void Picture1_MouseUp(int Button, int Shift, float X, float Y);
    void Picture2_Click();
    void mnuEdit_Click();
    void mnuPaste_Click();
    void mnuClear_Click();
    void mnuCopyImg_Click();
    void mnuEditors_Click(int Index);
    void mnuCenter_Click();
    void mnuTileImage_Click();
    void mnuProp_Click();
    void mnuReadme_Click();
    void mnuGoItem_Click();
    void mnuMail_Click();
    void mnuHomepage_Click();
    void mnuOVSWebsite_Click();
    void mnuVividimghme_Click();
    void mnuTobinMarshLnk_Click(int Index);
    void mnuImgWebs_Click(int Index);
    void mnuImgWebs2_Click(int Index);
    void mnuMyWebs_Click(int Index);
    void mnuLink_Click(int Index);
    void mnuAddlnkManually_Click();
    void mnuOpenQVStud_Click();
    void mnuSubmitweb_Click();
    void mnuUpdateLinks_Click();
    void mnuEditLinks_Click();
    void morwen_MouseUp(int& Button);
    void morwen_DblClick(int Button);
    void mnuAboutQV_Click();
    void mnuCloseQV_Click();
    // What the toolbar and these menus share.
    void NavigateFiles(int step);
    void GoHome();
    void RefreshBrowser();
    void ToggleDirectories();
    void ToggleDisplayMode();
    // File > Close: true when the picture was closed (the logo shows), false when the user kept it.
    bool ClosePicture();
    // The caption of the tray menu's Show/Hide from the window state.
    void ShowHideCaption();
    // Opens a link of an editable list through the shell; refused, with the tag shown, when it is no web or
    // mail address.
    void OpenListLink(const std::string& tag);
    void OpenFixedLink(const std::string& address);
    void SetWallpaper(const char* tile);

    // ---- Splitter, panel caption buttons, picture-area mouse and scrolling (WindowEvents.cpp and its siblings) ----
    void mnuBrowseTools_Click();
    void mnuFileseekToggle_Click();
    void mnuBTDock_Click();
    void SoftBttn1_Click();
    void stbBTRefresh_Click();
    void sbtToggleDock_Click();
    void sbtCloseFileseek_Click();
    void imgBrowserTools_Click(int Index);
    void lblBTCap_Click();
    void lblBTfiles_Click();
    void Label3_Click();
    void lblBTFiles2_Click();
    void Text1_Change();
    void imgSplitter_MouseDown(int Button, int Shift, float X, float Y);
    void imgSplitter_MouseMove(int Button, int Shift, float X, float Y);
    void imgSplitter_MouseUp(int Button, int Shift, float X, float Y);
    void HScroll1_Change();
    void HScroll1_Scroll();
    void VScroll1_Change();
    void VScroll1_Scroll();
    void HScroll1_GotFocus();
    void VScroll1_GotFocus();
    void Image1_MouseDown(int Button, int Shift, float X, float Y);
    void Image1_MouseMove(int Button, int Shift, float X, float Y);
    void Image1_MouseUp(int Button, int Shift, float X, float Y);
    void aniImg_MouseUp(int Button, int Shift, float X, float Y);
    void Image1_DblClick();
    // The picture shown is a GIF that the animation control plays (the hand-over's condition), so the
    // control is what the bars move.
    bool GifAnimated() const;

    bool SplitterDragging = false;
    // The last move was refused: a width limit, or the pointer exactly on the splitter's left edge.
    bool SplitterAtLimit = false;
    std::int32_t SplitterLimitKind = 0;  // 1 minimum, 0 maximum
    // The press point of the current crop or drag, in Image1's pixels.
    float MouseDownX = 0;
    float MouseDownY = 0;

    // ---- Hand-in of a later start's command line (WM_COPYDATA only) ----
    std::int32_t MsgResponse() const override { return subclass::ConsumeMessage; }
    void SetMsgResponse(std::int32_t) override {}
    LRESULT WindowProc(HWND hwnd, UINT iMsg, WPARAM wParam, LPARAM lParam) override;

    // ---- The core's narrow view of this window ----
    forms::ControlArray<forms::Menu>& FavouritesMenu() override { return mnuFav1; }
    forms::Form& LoaderWindow() override { return *this; }
    forms::PictureBox& PictureArea() override { return Picture1; }
    forms::PictureBox& PictureHolder() override { return Image1; }
    forms::TextBox& ExtensionBox() override { return Text1; }
    forms::DirListBox& FolderList() override { return Dir1; }
    forms::ControlArray<forms::Menu>& FileTypesMenu() override { return mnuFTs; }
    void SetSupportMoreBrowsers(bool on) override { SupportMoreBrowsers = on; }
    forms::FileListBox& FileList() override { return File1; }
    forms::VScrollBar& VerticalScrollBar() override { return VScroll1; }
    forms::HScrollBar& HorizontalScrollBar() override { return HScroll1; }
    forms::DriveListBox& DriveList() override { return Drive1; }
    forms::ListBox& FileseekResults() override { return List1; }
    forms::StatusBar& StatusPanels() override { return SB1; }
    // The loader's widths are design pixels; its "mode" panel takes the room left, never less than its text.
    void AddStatusPanel(const std::string& key) override;
    void SetStatusPanelWidth(const std::string& key, float width) override;
    void EnablePictureMenus() override;
    void PictureShown() override;
    bool LogoShown() override { return LogoShown_; }
    void SetLogoShown(bool shown) override { LogoShown_ = shown; }
    std::int32_t DisplayMode() override { return DisplayMode_; }
    bool Tiled() override { return Tiled_; }

    // ======== Design ========
    // Toolbar row (pixels on the window).
    forms::ControlArray<forms::SoftButton> Toolbar;
    forms::SoftButton TilePic;

    // Picture area.
    forms::PictureBox Picture1;
    forms::PictureBox Image1;
    forms::Shape Shape1;
    forms::Label lblSelSize;
    forms::AnimatedGif aniImg;
    forms::VScrollBar VScroll1;
    forms::HScrollBar HScroll1;
    forms::ControlArray<forms::Line> Line2;
    forms::ControlArray<forms::Line> Line9;
    forms::Image Image2;
    forms::Image imgSplitter;
    forms::PictureBox picSplitter;

    // Lists the tree stands in front of: invisible.
    forms::DriveListBox Drive1;
    forms::DirListBox Dir1;
    forms::TextBox Text1;

    // Browser-tools panel (twips inside the frame).
    forms::Frame FraFiles;
    forms::Label lblBTfiles;
    forms::ControlArray<forms::Image> imgBrowserTools;
    forms::Label lblBTCap;
    forms::SoftButton SoftBttn1;
    forms::SoftButton stbBTRefresh;
    forms::SoftButton sbtToggleDock;
    forms::FolderTree ftvDirs;
    forms::ListBox FavList;
    forms::FileListBox File1;
    forms::PictureBox Picture2;
    forms::ControlArray<forms::SoftButton> Fbts;
    forms::Label lblBTFiles2;
    forms::Label Label3;
    forms::SoftButton sbtCloseFileseek;
    forms::TextBox txtSearch;
    forms::ListBox List1;

    // Status bar (aligned to the bottom) and the tray icon.
    forms::StatusBar SB1;
    forms::TrayIcon morwen;

    // ---- Menus ----
    forms::Menu mnuFileItem{*this, "mnuFileItem", {.Caption = "&File"}};
    forms::Menu mnuOpen{mnuFileItem, "mnuOpen", {.Caption = "&Open...", .Shortcut = forms::CtrlKey('O')}};
    forms::Menu mnuSave{mnuFileItem, "mnuSave", {.Caption = "&Save...", .Shortcut = forms::CtrlKey('S')}};
    forms::Menu mnuClose{mnuFileItem, "mnuClose",
                         {.Caption = "&Close", .Enabled = false, .Shortcut = forms::CtrlKey('X')}};
    forms::Menu lin1{mnuFileItem, "lin1", {.Caption = "-"}};
    forms::Menu mnuDel{mnuFileItem, "mnuDel", {.Caption = "Delete File", .Shortcut = forms::Key(VK_DELETE)}};
    forms::Menu mnuRename{mnuFileItem, "mnuRename", {.Caption = "Rename File", .Shortcut = forms::Key(VK_F2)}};
    forms::Menu mnuMove{mnuFileItem, "mnuMove", {.Caption = "Move File", .Shortcut = forms::CtrlKey('M')}};
    forms::Menu mnuCopyFile{mnuFileItem, "mnuCopyFile", {.Caption = "Copy File", .Shortcut = forms::CtrlKey('J')}};
    forms::Menu lin2{mnuFileItem, "lin2", {.Caption = "-"}};
    forms::Menu mnuRefresh{mnuFileItem, "mnuRefresh", {.Caption = "Refresh", .Shortcut = forms::Key(VK_F5)}};
    forms::Menu lin3{mnuFileItem, "lin3", {.Caption = "-"}};
    forms::Menu mnuExit{mnuFileItem, "mnuExit", {.Caption = "Exit"}};

    forms::Menu mnuEdit{*this, "mnuEdit", {.Caption = "&Edit"}};
    forms::Menu mnuCopy{mnuEdit, "mnuCopy", {.Caption = "Copy", .Shortcut = forms::CtrlKey('C')}};
    forms::Menu mnuPaste{mnuEdit, "mnuPaste", {.Caption = "&Paste", .Shortcut = forms::CtrlKey('V')}};
    forms::Menu mnuClear{mnuEdit, "mnuClear", {.Caption = "Clear Clipboard", .Shortcut = forms::CtrlKey('W')}};
    forms::Menu lin4{mnuEdit, "lin4", {.Caption = "-"}};
    forms::Menu mnuEditor{mnuEdit, "mnuEditor", {.Caption = "Edit Image with"}};
    forms::ControlArray<forms::Menu> mnuEditors{mnuEditor, "mnuEditors", {{0, {}}}};

    forms::Menu mnuView{*this, "mnuView", {.Caption = "&View"}};
    forms::Menu mnuBrowseTools{mnuView, "mnuBrowseTools",
                               {.Caption = "&Browser Tools", .Checked = true, .Shortcut = forms::CtrlKey('B')}};
    forms::Menu mnuFileseekToggle{mnuView, "mnuFileseekToggle",
                                  {.Caption = "&Show Fileseek", .Shortcut = forms::CtrlKey('Q')}};
    forms::Menu mnuBTDock{mnuView, "mnuBTDock", {.Caption = "&Browser Dock", .Shortcut = forms::CtrlKey('G')}};
    forms::Menu lin5{mnuView, "lin5", {.Caption = "-"}};
    forms::Menu mnuCurmodes{mnuView, "mnuCurmodes", {.Caption = "Cursor Modes"}};
    forms::Menu mnuNorm{mnuCurmodes, "mnuNorm", {.Caption = "Normal", .Checked = true}};
    forms::Menu mnuDrag{mnuCurmodes, "mnuDrag", {.Caption = "Drag"}};
    forms::Menu mnuCrop{mnuCurmodes, "mnuCrop", {.Caption = "Crop"}};
    forms::Menu mnuZoommode{mnuCurmodes, "mnuZoommode", {.Caption = "Zoom", .Visible = false}};
    forms::Menu mnuZoom{mnuView, "mnuZoom", {.Caption = "Zoom", .Enabled = false, .Visible = false}};
    forms::Menu mnuZoomNormal{mnuZoom, "mnuZoomNormal", {.Caption = "Normal Viewing 1:1"}};
    forms::Menu mnuZoomIn{mnuZoom, "mnuZoomIn", {.Caption = "Zoom in"}};
    forms::Menu mnuZoomOut{mnuZoom, "mnuZoomOut", {.Caption = "Zoom out"}};
    forms::Menu mnuStatus{mnuView, "mnuStatus",
                          {.Caption = "Image Information", .Checked = true, .Enabled = false, .Visible = false}};
    forms::Menu mnuFullscrn{mnuView, "mnuFullscrn",
                            {.Caption = "Full Screen", .Enabled = false, .Shortcut = forms::CtrlKey('F')}};
    forms::Menu mnuBackCol{mnuView, "mnuBackCol", {.Caption = "Back Colour", .Enabled = false}};
    forms::Menu mnuBGrey{mnuBackCol, "mnuBGrey", {.Caption = "Grey"}};
    forms::Menu mnuBWhite{mnuBackCol, "mnuBWhite", {.Caption = "White"}};
    forms::Menu mnuBBlack{mnuBackCol, "mnuBBlack", {.Caption = "Black"}};
    forms::Menu lin6{mnuBackCol, "lin6", {.Caption = "-"}};
    forms::Menu mnuChooseCol{mnuBackCol, "mnuChooseCol", {.Caption = "From Palette..."}};

    forms::Menu mnuFav{*this, "mnuFav", {.Caption = "F&avourites"}};
    forms::Menu mnuCreateDir{mnuFav, "mnuCreateDir", {.Caption = "Create Directory", .Visible = false}};
    forms::Menu mnuMoveDir{mnuFav, "mnuMoveDir", {.Caption = "Move Directory", .Visible = false}};
    forms::Menu mnuCopyDir{mnuFav, "mnuCopyDir", {.Caption = "Copy Directory", .Visible = false}};
    forms::Menu mnuDelDir{mnuFav, "mnuDelDir", {.Caption = "Delete Directory", .Visible = false}};
    forms::Menu lin882{mnuFav, "lin882", {.Caption = "-", .Visible = false}};
    forms::Menu mnuAdd{mnuFav, "mnuAdd", {.Caption = "Add...", .Shortcut = forms::Key(VK_F4)}};
    forms::Menu mnuFavMan{mnuFav, "mnuFavMan", {.Caption = "&Favourites Manager...", .Shortcut = forms::Key(VK_F7)}};
    forms::Menu lin7{mnuFav, "lin7", {.Caption = "-"}};
    forms::ControlArray<forms::Menu> mnuFav1{mnuFav, "mnuFav1", {{0, {.Caption = "No Favourites", .Enabled = false}}}};

    forms::Menu mnuTools{*this, "mnuTools", {.Caption = "&Tools"}};
    forms::Menu mnuWallpaper{mnuTools, "mnuWallpaper", {.Caption = "&Set as Wallpaper"}};
    forms::Menu mnuCenter{mnuWallpaper, "mnuCenter", {.Caption = "&Center Image", .Shortcut = forms::Key(VK_F11)}};
    forms::Menu mnuTileImage{mnuWallpaper, "mnuTileImage", {.Caption = "&Tile Image", .Shortcut = forms::Key(VK_F12)}};
    forms::Menu mnuFileseek{mnuTools, "mnuFileseek", {.Caption = "Open Fileseek"}};
    forms::Menu lin8{mnuTools, "lin8", {.Caption = "-"}};
    forms::Menu mnuOptions{mnuTools, "mnuOptions", {.Caption = "&Options...", .Shortcut = forms::Key(VK_F9)}};

    forms::Menu mnuFT{*this, "mnuFT", {.Caption = "File T&ypes"}};
    forms::Menu mnuProp{mnuFT, "mnuProp", {.Caption = "&Properties", .Visible = false}};
    forms::Menu lin857{mnuFT, "lin857", {.Caption = "-", .Visible = false}};
    forms::ControlArray<forms::Menu> mnuFTs{mnuFT, "mnuFTs", {{0, {.Caption = "BMP", .Checked = true}}}};
    forms::Menu lin9{mnuFT, "lin9", {.Caption = "-"}};
    forms::Menu mnuImages{mnuFT, "mnuImages", {.Caption = "All Images"}};

    forms::Menu mnuGoItem{*this, "mnuGoItem", {.Caption = "&Go"}};
    forms::Menu mnuMail{mnuGoItem, "mnuMail", {.Caption = "Email Support"}};
    forms::Menu mnuHomepage{mnuGoItem, "mnuHomepage", {.Caption = "Quillview Website"}};
    forms::Menu mnuOVSWebsite{mnuGoItem, "mnuOVSWebsite", {.Caption = "Orvane Solutions Website"}};
    forms::Menu mnuVividimghme{mnuGoItem, "mnuVividimghme", {.Caption = "Vivid Imaging Homepage"}};
    forms::Menu lin10{mnuGoItem, "lin10", {.Caption = "-"}};
    forms::Menu mnuOpenQVStud{mnuGoItem, "mnuOpenQVStud", {.Caption = "&Open Quillview Studio..."}};
    forms::Menu lin11{mnuGoItem, "lin11", {.Caption = "-"}};
    forms::Menu mnuTobinMarsh{mnuGoItem, "mnuTobinMarsh", {.Caption = "Tobin Marsh"}};
    forms::ControlArray<forms::Menu> mnuTobinMarshLnk{mnuTobinMarsh, "mnuTobinMarshLnk",
                                                      {{0, {.Caption = "Homepage", .Tag = browser::GalleryPage("")}},
                                                       {1, {.Caption = "Tutorials", .Tag = browser::GalleryPage("/Tutorials.htm")}},
                                                       {2, {.Caption = "Sci- Fi Images", .Tag = browser::GalleryPage("/SciFi.htm")}},
                                                       {3, {.Caption = "Landscape Images",
                                                            .Tag = browser::GalleryPage("/Landscapes.htm")}},
                                                       {4, {.Caption = "Surreal Images", .Tag = browser::GalleryPage("/Surreal.htm")}},
                                                       {5, {.Caption = "Experimental Images",
                                                            .Tag = browser::GalleryPage("/Experimental.htm")}},
                                                       {6, {.Caption = "Other Images", .Tag = browser::GalleryPage("/Other.htm")}}}};
    forms::Menu lin12{mnuGoItem, "lin12", {.Caption = "-"}};
    forms::Menu mnuImgsites{mnuGoItem, "mnuImgsites", {.Caption = "Vivid Imaging Sites"}};
    forms::ControlArray<forms::Menu> mnuImgWebs{mnuImgsites, "mnuImgWebs", {{0, {}}}};
    forms::Menu lin13{mnuImgsites, "lin13", {.Caption = "-"}};
    forms::Menu mnuSubmitweb{mnuImgsites, "mnuSubmitweb", {.Caption = "&Submit Website"}};
    forms::Menu mnuMyWeb{mnuGoItem, "mnuMyWeb", {.Caption = "My Imaging Sites"}};
    forms::ControlArray<forms::Menu> mnuMyWebs{mnuMyWeb, "mnuMyWebs", {{0, {}}}};
    forms::Menu lin14{mnuGoItem, "lin14", {.Caption = "-"}};
    forms::Menu mnuAddlink{mnuGoItem, "mnuAddlink", {.Caption = "Add Link"}};
    forms::ControlArray<forms::Menu> mnuLink{mnuAddlink, "mnuLink",
                                             {{0, {.Caption = "NO URL", .Visible = false}},
                                              {1, {.Caption = "No URL", .Visible = false}},
                                              {2, {.Caption = "No URL", .Visible = false}},
                                              {3, {.Caption = "No URL", .Visible = false}}}};
    forms::Menu mnuAddlnkManually{mnuAddlink, "mnuAddlnkManually", {.Caption = "Manually"}};
    forms::Menu mnuUpdateLinks{mnuGoItem, "mnuUpdateLinks",
                               {.Caption = "&Update Links...", .Shortcut = forms::ShiftKey(VK_F2)}};
    forms::Menu mnuEditLinks{mnuGoItem, "mnuEditLinks", {.Caption = "&Edit Links...", .Shortcut = forms::ShiftKey(VK_F1)}};

    forms::Menu mnuHelp{*this, "mnuHelp", {.Caption = "&Help"}};
    forms::Menu mnuHelpcont{mnuHelp, "mnuHelpcont", {.Caption = "Help Contents", .Shortcut = forms::Key(VK_F1)}};
    forms::Menu mnuReadme{mnuHelp, "mnuReadme", {.Caption = "ReadMe"}};
    forms::Menu mnuTips{mnuHelp, "mnuTips", {.Caption = "Quillview Tips", .Checked = true}};
    forms::Menu mnuUpdate{mnuHelp, "mnuUpdate", {.Caption = "&Quillview Update", .Shortcut = forms::Key(VK_F6)}};
    forms::Menu lin15{mnuHelp, "lin15", {.Caption = "-"}};
    forms::Menu mnuAboutItem{mnuHelp, "mnuAboutItem", {.Caption = "About...", .Shortcut = forms::Key(VK_F3)}};

    // The tray icon's menu: never in the bar.
    forms::Menu mnuMorwen{*this, "mnuMorwen", {.Caption = "Morwen", .Visible = false}};
    forms::Menu mnuShowQV{mnuMorwen, "mnuShowQV", {.Caption = "Show Quillview"}};
    forms::Menu lin16{mnuMorwen, "lin16", {.Caption = "-"}};
    forms::Menu mnuCopyImg{mnuMorwen, "mnuCopyImg", {.Caption = "Copy Image"}};
    forms::Menu mnuGoMen{mnuMorwen, "mnuGoMen", {.Caption = "Go"}};
    forms::ControlArray<forms::Menu> mnuImgWebs2{mnuGoMen, "mnuImgWebs2", {{0, {}}}};
    forms::Menu mnuAboutQV{mnuMorwen, "mnuAboutQV", {.Caption = "About..."}};
    forms::Menu mnuCloseQV{mnuMorwen, "mnuCloseQV", {.Caption = "Close Quillview"}};

protected:
    void Form_Load() override;
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    void Form_Unload(int& Cancel) override;
    void Form_Resize() override;

private:
    void BindEvents();
    // Each group of handlers binds its own controls.
    void BindNavigation();
    void BindFileCommands();
    void BindMenuCommands();
    void BindWindowEvents();
    void StartUp();
    void ReceiveCommandLine(const std::string& text);
    void HandIn(const std::string& text);
    void ShowDisplayMode(std::int32_t mode, bool tiled);
    void GifHandOver();
    void ShowStartupTip();
    void mInterface_Change();
    void RestorePlacement();
    void KeepAssociations();
    // "<program folder>\<program>.exe".
    static std::string ProgramFile();
    // Binds one editable list to its menu and file and loads it.
    static void BindList(clsVarMenus& list, forms::ControlArray<forms::Menu>& items, const char* dataFile);
    // Favourites whose folder (or file) no longer exists go.
    void RemoveVanishedFavourites();
    // Toolbar button 6's picture: icon 101 (Actual Size) or 102 (Best Fit).
    void SetToolbarIcon(int button, int iconId);
    // The close's question over an unsaved picture: true when the window stays (Yes, which saves, or Cancel).
    bool KeptBySaveQuestion();
    // A fixed back colour chosen from the menu: shown, checked and stored under its name.
    void PickBackColour(forms::OleColor colour, forms::Menu& item, const char* stored);

    bool withoutStartUp_ = false;
    // Start-up has not shown the window yet: until then no layout pass brings it on screen half-built.
    bool beforeFirstShow_ = false;
    bool handingIn_ = false;
    std::deque<std::string> pendingHandIns_;
    bool ResizeRepeated = false;
    // The GIF last loaded into aniImg, and its last write: the same file unchanged is not loaded again.
    std::string AnimatedGifPath;
    FILETIME animatedGifWritten_{};
    // A splitter drag moved the bar (or hit a limit): only then does the release give the panel a new width.
    bool splitterMoved_ = false;
    float splitterPressX_ = 0;  // where the pointer was pressed, in window pixels
    // The last refused move was the pointer on the splitter's own edge, which records no limit.
    bool splitterOnEdge_ = false;
};
