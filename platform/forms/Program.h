#pragma once
// The program around its forms: its title, its end, and the outermost message loop.

#include <string>

namespace forms {

// The program's title (App::Title: the executable's name until the program sets it). Message boxes
// without a title and the report of an unhandled error carry it.
std::string AppTitle();
void SetAppTitle(std::string title);

// Ends the process at once: no Unload or QueryUnload events, no further code. Settings already written
// stay; the system closes open files.
[[noreturn]] void End();

// The program's message loop: returns when the program ends (its main form unloads, or, without a main
// form, its last loaded form), after every form object has been released (Terminate). With no form loaded
// it returns at once.
int Run();

}  // namespace forms
