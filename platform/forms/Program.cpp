#include "platform/forms/Program.h"

#include <windows.h>

namespace forms {
namespace {

std::string ExeBaseName() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name(path);
    if (const auto slash = name.find_last_of("\\/"); slash != std::string::npos) name.erase(0, slash + 1);
    if (const auto dot = name.find_last_of('.'); dot != std::string::npos) name.erase(dot);
    return name;
}

std::string& Title() {
    static std::string title = ExeBaseName();
    return title;
}

std::function<void()>& EndHook() {
    static std::function<void()> hook;
    return hook;
}

}  // namespace

const std::string& AppTitle() { return Title(); }
void SetAppTitle(std::string title) { Title() = std::move(title); }

void SetEndHook(std::function<void()> hook) { EndHook() = std::move(hook); }

void End() {
    if (EndHook()) EndHook()();
    ExitProcess(0);
}

}  // namespace forms
