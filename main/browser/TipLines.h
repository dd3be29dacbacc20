#pragma once
// The tips file's lines: a carriage return ends a line and a line feed right after it is skipped; a line feed
// elsewhere is text; nothing is trimmed; the last line needs no end. Portable.

#include <string>
#include <string_view>
#include <vector>

namespace browser {

std::vector<std::string> TipLines(std::string_view bytes);

// Int(r * n + 1) in double precision: 1..n for 0 <= r < 1, and 1 for n = 0.
int TipPick(float r, std::size_t n);

}  // namespace browser
