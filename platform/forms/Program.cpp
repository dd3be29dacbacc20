#include "platform/forms/Program.h"

#include "platform/runtime/App.h"

#include <windows.h>

namespace forms {

std::string AppTitle() { return App::Title(); }
void SetAppTitle(std::string title) { App::SetTitle(std::move(title)); }

void End() { ExitProcess(0); }

}  // namespace forms
