#include <span>

#include "platform/imaging/decoders/DecodeError.h"
#include "platform/imaging/decoders/MetafileStructure.h"

// A DecodeError is the answer to garbage; anything else (a crash, a sanitizer report, a timeout) is a finding.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        imaging::emf::CheckStructure(std::span<const std::uint8_t>(data, size));
    } catch (const imaging::DecodeError&) {
    }
    return 0;
}
