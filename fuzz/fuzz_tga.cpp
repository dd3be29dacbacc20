#include "fuzz/FuzzDecode.h"
#include "platform/imaging/decoders/TgaDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return imaging::fuzz::Run(data, size, imaging::tga::Probe, imaging::tga::ReadHeader, imaging::tga::Decode);
}
