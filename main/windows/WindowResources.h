#pragma once
// Resource numbers of the secondary windows' pictures, texts and icons (resources/windows/windows.rc). The
// main window's icons take the numbers up to 139.

namespace windows_res {

inline constexpr int kTipsBitmap = 101;
inline constexpr int kAboutBanner = 102;
inline constexpr int kAdvertPicture = 120;
inline constexpr int kCustomCaptureHint = 102;  // string
inline constexpr int kCaptureIcon = 140;
inline constexpr int kBrowseIcon = 141;
inline constexpr int kPinIcon = 142;
inline constexpr int kViewerIcon = 143;

}  // namespace windows_res
