#include "platform/forms/EventErrorBoundary.h"

#include "platform/runtime/MsgBox.h"
#include "platform/runtime/RuntimeError.h"

#include <exception>
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

RuntimeError CurrentError() {
    try {
        throw;
    } catch (const RuntimeError& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return RuntimeError(err::OutOfMemory);
    } catch (const std::exception& e) {
        return RuntimeError(err::InternalError, e.what());
    } catch (...) {
        return RuntimeError(err::InternalError);
    }
}

void ReportCurrentError() noexcept {
    try {
        Report(CurrentError());
    } catch (...) {
        // Building the error failed (no memory even for its text): nothing can be told.
    }
}

void Guarded(const std::function<void()>& handler) noexcept {
    try {
        handler();
    } catch (...) {
        ReportCurrentError();
    }
}

}  // namespace forms
