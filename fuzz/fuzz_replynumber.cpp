// A reply header's number as a server sends it: read back, it must be the digits it was written as.
#include "platform/inet/ReplyNumber.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto number = inet::ParseLength(text);
    if (!number) return 0;
    const std::size_t digits = text.find_first_not_of('0');
    const std::string significant = digits == std::string::npos ? "0" : text.substr(digits);
    if (std::to_string(*number) != significant) std::abort();
    return 0;
}
