#pragma once
// Whether text from the server may be handed to the shell as a web address.

#include <string_view>

namespace update::protocol {

// "http://" or "https://" (any case), a host, and no blank or control character anywhere. The Windows side
// also has the system parse it before use.
bool IsWebAddress(std::string_view text);

}  // namespace update::protocol
