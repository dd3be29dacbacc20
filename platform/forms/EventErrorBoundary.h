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

// The report's text for an error.
std::string UnhandledErrorText(const RuntimeError& error);

}  // namespace forms
