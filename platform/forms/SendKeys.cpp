#include "platform/forms/SendKeys.h"

#include "platform/forms/MessageLoop.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Strings.h"

#include <windows.h>

namespace forms {

void SendKeys(std::string_view keys, bool wait) {
    if (!TextEquals(keys, "{BACKSPACE}") && !TextEquals(keys, "{BS}")) throw RuntimeError(err::InvalidProcedureCall);
    const HWND focus = GetFocus();
    if (!focus) return;
    const auto scan = static_cast<LPARAM>(MapVirtualKeyA(VK_BACK, MAPVK_VK_TO_VSC)) << 16;
    // The message loop's translation makes the character (8) from the press, as for a real key.
    PostMessageA(focus, WM_KEYDOWN, VK_BACK, 1 | scan);
    const auto released = static_cast<LPARAM>(static_cast<ULONG_PTR>(0xC0000000u));  // previous state, transition
    PostMessageA(focus, WM_KEYUP, VK_BACK, 1 | scan | released);
    if (wait) MessageLoop::DoEvents();
}

}  // namespace forms
