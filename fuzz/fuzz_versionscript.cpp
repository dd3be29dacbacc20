// The version check's whole path over a server answer: number-list decoding, then the script parser.
#include "update/protocol/NumberList.h"
#include "update/protocol/VersionScript.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    if (const auto script = update::protocol::DecodeVersionList(body)) {
        (void)update::protocol::ParseVersionScript(*script, {3, 0, 5});
    }
    // The parser also on raw text, which reaches markers the encoding rarely forms.
    (void)update::protocol::ParseVersionScript(body, {0, 0, 0});
    return 0;
}
