#include "platform/imaging/decoders/IconStructure.h"

#include <gtest/gtest.h>

#include "TestBytes.h"

namespace imaging::test {
namespace {

struct Entry {
    std::uint32_t size;
    std::uint32_t offset;
};

// A directory of `type` (1 icon, 2 cursor) with the entries as given, then `images`.
Bytes Icon(unsigned type, const std::vector<Entry>& entries, const Bytes& images) {
    ByteWriter w;
    w.U16LE(0).U16LE(type).U16LE(static_cast<unsigned>(entries.size()));
    for (const Entry& e : entries) w.U8({16, 16, 0, 0}).U16LE(1).U16LE(32).U32LE(e.size).U32LE(e.offset);
    return w.Append(images).Get();
}

const Bytes kBitmap = ByteWriter().U32LE(40).Repeat(0, 36).Get();
const Bytes kPng = ByteWriter().U8({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}).Repeat(0, 8).Get();

TEST(IconStructure, AcceptsImagesWithinTheFile) {
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"icon, bitmap image", Icon(1, {{40, 22}}, kBitmap)},
        {"cursor, PNG image", Icon(2, {{16, 22}}, kPng)},
        {"two images, the last to the end", Icon(1, {{40, 38}, {16, 78}}, ByteWriter().Append(kBitmap).Append(kPng).Get())},
    };
    for (const auto& [name, file] : cases) {
        SCOPED_TRACE(name);
        EXPECT_NO_THROW(icon::CheckStructure(file));
    }
}

TEST(IconStructure, RefusesWhatTheSystemLoadersMustNotSee) {
    const std::vector<RefusedCase> cases = {
        // The system's cursor loader reads as far as this size says.
        {"a cursor image's size beyond the file", Icon(2, {{0xFFFFFFFF, 22}}, kBitmap), "outside the file"},
        {"one byte beyond", Icon(1, {{41, 22}}, kBitmap), "outside the file"},
        {"an offset beyond the file", Icon(2, {{40, 0x7FFFFFF0}}, kBitmap), "outside the file"},
        {"an offset inside the directory", Icon(1, {{16, 6}}, kBitmap), "outside the file"},
        {"an empty image", Icon(1, {{0, 22}}, kBitmap), "outside the file"},
        {"more entries than the file holds", ByteWriter().U16LE(0).U16LE(2).U16LE(65535).Repeat(0, 32).Get(),
         "truncated icon directory"},
        {"no entries", Icon(1, {}, {}), "no icon image"},
        {"another type", Icon(3, {{40, 22}}, kBitmap), "no icon directory"},
        {"directory cut", {0, 0, 1}, "icon directory"},
        {"a bitmap header larger than its image", Icon(1, {{40, 22}}, ByteWriter().U32LE(0x7FFFFFFF).Repeat(0, 36).Get()),
         "icon bitmap header"},
        {"a bitmap header too small", Icon(1, {{40, 22}}, ByteWriter().U32LE(4).Repeat(0, 36).Get()), "icon bitmap header"},
    };
    ExpectRefused([](std::span<const std::uint8_t> bytes) { icon::CheckStructure(bytes); }, cases);
}

}  // namespace
}  // namespace imaging::test
