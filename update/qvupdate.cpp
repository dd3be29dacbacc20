// Entry of the update program: the start routine dispatches on the command-line word, then the program
// lives in the message loop of its windows until the wizard (or, started with "fix", the repair window)
// has gone.
#include "platform/forms/EventErrorBoundary.h"
#include "platform/forms/Program.h"
#include "platform/runtime/App.h"
#include "update/Module1.h"

#include <windows.h>
#include <ole2.h>

namespace {

// The component library's objects and the common dialogs need OLE on the UI thread.
class ScopedOle {
public:
    ScopedOle() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~ScopedOle() {
        if (ok_) OleUninitialize();
    }
    ScopedOle(const ScopedOle&) = delete;
    ScopedOle& operator=(const ScopedOle&) = delete;

private:
    bool ok_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const ScopedOle ole;
    forms::App::SetTitle(update::Module1::kTitle);
    forms::Guarded([] { update::Module1::Main(); });
    return forms::Run();
}
