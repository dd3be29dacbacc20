#pragma once
// The program around its forms: its title, its end, and the outermost message loop.

#include <functional>
#include <string>

namespace forms {

// The program's title (App::Title: the executable's name until the program sets it). Message boxes
// without a title and the report of an unhandled error carry it.
std::string AppTitle();
void SetAppTitle(std::string title);

// Ends the process at once: no Unload or QueryUnload events, no further code. Settings already written
// stay; the system closes open files.
[[noreturn]] void End();
// Tests only: runs instead of ending the process (it must not return; if it does, the process ends).
void SetEndHook(std::function<void()> hook);

// The program's message loop: returns when the program ends (its main form unloads, or, without a main
// form, its last loaded form), after every form object has been released (Terminate).
int Run();

}  // namespace forms
