#include "fuzz/FuzzDecode.h"
#include "platform/imaging/decoders/IffDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return imaging::fuzz::Run(data, size, imaging::iff::Probe, imaging::iff::ReadHeader, imaging::iff::Decode);
}
