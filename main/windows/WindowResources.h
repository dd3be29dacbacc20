#pragma once
// Resource numbers of the secondary windows' pictures, texts and icons.

namespace windows_res {

inline constexpr int kTipsBitmap = 101;
inline constexpr int kAboutBanner = 102;
inline constexpr int kAdvertPicture = 120;
inline constexpr int kCustomCaptureHint = 102;  // string
inline constexpr int kCaptureIcon = 117;
inline constexpr int kBrowseIcon = 118;

}  // namespace windows_res
