// Entry of the picture browser: the start routine decides on the single instance, then the program lives in
// the message loop of its windows until the main window has gone.
#include "main/core/modInstances.h"
#include "platform/runtime/App.h"
#include "platform/forms/EventErrorBoundary.h"
#include "platform/forms/Program.h"
#include "platform/subclass/Subclasser.h"

#include <windows.h>
#include <ole2.h>

namespace {

// Pictures, the clipboard and the component servers need OLE on the UI thread.
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

void ReportHookError(const std::exception&) {
    // Called inside the catch of the hook: rethrowing hands the same error to the ordinary report.
    forms::Guarded([] { throw; });
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const ScopedOle ole;
    forms::App::SetTitle("Quillview");
    subclass::SetErrorReporter(&ReportHookError);
    modInstances::Main();
    // A later start has no window: the loop returns at once and the process ends quietly.
    return forms::Run();
}
