#pragma once
// The server's files carry Windows-1252 character codes; the program's text is UTF-8.

#include <string>
#include <string_view>

namespace update::protocol {

// One Windows-1252 code (0-255) appended to `out` as UTF-8. The five codes 1252 leaves undefined map to the
// control characters of the same number, as the system's own conversion does.
void AppendCp1252(std::string& out, unsigned char code);
std::string Cp1252ToUtf8(std::string_view bytes);

}  // namespace update::protocol
