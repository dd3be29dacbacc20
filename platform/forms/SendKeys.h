#pragma once
// The one keystroke the windows send themselves: "{BACKSPACE}" (or "{BS}"), delivered as one key press and
// release to the focused window of the calling thread. The keys are posted to that window, as the keyboard
// would queue them, never injected system-wide, so they cannot reach another program. Other text raises 5.

#include <string_view>

namespace forms {

void SendKeys(std::string_view keys, bool wait = false);

}  // namespace forms
