#pragma once
// Where the main program keeps its settings: the settings store's application that holds every one of them.

namespace settingsnames {

inline constexpr char kApp[] = "Quillview2";

}  // namespace settingsnames
