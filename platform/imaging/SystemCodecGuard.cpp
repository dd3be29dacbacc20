#include "platform/imaging/SystemCodecGuard.h"

#include <cstdint>
#include <vector>

#include "platform/imaging/decoders/DecodeError.h"
#include "platform/imaging/decoders/SystemCodecCheck.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/WholeFile.h"

namespace imaging {

void RequireSafeForSystemCodec(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    try {
        bytes = forms::ReadWholeFileBytes(path);
    } catch (const forms::RuntimeError&) {
        return;  // the loader's own read reports it
    }
    try {
        CheckBeforeSystemCodec(bytes);
    } catch (const DecodeError&) {
        throw forms::RuntimeError(forms::err::InvalidPicture);
    }
}

}  // namespace imaging
