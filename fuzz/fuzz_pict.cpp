#include "fuzz/FuzzDecode.h"
#include "platform/imaging/decoders/PictDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return imaging::fuzz::Run(data, size, imaging::pict::Probe, imaging::pict::ReadHeader, imaging::pict::Decode);
}
