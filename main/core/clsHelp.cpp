#include "main/core/clsHelp.h"

#include "platform/runtime/Strings.h"

#include <windows.h>
#include <htmlhelp.h>

namespace {

using HtmlHelpFn = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

// The engine is loaded on first use, not imported: the program starts on a system without it, and the
// callers say so to the user. Once loaded it stays, as its help windows live in it.
HtmlHelpFn Engine(bool load) {
    static HtmlHelpFn engine = nullptr;
    if (!engine && load) {
        if (HMODULE module = LoadLibraryA("hhctrl.ocx")) {
            engine = reinterpret_cast<HtmlHelpFn>(reinterpret_cast<void*>(GetProcAddress(module, "HtmlHelpA")));
        }
    }
    return engine;
}

}  // namespace

void clsHelp::Show(const std::string& NewFile, const std::string& WindowPane, std::optional<std::int32_t> ContextID) {
    std::string target = NewFile;
    if (!WindowPane.empty()) target = forms::Trim(NewFile) + ">" + forms::Trim(WindowPane);
    const HtmlHelpFn engine = Engine(true);
    if (!engine) return;
    // The engine's answer is not looked at.
    if (ContextID) {
        engine(nullptr, target.c_str(), HH_HELP_CONTEXT, static_cast<DWORD_PTR>(static_cast<DWORD>(*ContextID)));
    } else {
        engine(nullptr, target.c_str(), HH_DISPLAY_TOPIC, 0);
    }
}

void clsHelp::CloseAll() {
    // Without a help window ever opened there is nothing to close, and no reason to load the engine.
    if (const HtmlHelpFn engine = Engine(false)) engine(nullptr, nullptr, HH_CLOSE_ALL, 0);
}
