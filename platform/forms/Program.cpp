#include "platform/forms/Program.h"

#include "platform/forms/App.h"

#include <windows.h>

namespace forms {
namespace {

std::function<void()>& EndHook() {
    static std::function<void()> hook;
    return hook;
}

}  // namespace

std::string AppTitle() { return App::Title(); }
void SetAppTitle(std::string title) { App::SetTitle(std::move(title)); }

void SetEndHook(std::function<void()> hook) { EndHook() = std::move(hook); }

void End() {
    if (EndHook()) EndHook()();
    ExitProcess(0);
}

}  // namespace forms
