#include "fuzz/FuzzDecode.h"
#include "platform/imaging/decoders/PcxDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return imaging::fuzz::Run(data, size, imaging::pcx::Probe, imaging::pcx::ReadHeader, imaging::pcx::Decode);
}
