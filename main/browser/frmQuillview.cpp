#include "main/browser/frmQuillview.h"

#include "lib/services/Client.h"
#include "main/core/Addresses.h"
#include "main/core/Module1.h"
#include "main/core/clsHelp.h"
#include "main/core/clsIface.h"
#include "main/core/clsVarMenus.h"
#include "main/core/modInstances.h"
#include "main/windows/frmSettingUp.h"
#include "platform/runtime/App.h"
#include "platform/runtime/ErrorSteps.h"
#include "platform/runtime/FileSystem.h"
#include "platform/forms/MessageLoop.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/Paths.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Settings.h"
#include "platform/runtime/Shell.h"
#include "platform/runtime/UserPaths.h"
#include "platform/subclass/Subclasser.h"

#include <functional>

namespace {

// A failed step of the hand-in is reported in two boxes, then the hand-in goes on with its next step.
void HandInStep(const std::function<void()>& step) {
    try {
        step();
    } catch (const forms::RuntimeError& e) {
        forms::MsgBox(std::string("An error has occured in reactivating Quillview after a command line was passed "
                                  "from another instance (of Quillview). You are encouraged to report this error "
                                  "to ") +
                          addresses::kSupportAddress + "\r\n" +
                          "If you report the error, in your email please quote 'INSTERR45' as the reference code "
                          "AND the error number which is " +
                          std::to_string(e.Number()) + ". We'd appreciate your report!",
                      forms::mb::Critical, "INSTERR45 - Instancing Error");
        forms::MsgBox("Error description: " + e.Description(), forms::mb::Critical,
                      "Error " + std::to_string(e.Number()));
    }
}

}  // namespace

frmQuillview::frmQuillview()
    : Form({.Caption = "Quillview",
            .Width = 8690,
            .Height = 6050,
            .Scale = forms::ScaleMode::Pixels,
            .KeyPreview = true}) {}

frmQuillview::~frmQuillview() = default;

void frmQuillview::Form_Load() {
    forms::Form::SetMainForm(this);
    forms::IgnoringErrors([&] { subclass::SubscribeMessage(*this, hWnd(), WM_COPYDATA); });
    forms::IgnoringErrors([&] { modInstances::MarkInstanceWindow(hWnd()); });
    forms::IgnoringErrors([&] {
        mInterface = std::make_unique<clsIface>();
        mInterface->Change = [this] { mInterface_Change(); };
    });
    // Under another file name the program is no installation of its own: no checks of one.
    const bool installed = !forms::Dir(ProgramFile()).empty();
    if (installed) forms::IgnoringErrors([] { Module1::CheckComponents(); });
    forms::IgnoringErrors([] { Module1::CheckUpdateReminder(); });
    forms::IgnoringErrors([] { Module1::InitAssocIconPaths(); });
    BindList(Module1::gEditorsMenu(), mnuEditors, "QVEditors.dat");
    BindList(Module1::gMyWebsMenu(), mnuMyWebs, "QVImgwebs.dat");
    BindList(Module1::gImgWebsMenu(), mnuImgWebs, "QVSetwebs.dat");
    Module1::gImageSaved = true;
    forms::IgnoringErrors([&] { ProcessCmdLine(); });
    forms::IgnoringErrors([] {
        Module1::gFavNames.assign(1, {});
        Module1::gFavPaths.assign(1, {});
        Module1::LoadFavouritesMenu();
    });
    forms::IgnoringErrors([&] {
        if (forms::GetSettingNumber("Quillview2", "Options", "DelFavs", 0) == 1) RemoveVanishedFavourites();
    });
    forms::IgnoringErrors([&] { Show(); });
    forms::IgnoringErrors([&] { forms::Default<frmSettingUp>().Unload(); });
}

