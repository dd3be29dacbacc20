#pragma once
// A small window that provides the loader's part of the main-window view: the picture area with Image1,
// Text1, the folder and file lists, the scroll bars, the status bar and the loader's menus are real controls.
// Call-backs and added panels record their order; ShowLogo removes the five panels and resets the picture
// state as the main window's does.

#include "main/core/MainWindowView.h"
#include "main/core/Module1.h"
#include "platform/comctl/StatusBar.h"
#include "platform/forms/Form.h"
#include "platform/forms/Menu.h"
#include "platform/forms/Screen.h"
#include "platform/runtime/ErrorSteps.h"
#include "platform/forms/controls/DirListBox.h"
#include "platform/forms/controls/FileListBox.h"
#include "platform/forms/controls/HScrollBar.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/controls/TextBox.h"
#include "platform/forms/controls/VScrollBar.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

class frmLoaderTest : public forms::Form, public Module1::MainWindowView {
public:
    frmLoaderTest()
        : Form({.Caption = "Loader", .Width = 9000, .Height = 7000, .Scale = forms::ScaleMode::Pixels}) {}

    forms::PictureBox Picture1{*this, "Picture1", {10, 10, 400, 300},
                               {.BorderStyle = 0, .Scale = forms::ScaleMode::Pixels, .BackColor = 0}};
    forms::PictureBox Image1{Picture1, "Image1", {20, 40, 10, 10},
                             {.BorderStyle = 0, .Scale = forms::ScaleMode::Pixels, .BackColor = 0xFFFFFF}};
    forms::VScrollBar VScroll1{*this, "VScroll1", {410, 10, 16, 300}, {}};
    forms::HScrollBar HScroll1{*this, "HScroll1", {10, 310, 400, 16}, {}};
    forms::TextBox Text1{*this, "Text1", {440, 10, 60, 20}, {}};
    forms::DirListBox Dir1{*this, "Dir1", {440, 40, 150, 120}, {}};
    forms::StatusBar SB1{*this, "SB1", {0, 0, 600, 20}, {}};
    forms::FileListBox File1{*this, "File1", {440, 170, 150, 150}, {}};
    forms::Menu mnuFile{*this, "mnuFile", {.Caption = "&File"}};
    forms::Menu mnuClose{mnuFile, "mnuClose", {.Caption = "&Close", .Enabled = false}};
    forms::Menu mnuView{*this, "mnuView", {.Caption = "&View"}};
    forms::Menu mnuStatus{mnuView, "mnuStatus", {.Caption = "Status Bar", .Enabled = false}};
    forms::Menu mnuBackCol{mnuView, "mnuBackCol", {.Caption = "Background Colour", .Enabled = false}};
    forms::Menu mnuTips{mnuView, "mnuTips", {.Caption = "Tips", .Checked = true, .Enabled = false}};
    forms::Menu mnuFullscrn{mnuView, "mnuFullscrn", {.Caption = "Full Screen", .Enabled = false}};

    // The panels' keys in the order they were added, "ftype" first (made at load), and the widths set.
    std::vector<std::string> panelKeys;
    std::map<std::string, float> widths;
    bool selectionShown = true;
    bool logoShown = true;
    std::int32_t displayMode = 101;
    bool tiled = false;
    std::vector<std::string> calls;

    // A panel's text, or "<none>" when there is no such panel.
    std::string Text(const std::string& key) {
        try {
            return SB1.PanelText(key);
        } catch (const forms::RuntimeError&) {
            return "<none>";
        }
    }

    forms::ControlArray<forms::Menu>& FavouritesMenu() override { throw forms::RuntimeError(438); }
    forms::Form& LoaderWindow() override { return *this; }
    forms::PictureBox& PictureArea() override { return Picture1; }
    forms::PictureBox& PictureHolder() override { return Image1; }
    forms::TextBox& ExtensionBox() override { return Text1; }
    forms::DirListBox& FolderList() override { return Dir1; }
    forms::FileListBox& FileList() override { return File1; }
    forms::VScrollBar& VerticalScrollBar() override { return VScroll1; }
    forms::HScrollBar& HorizontalScrollBar() override { return HScroll1; }
    forms::StatusBar& StatusPanels() override { return SB1; }
    void AddStatusPanel(const std::string& key) override {
        MainWindowView::AddStatusPanel(key);
        panelKeys.push_back(key);
    }
    void SetStatusPanelWidth(const std::string& key, float width) override {
        MainWindowView::SetStatusPanelWidth(key, width);
        widths[key] = width;
    }
    void EnablePictureMenus() override {
        mnuClose.SetEnabled(true);
        mnuStatus.SetEnabled(true);
        mnuBackCol.SetEnabled(true);
        mnuTips.SetEnabled(true);
        mnuTips.SetChecked(false);
    }
    void PictureShown() override {
        selectionShown = false;
        mnuFullscrn.SetEnabled(true);
    }
    bool LogoShown() override { return logoShown; }
    void SetLogoShown(bool shown) override { logoShown = shown; }
    std::int32_t DisplayMode() override { return displayMode; }
    bool Tiled() override { return tiled; }
    void DoColour() override { calls.push_back("DoColour"); }
    void DisplayImage() override {
        calls.push_back("DisplayImage");
        // Best Fit as the window does it, in short: a larger picture takes the area's inner size.
        if (displayMode == 102 && !tiled) {
            Image1.Move(0, 0, std::min(Image1.Width(), Picture1.ScaleWidth()),
                        std::min(Image1.Height(), Picture1.ScaleHeight()));
        }
        Image1.SetVisible(true);
        SetMousePointer(forms::pointer::Default);
    }
    void ShowLogo() override {
        calls.push_back("ShowLogo");
        Image1.SetVisible(false);
        Image1.Move(20, 40, 10, 10);
        logoShown = true;
        SetCaption("Quillview - Vivid Imaging");
        Module1::gImageSaved = true;
        Module1::gCurrentImagePath.clear();
        Image1.SetVisible(true);
        VScroll1.SetEnabled(false);
        HScroll1.SetEnabled(false);
        Module1::gStatusPanelsReady = false;
        for (const char* key : {"size", "fname", "dimen", "date", "mode"}) {
            forms::IgnoringErrors([&] { SB1.RemovePanel(key); });
            std::erase(panelKeys, key);
        }
        SB1.SetPanelText("ftype", "Quillview Website");
    }
    void ImageSaved() override { calls.push_back("ImageSaved"); }
    void ImageStatic() override { calls.push_back("ImageStatic"); }
    void CheckPCXSupport() override { calls.push_back("CheckPCXSupport"); }

protected:
    void Form_Load() override {
        SB1.AddPanel(0, "", "", -1, 64, false, true, 0, "ftype");
        panelKeys = {"ftype"};
    }
};
