#pragma once

#include <string_view>

namespace Module1 {

// An address that the link menus can open: it begins with "http://", "https://" or "mailto:", in any case.
// Links are added only where this holds.
bool IsWebLink(std::string_view address);

}  // namespace Module1
