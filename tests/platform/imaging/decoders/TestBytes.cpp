#include "TestBytes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "platform/imaging/decoders/DecodeError.h"

namespace imaging::test {

ByteWriter& ByteWriter::U8(std::initializer_list<unsigned> values) {
    for (const unsigned v : values) {
        bytes_.push_back(static_cast<std::uint8_t>(v));
    }
    return *this;
}

ByteWriter& ByteWriter::Repeat(unsigned value, std::size_t count) {
    bytes_.insert(bytes_.end(), count, static_cast<std::uint8_t>(value));
    return *this;
}

ByteWriter& ByteWriter::U16LE(unsigned value) { return U8({value & 0xFF, (value >> 8) & 0xFF}); }
ByteWriter& ByteWriter::U16BE(unsigned value) { return U8({(value >> 8) & 0xFF, value & 0xFF}); }

ByteWriter& ByteWriter::U32LE(std::uint32_t value) {
    return U16LE(value & 0xFFFF).U16LE(value >> 16);
}

ByteWriter& ByteWriter::U32BE(std::uint32_t value) {
    return U16BE(value >> 16).U16BE(value & 0xFFFF);
}

ByteWriter& ByteWriter::Text(const std::string& text) {
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    return *this;
}

ByteWriter& ByteWriter::Append(const Bytes& bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
}

std::vector<std::uint32_t> Pixels(const Image24& image) {
    std::vector<std::uint32_t> out;
    out.reserve(std::size_t{image.width} * image.height);
    for (std::uint32_t y = 0; y < image.height; ++y) {
        const std::uint8_t* row = image.Row(y);
        for (std::uint32_t x = 0; x < image.width; ++x) {
            out.push_back((std::uint32_t{row[x * 3 + 2]} << 16) | (std::uint32_t{row[x * 3 + 1]} << 8) |
                          row[x * 3]);
        }
    }
    return out;
}

void ExpectLayout(const Image24& image, std::uint32_t width, std::uint32_t height) {
    EXPECT_EQ(image.width, width);
    EXPECT_EQ(image.height, height);
    EXPECT_EQ(image.stride, (std::size_t{width} * 3 + 3) & ~std::size_t{3});
    EXPECT_EQ(image.pixels.size(), image.stride * height);
}

void ExpectDecodes(const Decoder& decoder, const std::vector<DecodeCase>& cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(decoder.probe(c.file));
        const ImageInfo info = decoder.readHeader(c.file);
        EXPECT_EQ(info.width, c.width);
        EXPECT_EQ(info.height, c.height);
        const Image24 image = decoder.decode(c.file);
        ExpectLayout(image, c.width, c.height);
        EXPECT_EQ(Pixels(image), c.pixels);
    }
}

void ExpectRefused(const std::function<void(std::span<const std::uint8_t>)>& decode,
                   const std::vector<RefusedCase>& cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            decode(c.file);
            ADD_FAILURE() << "not refused";
        } catch (const DecodeError& e) {
            EXPECT_THAT(e.what(), ::testing::HasSubstr(c.message));
        }
    }
}

std::string DataPath(const std::string& name) {
    const char* root = std::getenv("QV_SOURCE_DIR");
    if (root == nullptr) {
        throw std::runtime_error("QV_SOURCE_DIR is not set");
    }
    return std::string(root) + "/tests/platform/imaging/decoders/data/" + name;
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot open " + path);
    }
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Ppm ReadPpm(const std::string& path) {
    const Bytes bytes = ReadFile(path);
    // Binary PPM written by the tools: "P6\n<w> <h>\n255\n" then RGB.
    std::string head(bytes.begin(), bytes.begin() + std::min<std::size_t>(bytes.size(), 64));
    std::istringstream fields(head);
    std::string magic;
    unsigned maxval = 0;
    Ppm ppm;
    fields >> magic >> ppm.width >> ppm.height >> maxval;
    if (magic != "P6" || maxval != 255) {
        throw std::runtime_error("not a binary 8-bit PPM: " + path);
    }
    const std::size_t data = static_cast<std::size_t>(fields.tellg()) + 1;
    const std::size_t count = std::size_t{ppm.width} * ppm.height;
    if (bytes.size() < data + count * 3) {
        throw std::runtime_error("short PPM: " + path);
    }
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* p = bytes.data() + data + i * 3;
        ppm.pixels.push_back((std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2]);
    }
    return ppm;
}

}  // namespace imaging::test
