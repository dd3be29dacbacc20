// The options window's design, its layout and tabs, the Help button and the boxes that act at once.
#include "main/settings/options.h"

#include "main/core/AssociationTypes.h"
#include "main/core/MainWindowView.h"
#include "main/core/Module1.h"
#include "main/core/SettingsNames.h"
#include "main/core/clsVarMenus.h"
#include "platform/runtime/ErrorSteps.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Settings.h"
#include "platform/subclass/Subclasser.h"

#include <windows.h>

namespace {

using forms::CheckBox;
using forms::Extent;

constexpr int kFirstHelpContext = 10012;
// Twips between a control on a page and the page frame's outer edge: the frame's border and one pixel.
constexpr float kFrameRightMargin = 45;

forms::CheckBoxDesign Box(const char* caption, int value = 0) { return {.Caption = caption, .Value = value}; }

forms::StdPicture SystemIcon(LPCSTR id) {
    // A copy: the shared system icon must not be destroyed with the button's picture. Made when first
    // drawn: start-up loads this window hidden.
    return forms::StdPicture::Deferred([id] { return forms::StdPicture::FromIcon(CopyIcon(LoadIconA(nullptr, id))); });
}

// The 13 association boxes stand in four columns.
Extent AssociationCell(int n) {
    return {120.0f + static_cast<float>(n % 4) * 1290.0f, 3120.0f + static_cast<float>(n / 4) * 270.0f, 1215, 255};
}

}  // namespace

