#include <cstdlib>
#include <span>

#include "platform/imaging/decoders/DecodeError.h"
#include "platform/imaging/decoders/EpsPreview.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    static_cast<void>(imaging::eps::Probe(bytes));
    try {
        const auto preview = imaging::eps::FindPreview(bytes);
        // The preview lies inside the file, where its offset says.
        if (preview.offset + preview.length > size || preview.bytes.data() != data + preview.offset ||
            preview.bytes.size() != preview.length) {
            std::abort();
        }
    } catch (const imaging::DecodeError&) {
    }
    return 0;
}
