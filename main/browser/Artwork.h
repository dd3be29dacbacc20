#pragma once
// The program's own pictures, by resource ID: icons 101-105 (display modes, tray, panel, tile), 106-116 the
// file types in association order, 117-125 the toolbar, 126-128 the panel's caption buttons, 129-132 the file
// buttons; bitmap 102 the logo, 103 the maker's banner.

#include "platform/forms/StdPicture.h"

namespace browser {

inline constexpr int kIconActualSize = 101;
inline constexpr int kIconBestFit = 102;
inline constexpr int kIconTray = 103;
inline constexpr int kIconPanel = 104;
inline constexpr int kIconTile = 105;
// Toolbar buttons 0-5 and 7-9 (button 6 shows the display mode's icon).
inline constexpr int kIconToolbarFirst = 117;
// Close, refresh and toggle docking; then Delete, Copy, Move and Rename File.
inline constexpr int kIconCaptionClose = 126;
inline constexpr int kIconCaptionRefresh = 127;
inline constexpr int kIconCaptionDock = 128;
inline constexpr int kIconFileButtonsFirst = 129;
inline constexpr int kBitmapLogo = 102;
inline constexpr int kBitmapBanner = 103;

forms::StdPicture ProgramIcon(int id);
forms::StdPicture ProgramBitmap(int id);

}  // namespace browser
