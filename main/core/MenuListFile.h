#pragma once
// The text of an editable menu list file, apart from the menu it fills: one item a line, value, "<name>"
// (any letter case), name. Portable.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace menulist {

inline constexpr std::string_view kMarker = "<name>";

struct Item {
    std::string name;
    std::string value;
};

struct Parsed {
    std::vector<Item> items;
    // Some line that is not blank had no marker: the file may be the update program's, so it is left out.
    bool badLine = false;
};

// Where the marker begins, in any letter case; from the end when `last`. npos: nowhere.
std::size_t FindMarker(std::string_view text, bool last);

// What would break the line or move the marker, so cannot be stored as a name or a value.
bool HoldsLineBreakOrMarker(std::string_view text);

// Lines end in CR LF as written, or in a bare LF as a server may send them. `toUtf8` converts each line that
// is not blank before it is split (the older files are in the Windows code page). A name without a value,
// or a value without a name, is no item; both blank is one.
Parsed Parse(std::string_view bytes, const std::function<std::string(std::string)>& toUtf8);

}  // namespace menulist
