// Entry of the picture browser: the start routine decides on the single instance, then the program lives in
// the message loop of its windows until the main window has gone.
#include "main/core/modInstances.h"
#include "platform/forms/App.h"
#include "platform/forms/DispatchBoundary.h"
#include "platform/forms/Form.h"
#include "platform/forms/Program.h"
#include "platform/subclass/Subclasser.h"

#include <windows.h>
#include <ole2.h>

#include <algorithm>

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

bool AnyFormLoaded() {
    const auto forms = forms::Form::AllForms();
    return std::any_of(forms.begin(), forms.end(), [](const forms::Form* f) { return f->IsLoaded(); });
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const ScopedOle ole;
    forms::App::SetTitle("Quillview");
    subclass::SetErrorReporter(&ReportHookError);
    modInstances::Main();
    // A later start, or a start that ended early, has no window: the process ends quietly.
    if (!AnyFormLoaded()) return 0;
    return forms::Run();
}
