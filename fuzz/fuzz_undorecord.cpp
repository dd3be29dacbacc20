// An association undo record as it may be found in the user's folder: truncated, edited or foreign.
#include "lib/services/UndoRecord.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const services::UndoRecord record = services::ParseUndoRecord(bytes);
    if (record.header && !bytes.starts_with(services::kUndoHeader)) std::abort();
    for (const auto* field : {&record.extension, &record.progId, &record.contentType, &record.description,
                              &record.icon, &record.command, &record.action}) {
        if (*field && (*field)->find('\n') != std::string::npos) std::abort();
    }
    return 0;
}
