#include "lib/services/UndoRecord.h"

namespace services {

UndoRecord ParseUndoRecord(std::string_view bytes) {
    UndoRecord record;
    std::size_t start = 0;
    bool first = true;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        start = end + 1;
        if (first) record.header = line == kUndoHeader;
        first = false;
        if (line.size() < 4) continue;
        const std::string_view tag = line.substr(0, 4);
        const std::string rest(line.substr(4));
        if (tag == "~ex$") record.extension = rest;
        else if (tag == "~pn$") record.progId = rest;
        else if (tag == "~ct$") record.contentType = rest;
        else if (tag == "~fn$") record.description = rest;
        else if (tag == "~di$") record.icon = rest;
        else if (tag == "~ph$") record.command = rest;
        else if (tag == "~ac$") record.action = rest;
    }
    return record;
}

}  // namespace services
