#include "platform/forms/EventErrorBoundary.h"

#include "platform/runtime/MsgBox.h"
#include "platform/runtime/RuntimeError.h"

#include <new>

namespace forms {
namespace {

void Report(const RuntimeError& error) noexcept {
    try {
        MsgBox(UnhandledErrorText(error), mb::Critical);
    } catch (const std::exception&) {
        // Nothing more can be told to the user; the loop goes on.
    }
}

}  // namespace

std::string UnhandledErrorText(const RuntimeError& error) {
    std::string text = "Run-time error " + std::to_string(error.Number()) + ":\n\n" + error.Description();
    return text;
}

void Guarded(const std::function<void()>& handler) noexcept {
    try {
        handler();
    } catch (const RuntimeError& e) {
        Report(e);
    } catch (const std::bad_alloc&) {
        Report(RuntimeError(err::OutOfMemory));
    } catch (const std::exception& e) {
        Report(RuntimeError(err::InternalError, e.what()));
    }
}

}  // namespace forms
