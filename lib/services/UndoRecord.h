#pragma once
// The association undo record: the file that keeps a type's earlier association while the suite's own is in
// place. A header line, then one line a field: a four-character tag and the text. Portable.

#include <optional>
#include <string>
#include <string_view>

namespace services {

inline constexpr std::string_view kUndoHeader = "*****PLEASE DO NOT DELETE THIS FILE*****";

// The fields of a record; a tag seen marks its field as present (the last of a tag seen twice counts).
struct UndoRecord {
    bool header = false;
    std::optional<std::string> extension, progId, contentType, description, icon, command, action;
    // The earlier program's own keys were kept too, so they are put back.
    bool Full() const { return description && icon && command && action; }
};

// Lines end in CR LF, or in a bare LF.
UndoRecord ParseUndoRecord(std::string_view bytes);

}  // namespace services
