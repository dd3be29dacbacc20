// The JPEG writer read back by ImageMagick, an outside decoder: the quality it estimates from the file's
// tables, the sampling, the marker of a baseline frame, the size and the pixels.
#include "platform/imaging/JpegWriter.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace imaging {
namespace {

struct Picture {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> bgr;  // top-down, no padding
    const std::uint8_t* Row(std::uint32_t y) const { return bgr.data() + std::size_t{y} * width * 3; }
};

// A gradient with a fixed pseudo-random grain in the brightness alone: detail that each step of quality keeps
// more of, while the colour stays smooth enough for halved colour resolution.
Picture Photo(std::uint32_t width, std::uint32_t height) {
    Picture p{width, height, std::vector<std::uint8_t>(std::size_t{width} * height * 3)};
    std::uint32_t seed = 12345;
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            seed = seed * 1103515245u + 12345u;
            const int grain = static_cast<int>((seed >> 16) % 41) - 20;
            const int base = 40 + static_cast<int>(150 * (x + y) / (width + height));
            std::uint8_t* px = p.bgr.data() + (std::size_t{y} * width + x) * 3;
            px[0] = static_cast<std::uint8_t>(std::clamp(base + grain + 30, 0, 255));
            px[1] = static_cast<std::uint8_t>(std::clamp(base + grain, 0, 255));
            px[2] = static_cast<std::uint8_t>(std::clamp(base + grain - 20, 0, 255));
        }
    }
    return p;
}

class Folder {
public:
    Folder() : path_(std::filesystem::temp_directory_path() / ("qv-jpegwriter-" + std::to_string(getpid()))) {
        std::filesystem::create_directories(path_);
    }
    ~Folder() { std::filesystem::remove_all(path_); }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

std::vector<std::uint8_t> Encode(const Picture& p, std::int32_t quality) {
    std::vector<std::uint8_t> out;
    const bool done = EncodeJpeg({p.width, p.height, quality}, [&p](std::uint32_t y) { return p.Row(y); },
                                 [&out](std::span<const std::uint8_t> bytes) {
                                     out.insert(out.end(), bytes.begin(), bytes.end());
                                     return true;
                                 });
    EXPECT_TRUE(done);
    return out;
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

// What the command printed on its standard output; a failed command fails the test.
std::string Run(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        ADD_FAILURE() << "cannot run " << command;
        return out;
    }
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    EXPECT_EQ(pclose(pipe), 0) << command;
    return out;
}

std::string Identify(const std::string& path, const std::string& format) {
    return Run("identify -format '" + format + "' '" + path + "'");
}

// The file as ImageMagick decodes it, in BGR order like the source; an empty picture when it cannot.
Picture DecodedByImageMagick(const std::string& path) {
    const std::string ppm = Run("convert '" + path + "' -depth 8 ppm:-");
    unsigned width = 0, height = 0, max = 0;
    int used = 0;
    if (std::sscanf(ppm.c_str(), "P6 %u %u %u%n", &width, &height, &max, &used) != 3 || max != 255) return {};
    Picture p{width, height, std::vector<std::uint8_t>(std::size_t{width} * height * 3)};
    const std::size_t start = static_cast<std::size_t>(used) + 1;
    if (ppm.size() < start + p.bgr.size()) return {};
    for (std::size_t i = 0; i < p.bgr.size(); i += 3) {
        p.bgr[i] = static_cast<std::uint8_t>(ppm[start + i + 2]);
        p.bgr[i + 1] = static_cast<std::uint8_t>(ppm[start + i + 1]);
        p.bgr[i + 2] = static_cast<std::uint8_t>(ppm[start + i]);
    }
    return p;
}

// Peak signal-to-noise ratio in dB over every channel; -1 when the sizes differ.
double Psnr(const Picture& a, const Picture& b) {
    if (a.width != b.width || a.height != b.height || a.bgr.size() != b.bgr.size()) return -1;
    double squares = 0;
    for (std::size_t i = 0; i < a.bgr.size(); ++i) {
        const double d = static_cast<double>(a.bgr[i]) - static_cast<double>(b.bgr[i]);
        squares += d * d;
    }
    const double mse = squares / static_cast<double>(a.bgr.size());
    return mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

bool HasBaselineFrame(const std::vector<std::uint8_t>& bytes) {
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) return true;
    return false;
}

TEST(JpegWriter, TheQualityAskedIsTheQualityAnOutsideDecoderReads) {
    struct Row {
        std::int32_t quality;
        double minPsnr;  // against the source, as ImageMagick decodes the file
    };
    const Row rows[] = {{1, 17}, {20, 25}, {50, 27}, {75, 29}, {90, 35}, {100, 45}};
    const Folder folder;
    const Picture source = Photo(96, 64);
    std::size_t previousSize = 0;
    double previousPsnr = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.quality);
        const std::vector<std::uint8_t> bytes = Encode(source, row.quality);
        const std::string path = folder / ("q" + std::to_string(row.quality) + ".jpg");
        WriteFile(path, bytes);
        const int read = std::stoi("0" + Identify(path, "%Q"));
        EXPECT_NEAR(read, row.quality, 2);
        EXPECT_EQ(Identify(path, "%[jpeg:sampling-factor]"), "2x2,1x1,1x1") << "4:2:0";
        EXPECT_TRUE(HasBaselineFrame(bytes));
        EXPECT_GT(bytes.size(), previousSize) << "a higher quality makes a larger file";
        const double psnr = Psnr(DecodedByImageMagick(path), source);
        EXPECT_GE(psnr, row.minPsnr) << "PSNR " << psnr;
        EXPECT_GT(psnr, previousPsnr);
        previousSize = bytes.size();
        previousPsnr = psnr;
    }
}

// Sizes that are not whole blocks, a single pixel and a long thin strip: the edges are padded inside the
// encoder, never read past the rows given.
TEST(JpegWriter, OddSizesComeBackWhole) {
    const Folder folder;
    for (const auto& [width, height] : {std::pair{1u, 1u}, std::pair{17u, 9u}, std::pair{6001u, 3u}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        const Picture source = Photo(width, height);
        const std::string path = folder / "odd.jpg";
        WriteFile(path, Encode(source, 95));
        EXPECT_GE(Psnr(DecodedByImageMagick(path), source), 30);
    }
}

TEST(JpegWriter, WhatCannotBeWrittenFails) {
    const Picture source = Photo(40, 40);
    const auto rows = [&source](std::uint32_t y) { return source.Row(y); };
    int calls = 0;
    const auto counted = [&calls](std::span<const std::uint8_t>) { return ++calls > 0; };
    for (const JpegRequest& request : {JpegRequest{0, 4, 75}, JpegRequest{4, 0, 75}, JpegRequest{65501, 1, 75},
                                       JpegRequest{1, 65501, 75}}) {
        EXPECT_FALSE(EncodeJpeg(request, rows, counted)) << request.width << "x" << request.height;
    }
    EXPECT_EQ(calls, 0) << "nothing handed out for a refused size";
    // A sink that fails (a full disk) ends the encoding with a failure at its first piece: the last, short one
    // of a small picture, or a full one of a large one.
    for (const Picture& picture : {Photo(40, 40), Photo(1200, 800)}) {
        calls = 0;
        EXPECT_FALSE(EncodeJpeg({picture.width, picture.height, 100}, [&picture](std::uint32_t y) { return picture.Row(y); },
                                [&calls](std::span<const std::uint8_t>) { return ++calls < 0; }))
            << picture.width;
        EXPECT_EQ(calls, 1) << picture.width;
    }
}

}  // namespace
}  // namespace imaging
