#pragma once
// The main window of the picture browser. It is the running instance that later starts hand their
// command line to, and its unload ends the program.

#include "main/core/MainWindowView.h"
#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"
#include "platform/forms/Menu.h"
#include "platform/subclass/ISubclass.h"

#include <cstdint>
#include <memory>
#include <string>

class clsIface;
class clsVarMenus;

class frmQuillview : public forms::Form, public subclass::ISubclass, public Module1::MainWindowView {
public:
    frmQuillview();
    ~frmQuillview() override;

    // Primary screen size in pixels.
    std::int32_t ScreenWidth = 0;
    std::int32_t ScreenHeight = 0;

    // The lists that the core keeps (favourites, editors, imaging sites, own sites).
    forms::Menu mnuEdit{*this, "mnuEdit", {.Caption = "&Edit"}};
    forms::Menu mnuEditor{mnuEdit, "mnuEditor", {.Caption = "Edit Image with"}};
    forms::ControlArray<forms::Menu> mnuEditors{mnuEditor, "mnuEditors", {{0, {}}}};
    forms::Menu mnuFav{*this, "mnuFav", {.Caption = "F&avourites"}};
    forms::ControlArray<forms::Menu> mnuFav1{mnuFav, "mnuFav1", {{0, {.Caption = "No Favourites", .Enabled = false}}}};
    forms::Menu mnuGo{*this, "mnuGo", {.Caption = "&Go"}};
    forms::Menu mnuImgsites{mnuGo, "mnuImgsites", {.Caption = "Vivid Imaging Sites"}};
    forms::ControlArray<forms::Menu> mnuImgWebs{mnuImgsites, "mnuImgWebs", {{0, {}}}};
    forms::Menu mnuMyWeb{mnuGo, "mnuMyWeb", {.Caption = "My Imaging Sites"}};
    forms::ControlArray<forms::Menu> mnuMyWebs{mnuMyWeb, "mnuMyWebs", {{0, {}}}};

    forms::ControlArray<forms::Menu>& FavouritesMenu() override { return mnuFav1; }

    // Turns a command line (this start's, when sCommand is empty) into the picture chosen in the browser.
    void ProcessCmdLine(const std::string& sCommand = {});

    // The hand-in of a later start's command line (WM_COPYDATA only).
    std::int32_t MsgResponse() const override { return subclass::ConsumeMessage; }
    void SetMsgResponse(std::int32_t) override {}
    LRESULT WindowProc(HWND hwnd, UINT iMsg, WPARAM wParam, LPARAM lParam) override;

protected:
    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

private:
    void ReceiveCommandLine(const std::string& text);
    // Applies the browser-tools state to the window (its layout belongs to the main window's own code).
    void mInterface_Change();
    // "<program folder>\<program>.exe".
    static std::string ProgramFile();
    // Binds one editable list to its menu and file and loads it.
    static void BindList(clsVarMenus& list, forms::ControlArray<forms::Menu>& items, const char* dataFile);
    // Favourites whose folder (or file) no longer exists go.
    void RemoveVanishedFavourites();

    // Browser-tools state, from the load to the unload.
    std::unique_ptr<clsIface> mInterface;
};