options::options()
    : Form({.Caption = "Options",
            .Width = 6035,
            .Height = 6770,
            .Border = forms::BorderStyle::FixedDialog,
            .MinButton = false,
            .MaxButton = false,
            .ShowInTaskbar = false,
            .StartUp = forms::StartUpPosition::CenterScreen}),
      Tabs(*this, "Tabs", {120, 45, 5715, 5745}),
      fraMain1(*this, "fraMain", {240, 420, 5475, 5160}, {.Caption = "Main Options"}, {}, 1),
      fraMain2(*this, "fraMain", {240, 420, 5475, 5160}, {.Caption = "Full Screen Viewing"}, {.Visible = false}, 2),
      fraMain3(*this, "fraMain", {240, 420, 5475, 5160}, {.Caption = "Links"}, {.Visible = false}, 3),
      fraMain4(*this, "fraMain", {240, 420, 5475, 5160}, {.Caption = "Editors"}, {.Visible = false}, 4),
      fraMain5(*this, "fraMain", {240, 420, 5475, 5160}, {.Caption = "Advanced Options"}, {.Visible = false}, 5),
      // ---- Main ----
      Label2(fraMain1, "Label2",
             {{0, {{120, 240, 3000, 255}, {.Caption = "Interface", .Font = {.Bold = true}}}},
              {1, {{120, 3720, 3000, 255}, {.Caption = "Show Quillview in:", .Font = {.Bold = true}}}}}),
      Check1(fraMain1, "Check1", {240, 510, 2535, 255}, Box("Fit image to canvas", 1)),
      chkFlatCtl(fraMain1, "chkFlatCtl", {2880, 510, 2415, 255}, Box("Flat controls")),
      chkLoadTipsAtStartup(fraMain1, "chkLoadTipsAtStartup", {240, 780, 2535, 255}, Box("Show Tips at Startup", 1)),
      chkRecFiles(fraMain1, "chkRecFiles", {240, 1050, 5100, 255},
                  Box("Send deleted files/folders to the recycle-bin", 1)),
      chkFollowOp(fraMain1, "chkFollowOp", {240, 1320, 5100, 255}, Box("Follow File/Directory operation")),
      Label5(fraMain1, "Label5", {240, 1665, 2175, 255}, {.Caption = "Scroll bar sensitivity"}),
      txtScollsen(fraMain1, "txtScollsen", {2460, 1620, 435, 300}, {.Text = "3"}),
      Scrollsen(fraMain1, "Scrollsen", {2895, 1620, 255, 300}, {.Min = 1, .Max = 6, .Value = 3}),
      Label6(fraMain1, "Label6", {240, 2025, 2175, 255}, {.Caption = "Scroll drag sensitivity"}),
      txtDragSen(fraMain1, "txtDragSen", {2460, 1980, 435, 300}, {.Text = "3"}),
      UDdrg(fraMain1, "UDdrg", {2895, 1980, 255, 300}, {.Min = 1, .Max = 6, .Value = 3}),
      Label3(fraMain1, "Label3", {120, 2400, 3000, 255}, {.Caption = "Home Directory", .Font = {.Bold = true}}),
      startdir(fraMain1, "startdir", {240, 2670, 5100, 255}, {.Caption = "C:\\", .UseMnemonic = false}),
      chkLastdir(fraMain1, "chkLastdir", {240, 3015, 1215, 255}, Box("Last Used")),
      cmdCurrent(fraMain1, "cmdCurrent", {1500, 2970, 1215, 345}, {.Caption = "Use Current"}),
      Command1(fraMain1, "Command1", {2790, 2970, 1215, 345}, {.Caption = "Browse..."}),
      fav(fraMain1, "fav", {4080, 2970, 1215, 345}, {.Caption = "Favorites"}),
      chkSystray(fraMain1, "chkSystray", {240, 3990, 2535, 255}, Box("System tray")),
      optShowMinim(fraMain1, "optShowMinim", {480, 4260, 2775, 255}, {.Caption = "Show when minimised", .Value = true},
                   {.Enabled = false}),
      optShowAlways(fraMain1, "optShowAlways", {480, 4530, 2775, 255}, {.Caption = "Show always"}, {.Enabled = false}),
      // ---- Full Screen ----
      Label4(fraMain2, "Label4", {240, 300, 5055, 495},
             {.Caption = "Here you can customise the way the full screen mode looks and works."}),
      chkRevNav(fraMain2, "chkRevNav", {240, 900, 5055, 255}, Box("Reverse mouse button navigation")),
      chkDisFSNav(fraMain2, "chkDisFSNav", {240, 1200, 5055, 255}, Box("Disable mouse navigation ")),
      Check5(fraMain2, "Check5", {240, 1500, 5055, 255}, Box("Show Filename in Full screen", 1)),
      chkShowMBalways(fraMain2, "chkShowMBalways", {240, 1800, 5055, 255}, Box("Show MiniBrowser always")),
      chkGreyMode(fraMain2, "chkGreyMode", {240, 2100, 5055, 255}, Box("MiniBrowser 'grey' mode")),
      // ---- Links ----
      chkBrowsers(fraMain3, "chkBrowsers", {240, 300, 5055, 255}, Box("Support Neoplanet and Opera")),
      optAutowbnm(fraMain3, "optAutowbnm", {240, 600, 5055, 255}, {.Caption = "Auto-detect website name", .Value = true}),
      optPromptwnm(fraMain3, "optPromptwnm", {240, 870, 5055, 255}, {.Caption = "Prompt for website name"}),
      Label7(fraMain3, "Label7",
             {{0, {{120, 1260, 3000, 255}, {.Caption = "Personal website links", .Font = {.Bold = true}}}},
              {1, {{120, 3960, 3000, 255}, {.Caption = "Quillview Shell Links", .Font = {.Bold = true}}}}}),
      lstWebname(fraMain3, "lstWebname", {240, 1530, 1935, 2205}),
      lstWebAddr(fraMain3, "lstWebAddr", {2190, 1530, 2550, 2205}),
      Webctls(fraMain3, "Webctls",
              {{0, {{4830, 1530, 435, 435}, {.Picture = SystemIcon(IDI_HAND)}, {.Enabled = false, .ToolTipText = "Delete"}}},
               {1,
                {{4830, 2040, 435, 435},
                 {.Picture = SystemIcon(IDI_ASTERISK)},
                 {.Enabled = false, .ToolTipText = "Rename"}}}}),
      cmdDesktop(fraMain3, "cmdDesktop", {240, 4260, 1935, 375}, {.Caption = "Add Desktop Icon"}),
      // ---- Editors ----
      EditorsList(fraMain4, "EditorsList", {240, 300, 5055, 2595}),
      lblEdNam(fraMain4, "lblEdNam", {240, 3075, 1095, 255}, {.Caption = "Editor Name:"}),
      txtEdNm(fraMain4, "txtEdNm", {1380, 3030, 3915, 300}),
      cmdAddEditor(fraMain4, "cmdAddEditor", {240, 3540, 1575, 375}, {.Caption = "Add Editor..."}),
      cmdDelEditor(fraMain4, "cmdDelEditor", {1980, 3540, 1575, 375}, {.Caption = "Remove Editor"}, {.Enabled = false}),
      cmdChangeEdNm(fraMain4, "cmdChangeEdNm", {3720, 3540, 1575, 375}, {.Caption = "Change"}, {.Enabled = false}),
      // ---- Advanced ----
      chkGIF87a(fraMain5, "chkGIF87a", {120, 240, 5175, 435},
                Box("Turn off animation for GIF 87a type GIF files (faster). GIF 89a type GIF files are still "
                    "animated (see help under GIF animation)")),
      chkFavorite(fraMain5, "chkFavorite", {120, 720, 5175, 255}, Box("Spell 'Favourite' as 'Favorite' ")),
      chkFP98(fraMain5, "chkFP98", {120, 990, 2535, 255}, Box("Integrate with FrontPage 98")),
      chkFP2000(fraMain5, "chkFP2000", {2760, 990, 2535, 255}, Box("Integrate with FrontPage 2000")),
      chkMaintain(fraMain5, "chkMaintain", {120, 1260, 5175, 255}, Box("Automatically maintain associations")),
      chkImgFll(fraMain5, "chkImgFll", {120, 1530, 5175, 255}, Box("Open images in full screen")),
      chkCloseAfter1(fraMain5, "chkCloseAfter1", {120, 1800, 5175, 255}, Box("Close Quillview after showing one image")),
      chkDelFavs(fraMain5, "chkDelFavs", {120, 2070, 5175, 255},
                 Box("Automatically delete any invalid favourites on startup")),
      Label1(fraMain5, "Label1", {120, 2400, 5175, 615},
             {.Caption = "Check any file types below you would like associate Quillview with. You can restore any "
                         "previous associations by unchecking the file type you wish."}),
      chkBMPass(fraMain5, "chkBMPass", AssociationCell(0), Box("BMP")),
      chkJPGass(fraMain5, "chkJPGass", AssociationCell(1), Box("JPG")),
      chkGIFass(fraMain5, "chkGIFass", AssociationCell(2), Box("GIF")),
      chkWMFass(fraMain5, "chkWMFass", AssociationCell(3), Box("WMF")),
      chkEMFass(fraMain5, "chkEMFass", AssociationCell(4), Box("EMF")),
      chkICOass(fraMain5, "chkICOass", AssociationCell(5), Box("Icon")),
      chkCURass(fraMain5, "chkCURass", AssociationCell(6), Box("Cursor")),
      chkTGAass(fraMain5, "chkTGAass", AssociationCell(7), Box("TGA")),
      chkPCXass(fraMain5, "chkPCXass", AssociationCell(8), Box("PCX")),
      chkTIFass(fraMain5, "chkTIFass", AssociationCell(9), Box("TIFF"), {.ToolTipText = "Tagged Image File Format"}),
      chkEPSass(fraMain5, "chkEPSass", AssociationCell(10), Box("EPS")),
      chkPCTass(fraMain5, "chkPCTass", AssociationCell(11), Box("PCT"), {.ToolTipText = "Mac PICT Format"}),
      chkPNGass(fraMain5, "chkPNGass", AssociationCell(12), Box("PNG"), {.ToolTipText = "Portable Network Graphics"}),
      cmdCheckall(fraMain5, "cmdCheckall", {120, 4320, 1215, 345}, {.Caption = "Check All"}),
      cmdCheckNone(fraMain5, "cmdCheckNone", {1410, 4320, 1215, 345}, {.Caption = "Check None"}),
      // ---- Closing buttons: placed by the load ----
      cmdOK(*this, "cmdOK", {2395, 5910, 1080, 360}, {.Caption = "OK", .Default = true}),
      cmdCancel(*this, "cmdCancel", {3575, 5910, 1080, 360}, {.Caption = "Cancel", .Cancel = true}),
      cmdApply(*this, "cmdApply", {4755, 5910, 1080, 360}, {.Caption = "Apply"}),
      cmdHelp(*this, "cmdHelp", {120, 5910, 1080, 360}, {.Caption = "Help"}),
      mnuFav(*this, "mnuFav", {.Caption = "Favourites", .Visible = false}),
      mnuFavs(mnuFav, "mnuFavs", {{0, {.Caption = "Default#5"}}}) {
    Tabs.Click = [this](int index) { Tabs_Click(index); };
    cmdHelp.Click = [this] { cmdHelp_Click(); };
    chkBrowsers.Click = [this] { chkBrowsers_Click(); };
    chkDisFSNav.Click = [this] { chkDisFSNav_Click(); };
    chkLastdir.Click = [this] { chkLastdir_Click(); };
    chkSystray.Click = [this] { chkSystray_Click(); };
    txtScollsen.GotFocus = [this] { SensitivityBox_GotFocus(); };
    txtDragSen.GotFocus = [this] { SensitivityBox_GotFocus(); };
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdApply.Click = [this] { cmdApply_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
    cmdCheckall.Click = [this] { cmdCheckall_Click(); };
    cmdCheckNone.Click = [this] { cmdCheckNone_Click(); };
    cmdAddEditor.Click = [this] { cmdAddEditor_Click(); };
    EditorsList.Click = [this] { EditorsList_Click(); };
    cmdChangeEdNm.Click = [this] { cmdChangeEdNm_Click(); };
    cmdDelEditor.Click = [this] { cmdDelEditor_Click(); };
    lstWebname.Click = [this] { lstWebname_Click(); };
    lstWebname.MouseDown = [this](int, int, float, float) { lstWebname_MouseDown(); };
    lstWebAddr.Click = [this] { lstWebAddr_Click(); };
    lstWebAddr.MouseDown = [this](int, int, float, float) { lstWebAddr_MouseDown(); };
    Webctls.OnEach([this](forms::SoftButton& b) { b.Click = [this, i = b.Index()] { Webctls_Click(i); }; });
    cmdCurrent.Click = [this] { cmdCurrent_Click(); };
    Command1.Click = [this] { Command1_Click(); };
    fav.Click = [this] { fav_Click(); };
    mnuFavs.OnEach([this](forms::Menu& m) { m.Click = [this, i = m.Index()] { mnuFavs_Click(i); }; });
    cmdDesktop.Click = [this] { cmdDesktop_Click(); };
}

options::~options() = default;

void BindOptionsLists() {
    auto& window = forms::Default<options>();
    window.Load();
    Module1::gEditorsMenu().TagList = &window.EditorsList;
    Module1::gMyWebsMenu().NameList = &window.lstWebname;
    Module1::gMyWebsMenu().TagList = &window.lstWebAddr;
}

forms::Frame& options::fraMain(int index) {
    switch (index) {
        case 1: return fraMain1;
        case 2: return fraMain2;
        case 3: return fraMain3;
        case 4: return fraMain4;
        case 5: return fraMain5;
        default:
            throw forms::RuntimeError(forms::ControlArrayElementMissing,
                                      "Control array element '" + std::to_string(index) + "' doesn't exist");
    }
}

forms::CheckBox& options::AssociationBox(const std::string& typeCode) {
    CheckBox* const boxes[] = {&chkBMPass, &chkJPGass, &chkGIFass, &chkWMFass, &chkEMFass, &chkICOass, &chkCURass,
                               &chkTGAass, &chkPCXass, &chkTIFass, &chkEPSass, &chkPCTass, &chkPNGass};
    for (std::size_t i = 0; i < filetypes::kFileTypes.size(); ++i)
        if (typeCode == filetypes::kFileTypes[i].code) return *boxes[i];
    throw forms::RuntimeError(5);
}

void options::Form_Load() {
    // Layout and tabs only: what the pages show is read at each showing.
    LoadStep([&] { Tabs.Move(120, 45, 5715, 5745); });
    LoadStep([&] {
        static constexpr std::pair<const char*, const char*> tabs[] = {
            {"Main", "main"}, {"Full Screen", "full"}, {"Links", "links"}, {"Editors", "editors"}, {"Advanced", "adv"}};
        for (const auto& [caption, key] : tabs) Tabs.AddTab(caption, -1, -1, key);
    });
    LoadStep([&] {
        for (int i = 1; i <= 5; ++i) {
            fraMain(i).Move(Tabs.ClientLeft() + 20, Tabs.ClientTop() + 20, Tabs.ClientWidth() - 250,
                            Tabs.ClientHeight() - 210);
        }
    });
    // The pages come out narrower than designed: what reached past a page's border ends inside it.
    LoadStep([&] {
        for (int i = 1; i <= 5; ++i) {
            forms::Frame& page = fraMain(i);
            const float inside = page.Width() - kFrameRightMargin;
            for (forms::Control* c : page.Children()) {
                if (c->Left() + c->Width() > inside) c->SetWidth(inside - c->Left());
            }
        }
    });
    LoadStep([&] {
        cmdApply.SetLeft(Tabs.Left() + Tabs.Width() - cmdApply.Width());
        cmdCancel.SetLeft(cmdApply.Left() - cmdApply.Width() - 100);
        cmdOK.SetLeft(cmdCancel.Left() - cmdOK.Width() - 100);
        cmdHelp.SetLeft(Tabs.Left());
        cmdOK.SetTop(5910);
        cmdApply.SetTop(cmdOK.Top());
        cmdCancel.SetTop(cmdOK.Top());
        cmdHelp.SetTop(cmdOK.Top());
    });
    LoadStep([&] {
        SetHeight(cmdOK.Top() + cmdOK.Height() + 500);
        SetWidth(Tabs.Width() + Tabs.Left() + 200);
    });
    // The pages lie over the tab strip.
    LoadStep([&] { Tabs.ZOrder(1); });
    LoadStep([&] { fraMain1.ZOrder(0); });
    LoadStep([&] { Tabs.SelectTab("main", false); });
    LoadStep([&] {
        Scrollsen.SetBuddy(txtScollsen);
        UDdrg.SetBuddy(txtDragSen);
    });
    showing_.Follow(hWnd());
    dialogOpen_.Follow(hWnd());
}

void options::Form_Unload(int&) {
    showing_.Release();
    dialogOpen_.Release();
    // The browser box acts at once; a window closed without saving leaves the flag as stored.
    forms::IgnoringErrors([] {
        Module1::MainWindow().SetSupportMoreBrowsers(
            forms::GetSettingNumber(settingsnames::kApp, "Options", "supportmb", 0) == 1);
    });
}

void options::Tabs_Click(int Index) {
    for (int i = 1; i <= 5; ++i) fraMain(i).SetVisible(false);
    fraMain(Index).SetVisible(true);
}

void options::cmdHelp_Click() {
    const int index = Tabs.SelectedIndex();
    if (index >= 1 && index <= 5) Module1::ShowContextHelp(kFirstHelpContext + index - 1);
}

void options::chkBrowsers_Click() { Module1::MainWindow().SetSupportMoreBrowsers(chkBrowsers.Value() == 1); }

void options::chkDisFSNav_Click() { chkRevNav.SetEnabled(chkDisFSNav.Value() != 1); }

void options::chkLastdir_Click() { EnableHomeFolderButtons(); }

void options::chkSystray_Click() {
    const bool on = chkSystray.Value() == 1;
    optShowMinim.SetEnabled(on);
    optShowAlways.SetEnabled(on);
}

void options::SensitivityBox_GotFocus() {
    // The sensitivities change only through their arrows.
    forms::IgnoringErrors([&] { Tabs.SetFocus(); });
}

// ---- The showing ----

options::ShowingHook::~ShowingHook() { Release(); }

void options::ShowingHook::Follow(HWND hwnd) {
    Release();
    hwnd_ = hwnd;
    subclass::SubscribeMessage(*this, hwnd_, WM_SHOWWINDOW);
}

void options::ShowingHook::Release() {
    if (hwnd_) subclass::UnsubscribeMessage(*this, hwnd_, WM_SHOWWINDOW);
    hwnd_ = nullptr;
}

std::int32_t options::ShowingHook::MsgResponse() const { return subclass::AfterOriginal; }

LRESULT options::ShowingHook::WindowProc(HWND hwnd, UINT, WPARAM wParam, LPARAM) {
    // Only a showing of the window itself (not a restore of its owner): the window is not on the screen yet.
    if (wParam && !IsWindowVisible(hwnd)) window_.ReadSettings();
    return 0;
}
