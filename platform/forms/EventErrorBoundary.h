#pragma once
// Where events enter the program's code from the message loop. An error that no handler caught does not
// end the program: it is reported in one message box ("Run-time error n:" and the description, titled
// with the program's title) and the message loop goes on.
//
// Events raised by a statement (a property set by code) do not pass this boundary: their errors return to
// that statement, as a called routine's would.

#include <functional>
#include <string>

namespace forms {

class RuntimeError;

// Runs an event handler; reports an error escaping it. Never throws.
void Guarded(const std::function<void()>& handler) noexcept;

// Inside a catch: the error being handled as the runtime's error. A run-time error is itself, a failed
// allocation is out of memory, anything else an internal error with what it says of itself.
RuntimeError CurrentError();

// Inside a catch: reports the error being handled as Guarded does. Never throws.
void ReportCurrentError() noexcept;

// A window procedure's body, where the system calls the program: an error escaping it is reported and the
// message gets `onError`, so no exception unwinds through the system's frames.
template <class Body>
auto GuardedEntry(Body&& body, decltype(body()) onError) noexcept -> decltype(body()) {
    try {
        return body();
    } catch (...) {
        ReportCurrentError();
        return onError;
    }
}

// The report's text for an error.
std::string UnhandledErrorText(const RuntimeError& error);

}  // namespace forms
