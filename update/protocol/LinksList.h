#pragma once
// The imaging-sites list the links update writes for the browser's menu: one item a line, a web address,
// the marker "<name>" and the caption.

#include <string>
#include <string_view>
#include <vector>

namespace update::protocol {

// The lines of a text, split at CR LF, LF or CR, without trailing empty lines.
std::vector<std::string> SplitLines(std::string_view text);

// True when every non-empty line is "<web address><name><caption>" with a non-blank caption, so no line can
// put a local path or a command into the menu. An empty list is not valid.
bool IsValidLinksList(std::string_view text);

// Whether two lists hold the same items: their non-empty lines, whatever the line ends.
bool SameLines(std::string_view a, std::string_view b);

// The file's bytes: the lines joined with CR LF, a CR LF after the last.
std::string LinksFileText(std::string_view text);

}  // namespace update::protocol
