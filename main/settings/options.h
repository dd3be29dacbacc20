#pragma once
// The options window: every setting the user can change, on five tabbed pages, saved by OK or Apply; the
// file-type associations and their undo; the editors and web-link lists of the main window's menus; the home
// folder. The main window shows it modally without owner (Tools > Options, its toolbar, Go > Edit Links on
// the Links page) and binds three of its lists to the editable menus at start-up.
//
// Creating the window (that binding, or any touch) lays it out and adds the tabs only. What it shows is read
// each time it is shown, so a showing starts from what is stored then and keeps the page a caller chose.
// Its behaviour is split by concern: options.cpp (design, layout, tabs, small handlers), OptionsLoading.cpp,
// OptionsSaving.cpp, OptionsAssociations.cpp, OptionsLists.cpp (editors, web links, home folder).

#include "main/windows/ShownHold.h"
#include "platform/comctl/SoftButton.h"
#include "platform/comctl/TabControl.h"
#include "platform/comctl/UpDown.h"
#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"
#include "platform/forms/Menu.h"
#include "platform/forms/controls/CheckBox.h"
#include "platform/forms/controls/CommandButton.h"
#include "platform/forms/controls/Frame.h"
#include "platform/forms/controls/Label.h"
#include "platform/forms/controls/ListBox.h"
#include "platform/forms/controls/OptionButton.h"
#include "platform/forms/controls/TextBox.h"
#include "platform/subclass/ISubclass.h"

#include <functional>
#include <string>
#include <vector>

namespace filetypes {
struct FileType;
}

class options : public forms::Form {
public:
    options();
    ~options() override;

    // Page n (1 Main, 2 Full Screen, 3 Links, 4 Editors, 5 Advanced) of tab n; error 340 for another index.
    forms::Frame& fraMain(int index);

    forms::TabControl Tabs;
    forms::Frame fraMain1;
    forms::Frame fraMain2;
    forms::Frame fraMain3;
    forms::Frame fraMain4;
    forms::Frame fraMain5;

    // ---- Main ----
    forms::ControlArray<forms::Label> Label2;
    forms::CheckBox Check1;
    forms::CheckBox chkFlatCtl;
    forms::CheckBox chkLoadTipsAtStartup;
    forms::CheckBox chkRecFiles;
    forms::CheckBox chkFollowOp;
    forms::Label Label5;
    forms::TextBox txtScollsen;
    forms::UpDown Scrollsen;
    forms::Label Label6;
    forms::TextBox txtDragSen;
    forms::UpDown UDdrg;
    forms::Label Label3;
    forms::Label startdir;
    forms::CheckBox chkLastdir;
    forms::CommandButton cmdCurrent;
    forms::CommandButton Command1;
    forms::CommandButton fav;
    forms::CheckBox chkSystray;
    forms::OptionButton optShowMinim;
    forms::OptionButton optShowAlways;

    // ---- Full Screen ----
    forms::Label Label4;
    forms::CheckBox chkRevNav;
    forms::CheckBox chkDisFSNav;
    forms::CheckBox Check5;
    forms::CheckBox chkShowMBalways;
    forms::CheckBox chkGreyMode;

    // ---- Links ----
    forms::CheckBox chkBrowsers;
    forms::OptionButton optAutowbnm;
    forms::OptionButton optPromptwnm;
    forms::ControlArray<forms::Label> Label7;
    forms::ListBox lstWebname;
    forms::ListBox lstWebAddr;
    forms::ControlArray<forms::SoftButton> Webctls;
    forms::CommandButton cmdDesktop;

    // ---- Editors ----
    forms::ListBox EditorsList;
    forms::Label lblEdNam;
    forms::TextBox txtEdNm;
    forms::CommandButton cmdAddEditor;
    forms::CommandButton cmdDelEditor;
    forms::CommandButton cmdChangeEdNm;

