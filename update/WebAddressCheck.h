#pragma once
// Whether an address from the update server may be handed to the shell: a web address by our own rule and
// by the system's parser.

#include <string>

namespace update {

bool IsUsableWebAddress(const std::string& address);

}  // namespace update
