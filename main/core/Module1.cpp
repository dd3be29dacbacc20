#include "main/core/Module1.h"

#include "main/browser/frmQuillview.h"
#include "main/core/clsFileManager.h"
#include "main/core/clsScreen.h"
#include "main/windows/frmSettingUp.h"
#include "lib/imgEditbuf/Client.h"
#include "lib/services/Client.h"
#include "platform/runtime/App.h"
#include "platform/runtime/MsgBox.h"
#include "platform/runtime/ErrorSteps.h"
#include "platform/forms/Program.h"

#include <array>
#include <new>
#include <utility>

namespace Module1 {

namespace {

// Kept for the whole run and never destroyed: by the time static destructors run, COM and the server
// module may be gone, and releasing into them would fault.
template <class T>
class Immortal {
public:
    explicit Immortal(T&& value) { new (storage_) T(std::move(value)); }
    Immortal(const Immortal&) = delete;
    Immortal& operator=(const Immortal&) = delete;
    T& Get() noexcept { return *std::launder(reinterpret_cast<T*>(storage_)); }

private:
    alignas(T) unsigned char storage_[sizeof(T)];
};

// While the registration this start began is still running, the system services library may be unknown to
// the system or known at another folder's file that is gone: a creation that fails then waits for that
// registration to end and tries once more.
template <class T>
T CreateOnceRegistered() {
    try {
        return T::Create();
    } catch (const forms::RuntimeError& e) {
        if (e.Number() != forms::err::CannotCreateObject || !WaitForComponentRegistration()) throw;
    }
    return T::Create();
}

// A failed creation leaves the slot empty, so the next use tries again.
template <class T>
T& Shared() {
    static Immortal<T> object(CreateOnceRegistered<T>());
    return object.Get();
}

}  // namespace

services::client::Shell& gShell() { return Shared<services::client::Shell>(); }
services::client::StdFunctions& gStdFunctions() { return Shared<services::client::StdFunctions>(); }
services::client::CommonDialogs& gComdlg() { return Shared<services::client::CommonDialogs>(); }
services::client::FileAssoc& gFileAssoc() { return Shared<services::client::FileAssoc>(); }

// ---- Loader and services ----

namespace {
int g_dialogsShown = 0;
}  // namespace

void DialogOpenHold::Take() noexcept {
    if (held_) return;
    held_ = true;
    ++g_dialogsShown;
}

void DialogOpenHold::GiveBack() noexcept {
    if (!held_) return;
    held_ = false;
    --g_dialogsShown;
}

bool DialogOpen() noexcept { return g_dialogsShown > 0; }
int DialogOpenCount() noexcept { return g_dialogsShown; }

clsFileManager& gFileManager() {
    static clsFileManager files;
    return files;
}

clsScreen& gScreen() {
    static clsScreen screen;
    return screen;
}

// ---- end of loader and services ----

imgbuf::client::ImgEditCtlBuf NewImgEditCtlBuf() { return imgbuf::client::ImgEditCtlBuf(); }

void InitAssocIconPaths() {
    // Always "\" after the folder: the program never runs from a drive root (StartApplication refuses it).
    const std::string program = forms::App::Path() + "\\" + forms::App::EXEName() + ".exe,";
    const std::array<std::pair<std::string*, int>, 11> icons{{
        {&gIconBMP, 16}, {&gIconJPG, 10}, {&gIconGIF, 9}, {&gIconEMF, 7}, {&gIconWMF, 6}, {&gIconPCX, 12},
        {&gIconTIF, 15}, {&gIconPCT, 11}, {&gIconTGA, 14}, {&gIconEPS, 8}, {&gIconPNG, 13},
    }};
    for (const auto& [icon, index] : icons) {
        *icon = program + std::to_string(index);
    }
}

}  // namespace Module1

namespace Module1 {

void StartApplication() {
    forms::IgnoringErrors([] { forms::Default<frmSettingUp>().Show(); });
    forms::IgnoringErrors([] { SetLoadingStatus("Loading Quillview..."); });
    // A drive root is three characters ("C:\").
    if (forms::App::Path().size() == 3) {
        forms::IgnoringErrors([] {
            forms::MsgBox("Quillview cannot be run from a root directory! Please install to a deeper directory.",
                          forms::mb::Critical);
        });
        forms::End();
    }
    forms::IgnoringErrors([] { forms::Default<frmQuillview>().Show(); });
}

void SetLoadingStatus(const std::string& text) {
    frmSettingUp& splash = forms::Default<frmSettingUp>();
    splash.Label1.SetCaption(text);
    splash.Label1.Refresh();
}

}  // namespace Module1