    // ---- Advanced ----
    forms::CheckBox chkGIF87a;
    forms::CheckBox chkFavorite;
    forms::CheckBox chkFP98;
    forms::CheckBox chkFP2000;
    forms::CheckBox chkMaintain;
    forms::CheckBox chkImgFll;
    forms::CheckBox chkCloseAfter1;
    forms::CheckBox chkDelFavs;
    forms::Label Label1;
    forms::CheckBox chkBMPass;
    forms::CheckBox chkJPGass;
    forms::CheckBox chkGIFass;
    forms::CheckBox chkWMFass;
    forms::CheckBox chkEMFass;
    forms::CheckBox chkICOass;
    forms::CheckBox chkCURass;
    forms::CheckBox chkTGAass;
    forms::CheckBox chkPCXass;
    forms::CheckBox chkTIFass;
    forms::CheckBox chkEPSass;
    forms::CheckBox chkPCTass;
    forms::CheckBox chkPNGass;
    forms::CommandButton cmdCheckall;
    forms::CommandButton cmdCheckNone;

    // ---- Closing buttons ----
    forms::CommandButton cmdOK;
    forms::CommandButton cmdCancel;
    forms::CommandButton cmdApply;
    forms::CommandButton cmdHelp;

    // The favourites popup of "Favorites" (never on a menu bar).
    forms::Menu mnuFav;
    forms::ControlArray<forms::Menu> mnuFavs;

    // The association box of a type code ("BMP" ... "PNG"); error 5 for another code.
    forms::CheckBox& AssociationBox(const std::string& typeCode);

    // The name "Add Editor..." offers for a program file: a known program's name, else the file name itself.
    static std::string FriendlyEditorName(const std::string& fileName);

protected:
    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

private:
    // Layout and tabs (options.cpp).
    void Tabs_Click(int Index);
    void cmdHelp_Click();
    void chkBrowsers_Click();
    void chkDisFSNav_Click();
    void chkLastdir_Click();
    void chkSystray_Click();
    void SensitivityBox_GotFocus();

    // Reading at each showing (OptionsLoading.cpp).
    void ReadSettings();
    void DetectFrontPage();
    // Runs one loading statement; a failure is reported in loading's words and loading goes on.
    void LoadStep(const std::function<void()>& step);

    // Saving (OptionsSaving.cpp): true when every step succeeded.
    void cmdOK_Click();
    void cmdApply_Click();
    void cmdCancel_Click();
    bool SaveSettings();

    // Associations (OptionsAssociations.cpp).
    bool IsAssociated(const filetypes::FileType& type);
    void SetAssociation(const filetypes::FileType& type);
    void cmdCheckall_Click();
    void cmdCheckNone_Click();
    void SetAssociationBoxes(int value);

    // Editors, web links, home folder, desktop shortcuts (OptionsLists.cpp).
    void cmdAddEditor_Click();
    void EditorsList_Click();
    void cmdChangeEdNm_Click();
    void cmdDelEditor_Click();
    void lstWebname_Click();
    void lstWebname_MouseDown();
    void lstWebAddr_Click();
    void lstWebAddr_MouseDown();
    void Webctls_Click(int Index);
    void cmdCurrent_Click();
    void Command1_Click();
    void fav_Click();
    void mnuFavs_Click(int Index);
    void cmdDesktop_Click();
    // Row n of a list stands for menu item editorRows_[n] or linkRows_[n].
    void FillEditors();
    void FillLinks();
    void EnableLinkButtons(bool enabled);
    void EnableHomeFolderButtons();

    // The window's showing, seen before it is on the screen: the settings are read then.
    class ShowingHook final : public subclass::ISubclass {
    public:
        explicit ShowingHook(options& window) : window_(window) {}
        ~ShowingHook() override;
        void Follow(HWND hwnd);
        void Release();
        std::int32_t MsgResponse() const override;
        void SetMsgResponse(std::int32_t) override {}
        LRESULT WindowProc(HWND hwnd, UINT iMsg, WPARAM wParam, LPARAM lParam) override;

    private:
        options& window_;
        HWND hwnd_ = nullptr;
    };

    ShowingHook showing_{*this};
    ShownHold dialogOpen_;
    std::vector<int> editorRows_;
    std::vector<int> linkRows_;
};

// The main window's start-up: the editable menus of the editors and of the user's web links get the window's
// lists (EditorsList the editors' programs, lstWebname and lstWebAddr the links), which creates the window
// hidden: its controls hold the lists without windows of their own until it is first shown. The creation
// reads nothing and counts as no open dialog.
void BindOptionsLists();
