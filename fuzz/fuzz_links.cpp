// The links update's path over a server answer: field-list decoding, then the line check.
#include "update/protocol/LinksList.h"
#include "update/protocol/NumberList.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    if (const auto text = update::protocol::DecodeFieldList(body)) {
        if (update::protocol::IsValidLinksList(*text)) (void)update::protocol::LinksFileText(*text);
    }
    (void)update::protocol::IsValidLinksList(body);
    (void)update::protocol::SameLines(body, "http://a.example/<name>A\r\n");
    return 0;
}
