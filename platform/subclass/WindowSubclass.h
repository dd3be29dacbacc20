#pragma once
// Chained subclassing of a window, with the common controls' rules: several procedures on one window, each
// known by its procedure and id, the last one set called first, each passing a message on with
// CallNextSubclass, removable in any order and during a message, all gone when the window is destroyed.
//
// The chain is kept by the window's thread, not in a window property: the common controls' own subclassing
// reads its property for every message, and a property read can cost a call to the window server each time.
// Windows of other threads cannot be subclassed.

#include <windows.h>

#include <optional>

namespace subclass {

// The common controls' SUBCLASSPROC.
using SubclassProcedure = LRESULT(CALLBACK*)(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                             DWORD_PTR data);

// Setting a procedure and id already set replaces its data. False when the window is not this thread's.
bool SetSubclass(HWND hwnd, SubclassProcedure procedure, UINT_PTR id, DWORD_PTR data);
// False when that procedure and id are not set on the window.
bool RemoveSubclass(HWND hwnd, SubclassProcedure procedure, UINT_PTR id);
// The data a procedure and id were set with; none when they are not set on the window.
std::optional<DWORD_PTR> SubclassData(HWND hwnd, SubclassProcedure procedure, UINT_PTR id);
// From inside a subclass procedure: the message to the next procedure of the chain, and after the last one
// to the window's own procedure.
LRESULT CallNextSubclass(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace subclass
