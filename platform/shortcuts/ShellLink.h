#pragma once
// Our stand-in for the outside shortcut maker: real .lnk files through the shell's IShellLinkA.

#include <string>

namespace shortcuts {

// A folder given relative to the Start menu's Programs folder, or absolute. Relative paths were written
// for the old layout (Windows folder\Start Menu\Programs); they are resolved in that layout and its
// folders taken as the shell's special folders that stand for them now: "Desktop" the user's desktop,
// "Start Menu" and "Start Menu\Programs" the user's Start menu and its programs, "Application Data" the
// roaming application data; anything else stays under the Windows folder. "..\..\Desktop" is the desktop.
std::string ResolveStartMenuPath(const std::string& path);

// Makes <folder>\<linkName>.lnk pointing at target with the arguments, creating the folder when missing.
// A link name may begin with "\". True when the link was saved.
bool fCreateShellLink(const std::string& folder, const std::string& linkName, const std::string& target,
                      const std::string& arguments);

}  // namespace shortcuts
