#pragma once
// The one failure of the portable decoders: the input is not a picture we can read. The text is short and
// technical (for logs and tests); the component layer turns it into "Invalid picture" (481).

#include <stdexcept>

namespace imaging {

class DecodeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace imaging
