#pragma once
// Helpers of the decoder tests: fixtures written byte by byte, sample files, pixels as 0xRRGGBB.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

#include "platform/imaging/decoders/Image24.h"

namespace imaging::test {

using Bytes = std::vector<std::uint8_t>;

// Appends fields in an explicit byte order, so a fixture reads like the format's layout.
class ByteWriter {
public:
    ByteWriter& U8(std::initializer_list<unsigned> values);
    ByteWriter& U8(unsigned value) { return U8({value}); }
    ByteWriter& Repeat(unsigned value, std::size_t count);
    ByteWriter& U16LE(unsigned value);
    ByteWriter& U16BE(unsigned value);
    ByteWriter& U32LE(std::uint32_t value);
    ByteWriter& U32BE(std::uint32_t value);
    ByteWriter& Text(const std::string& text);
    ByteWriter& Append(const Bytes& bytes);
    std::size_t Size() const { return bytes_.size(); }
    Bytes& Get() { return bytes_; }

private:
    Bytes bytes_;
};

// A picture's pixels, row by row, as 0xRRGGBB.
std::vector<std::uint32_t> Pixels(const Image24& image);

// Size and row layout as the DIB on the Windows side takes them: stride = (width * 3 + 3) & ~3.
void ExpectLayout(const Image24& image, std::uint32_t width, std::uint32_t height);

// A decoder's three entry points, as the component calls them.
struct Decoder {
    bool (*probe)(std::span<const std::uint8_t>) noexcept;
    ImageInfo (*readHeader)(std::span<const std::uint8_t>);
    Image24 (*decode)(std::span<const std::uint8_t>);
};

struct DecodeCase {
    const char* name;
    Bytes file;
    unsigned width, height;
    std::vector<std::uint32_t> pixels;
};

// Each file is recognised, its header gives the size, and it decodes to exactly the pixels.
void ExpectDecodes(const Decoder& decoder, const std::vector<DecodeCase>& cases);

struct RefusedCase {
    const char* name;
    Bytes file;
    const char* message;  // part of the DecodeError's text, which tells which check refused it
};

void ExpectRefused(const std::function<void(std::span<const std::uint8_t>)>& decode,
                   const std::vector<RefusedCase>& cases);

std::string DataPath(const std::string& name);
Bytes ReadFile(const std::string& path);

struct Ppm {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint32_t> pixels;  // 0xRRGGBB
};
Ppm ReadPpm(const std::string& path);

}  // namespace imaging::test