void frmQuillview::Form_Unload(int&) {
    // Only a close that goes ahead gives up the single-instance role.
    forms::IgnoringErrors([&] { subclass::UnsubscribeMessage(*this, hWnd(), WM_COPYDATA); });
    modInstances::ReleaseInstanceMutex();
    // The interface state stores its keys when it is released here, not when the process ends.
    forms::IgnoringErrors([&] {
        if (mInterface) mInterface->Release();
    });
    mInterface.reset();
    // The imaging sites are the update program's list: never saved here.
    forms::IgnoringErrors([] { Module1::gEditorsMenu().SaveMenu(); });
    forms::IgnoringErrors([] { Module1::gMyWebsMenu().SaveMenu(); });
    forms::IgnoringErrors([&] { forms::Default<frmSettingUp>().Unload(); });
    forms::IgnoringErrors([] { Module1::gHelp().CloseAll(); });
}

void frmQuillview::mInterface_Change() {}

std::string frmQuillview::ProgramFile() {
    return forms::ProgramFolder() + "\\" + forms::App::EXEName() + ".exe";
}

void frmQuillview::BindList(clsVarMenus& list, forms::ControlArray<forms::Menu>& items, const char* dataFile) {
    forms::IgnoringErrors([&] {
        list.MenuItems = &items;
        list.DataFile = dataFile;
        list.LoadMenu();
    });
}

void frmQuillview::RemoveVanishedFavourites() {
    // A removal moves the last favourite into the freed place, so that place is tested again; every
    // favourite left is tested once.
    int index = 0;
    while (mnuFav1.Exists(index) && index < static_cast<int>(Module1::gFavNames.size()) - 1) {
        const std::string name = mnuFav1(index).Caption();
        const std::string folder = mnuFav1(index).Tag();
        if (GetFileAttributesA(folder.c_str()) != INVALID_FILE_ATTRIBUTES) {
            ++index;
            continue;
        }
        const std::size_t before = Module1::gFavNames.size();
        Module1::RemoveFavourite(name, folder);
        if (Module1::gFavNames.size() >= before) ++index;  // not removed: go on with the next
    }
}

void frmQuillview::ProcessCmdLine(const std::string& sCommand) {
    const bool startUp = sCommand.empty();
    const std::string text = startUp ? Module1::gCommandLine : sCommand;
    bool selected = false;
    if (!text.empty() && text != "\"\"") {
        if (startUp) forms::IgnoringErrors([] { Module1::SetLoadingStatus("Loading Image..."); });
        std::string path = text;
        if (!path.empty() && path.back() == '"') path.pop_back();
        if (!path.empty() && path.front() == '"') path.erase(0, 1);
        if (!path.empty() && !forms::Dir(path).empty()) {
            SetCaption("Quillview - " + forms::FileNameOf(path));
            selected = true;
        }
    }
    if (!selected) Module1::gCommandLine.clear();
}

LRESULT frmQuillview::WindowProc(HWND, UINT iMsg, WPARAM, LPARAM lParam) {
    if (iMsg != WM_COPYDATA || lParam == 0) return 0;
    const auto* record = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    std::string text;
    if (record->cbData > 0 && record->lpData) {
        text.assign(static_cast<const char*>(record->lpData), record->cbData);
    }
    // A later start sends one zero byte for an empty command line: that is no picture to open.
    if (text == std::string(1, '\0')) text.clear();
    ReceiveCommandLine(text);
    return 0;
}

void frmQuillview::ReceiveCommandLine(const std::string& text) {
    const HWND self = hWnd();
    if (text.empty()) {
        SetForegroundWindow(self);
        modInstances::RestoreAndActivate(self);
        return;
    }
    HandInStep([&] {
        forms::AppActivate(Caption());
        SetForegroundWindow(self);
        modInstances::RestoreAndActivate(self);
        // Topmost and at once not topmost again: the window comes to the front even over other programs.
        const auto form = GetDispatch();
        Module1::gShell().FormStayOnTop(form.Get(), true);
        forms::DoEvents();
        Module1::gShell().FormStayOnTop(form.Get(), false);
    });
    HandInStep([&] {
        ProcessCmdLine(text);
        forms::DoEvents();
    });
}
