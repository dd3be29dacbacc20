// Speed of the picture buffer against the platform: resampling against GDI's HALFTONE stretch and a plain
// copy, JPEG saving against the system encoder alone, our decoders against the system's PNG decoder.
// Each figure is the best of several runs.

#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "bench/Bench.h"
#include "lib/imgEditbuf/Messages.h"
#include "lib/imgEditbuf/cDIBSection.h"
#include "lib/imgEditbuf/clsImgEditCtlBuf.h"
#include "lib/imgEditbuf/resample/Resample.h"
#include "platform/imaging/ContentDecoder.h"
#include "platform/imaging/Picture.h"
#include "platform/imaging/Wic.h"
#include "platform/runtime/Strings.h"

namespace {

using bench::Best;

constexpr std::int32_t SourceWidth = 6000;
constexpr std::int32_t SourceHeight = 4000;
constexpr double SourceMegapixels = SourceWidth * double{SourceHeight} / 1e6;

void Row(const char* what, double seconds, double megapixels, double against) {
    std::printf("  %-44s %9.1f ms %9.1f MP/s", what, seconds * 1e3, megapixels / seconds);
    if (against > 0) std::printf("   x%.2f", against / seconds);
    std::printf("\n");
}

// Photo-like content: a smooth gradient with noise, so that nothing compresses or blends trivially.
void FillPhoto(std::uint8_t* bits, std::int32_t width, std::int32_t height, std::size_t stride) {
    std::mt19937 gen(42);
    std::normal_distribution<float> noise(0.0f, 18.0f);
    for (std::int32_t y = 0; y < height; ++y) {
        std::uint8_t* row = bits + y * stride;
        for (std::int32_t x = 0; x < width; ++x) {
            const float base[3] = {40.0f + 160.0f * x / width, 60.0f + 120.0f * y / height, 200.0f - 150.0f * x / width};
            for (int c = 0; c < 3; ++c) row[3 * x + c] = static_cast<std::uint8_t>(std::clamp(base[c] + noise(gen), 0.0f, 255.0f));
        }
    }
}

void BenchResample() {
    std::printf("Resample of %dx%d (megapixels of the source per second; x = times the speed of the row below)\n",
                SourceWidth, SourceHeight);
    imgbuf::cDIBSection source;
    if (!source.Create(SourceWidth, SourceHeight)) {
        std::printf("  no source buffer\n");
        return;
    }
    const auto stride = static_cast<std::size_t>(source.BytesPerScanLine());
    FillPhoto(source.DIBSectionBitsPtr(), SourceWidth, SourceHeight, stride);
    const std::size_t bytes = stride * SourceHeight;
    std::vector<std::uint8_t> copy(bytes);
    const double copyTime = Best(5, [&] { std::memcpy(copy.data(), source.DIBSectionBitsPtr(), bytes); });

    const std::pair<std::int32_t, std::int32_t> targets[] = {{1920, 1280}, {640, 427}};
    for (const auto& [width, height] : targets) {
        std::printf(" to %dx%d\n", width, height);
        imgbuf::cDIBSection halftone;
        halftone.Create(width, height);
        SetStretchBltMode(halftone.hdc(), HALFTONE);
        SetBrushOrgEx(halftone.hdc(), 0, 0, nullptr);
        const double gdi = Best(5, [&] {
            StretchBlt(halftone.hdc(), 0, 0, width, height, source.hdc(), 0, 0, SourceWidth, SourceHeight, SRCCOPY);
            GdiFlush();
        });
        imgbuf::cDIBSection target;
        target.Create(width, height);
        const imgbuf::ConstPixels in{source.DIBSectionBitsPtr(), SourceWidth, SourceHeight, stride};
        const imgbuf::Pixels out{target.DIBSectionBitsPtr(), width, height,
                                 static_cast<std::size_t>(target.BytesPerScanLine())};
        const double arithmetic = Best(5, [&] { imgbuf::ResampleBilinear(in, out); });
        const double whole = Best(5, [&] { source.Resample(height, width); });
        // The first result of a size: a new buffer's memory, touched for the first time.
        double fresh = 0;
        for (int run = 0; run < 5; ++run) {
            imgbuf::cDIBSection::FreeKeptBuffers();
            const double start = bench::Seconds();
            source.Resample(height, width);
            const double took = bench::Seconds() - start;
            fresh = run == 0 ? took : std::min(fresh, took);
        }
        imgbuf::cDIBSection plain;
        plain.Create(width, height);
        const imgbuf::Pixels plainOut{plain.DIBSectionBitsPtr(), width, height, out.stride};
        const double reference = Best(1, [&] { imgbuf::ResampleBilinearReference(in, plainOut); });
        const bool same = std::memcmp(target.DIBSectionBitsPtr(), plain.DIBSectionBitsPtr(), out.stride * height) == 0;

        Row("memcpy of the source bytes", copyTime, SourceMegapixels, 0);
        Row("StretchBlt HALFTONE", gdi, SourceMegapixels, 0);
        Row("cDIBSection.Resample (new buffer + blend)", whole, SourceMegapixels, gdi);
        Row("the same, first of its size (fresh memory)", fresh, SourceMegapixels, gdi);
        Row("resampling arithmetic alone", arithmetic, SourceMegapixels, gdi);
        Row("plain double arithmetic (the reference)", reference, SourceMegapixels, gdi);
        std::printf("  fast path byte-identical to the reference: %s\n", same ? "yes" : "NO");
    }
}

int __stdcall PrintMessage(const char* text, UINT) {
    std::printf("  message: %s\n", text);
    return IDOK;
}

bool WicJpegAlone(const std::string& path, const imaging::Image24& image) {
    using imaging::ComPtr;
    const ComPtr<IWICImagingFactory> factory = imaging::WicFactory();
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    if (FAILED(factory->CreateStream(&stream)) ||
        FAILED(stream->InitializeFromFilename(forms::ToWide(path).c_str(), GENERIC_WRITE)) ||
        FAILED(factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, &encoder)) ||
        FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(&frame, &options))) {
        return false;
    }
    PROPBAG2 option = {};
    option.pstrName = const_cast<LPOLESTR>(L"ImageQuality");
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_R4;
    value.fltVal = 0.75f;
    options->Write(1, &option, &value);
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    return SUCCEEDED(frame->Initialize(options.Get())) && SUCCEEDED(frame->SetSize(image.width, image.height)) &&
           SUCCEEDED(frame->SetPixelFormat(&format)) &&
           SUCCEEDED(frame->WritePixels(image.height, static_cast<UINT>(image.stride),
                                        static_cast<UINT>(image.pixels.size()),
                                        const_cast<BYTE*>(image.pixels.data()))) &&
           SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

// The bench file of make-files.sh (a binary PPM) as 24-bit BGR rows; nothing when it is not there or not one.
std::optional<imaging::Image24> ReadBenchPpm(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    std::uint32_t width = 0, height = 0, max = 0;
    if (!(in >> magic >> width >> height >> max) || magic != "P6" || max != 255 || width == 0 || height == 0)
        return std::nullopt;
    in.get();  // the one white-space byte before the pixels
    imaging::Image24 image = imaging::Image24::Allocate(width, height);
    std::vector<char> rgb(std::size_t{width} * 3);
    for (std::uint32_t y = 0; y < height; ++y) {
        if (!in.read(rgb.data(), static_cast<std::streamsize>(rgb.size()))) return std::nullopt;
        std::uint8_t* row = image.Row(y);
        for (std::size_t i = 0; i < rgb.size(); i += 3) {
            row[i] = static_cast<std::uint8_t>(rgb[i + 2]);
            row[i + 1] = static_cast<std::uint8_t>(rgb[i + 1]);
            row[i + 2] = static_cast<std::uint8_t>(rgb[i]);
        }
    }
    return image;
}

void BenchJpeg(const std::string& folder) {
    std::optional<imaging::Image24> file = ReadBenchPpm(folder + "\\bench.ppm");
    const bool fromFile = file.has_value();
    if (!fromFile) {
        file = imaging::Image24::Allocate(SourceWidth, SourceHeight);
        FillPhoto(file->pixels.data(), SourceWidth, SourceHeight, file->stride);
    }
    const imaging::Image24& image = *file;
    std::printf("SaveToJpeg of %ux%u (%s) at quality 75\n", image.width, image.height,
                fromFile ? "bench.ppm" : "made in memory: no bench.ppm in the folder");
    const auto picture = imaging::PictureFromBitmap(imaging::BitmapFromImage(image));
    imgbuf::clsImgEditCtlBuf buffer;
    const std::string ours = folder + "\\bench-ours.jpg";
    const std::string alone = folder + "\\bench-wic.jpg";
    // Taken in turns, so that a busy machine slows both alike.
    double wic = 1e30;
    double save = 1e30;
    for (int i = 0; i < 5; ++i) {
        wic = std::min(wic, Best(1, [&] { WicJpegAlone(alone, image); }));
        save = std::min(save, Best(1, [&] { buffer.SaveToJpeg(ours, picture.Get(), 75); }));
    }
    const double copy = Best(3, [&] {
        imgbuf::cDIBSection dib;
        dib.CreateFromPicture(picture.Get());
        GdiFlush();
    });
    const double megapixels = image.width * double{image.height} / 1e6;
    Row("WIC JPEG encoder alone", wic, megapixels, 0);
    Row("CreateFromPicture alone (the copy other bitmaps need)", copy, megapixels, 0);
    Row("SaveToJpeg (DIB section rows -> temp file -> replace)", save, megapixels, wic);
    std::printf("  SaveToJpeg takes %.2fx the time of the system's encoder alone (goal: at most 0.70x): %s\n", save / wic,
                save <= 0.7 * wic ? "met" : "NOT met");
    DeleteFileA(ours.c_str());
    DeleteFileA(alone.c_str());
}

std::vector<std::uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void BenchDecoders(const std::string& folder) {
    std::printf("Decoding the 24 MP files of %s (from memory; x = times the speed of WIC's PNG decoder)\n",
                folder.c_str());
    const std::vector<std::uint8_t> png = ReadAll(folder + "\\bench.png");
    if (png.empty()) {
        std::printf("  no files: run bench/make-files.sh first\n");
        return;
    }
    const double wicPng = Best(3, [&] { imaging::WicDecode(png); });
    Row("WIC PNG", wicPng, SourceMegapixels, 0);
    const char* files[] = {"bench.pcx", "bench.tga", "bench.pct", "bench.iff", "bench.eps", "bench.tif"};
    double pcx = 0;
    double tga = 0;
    for (const char* name : files) {
        const std::vector<std::uint8_t> bytes = ReadAll(folder + "\\" + name);
        if (bytes.empty()) continue;
        const double ours = Best(3, [&] { imaging::DecodeContent(bytes); });
        Row(name, ours, SourceMegapixels, wicPng);
        if (std::strcmp(name, "bench.pcx") == 0) pcx = ours;
        if (std::strcmp(name, "bench.tga") == 0) tga = ours;
    }
    if (pcx > 0 && tga > 0) std::printf("  the PCX decode takes %.2fx the time of the TGA decode\n", pcx / tga);
}

}  // namespace

void BenchFileList(const std::string& root);  // FileListBench.cpp
void BenchFolderTree(const std::string& root);  // FolderTreeBench.cpp
#ifdef QV_BENCH_UPDATE
void BenchUpdate();  // UpdateBench.cpp
#endif

int main(int argc, char** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    imgbuf::SetMessageAnswerer(&PrintMessage);
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string folder = argc > 1 ? argv[1] : temp;
    if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    // A second argument picks one group of rows: "resample", "jpeg" (JPEG saving), "lists" (the list and tree
    // rows) or "update" (the update program's downloads).
    const std::string only = argc > 2 ? argv[2] : "";
    if (!only.empty() && only != "resample" && only != "jpeg" && only != "lists" && only != "update") {
        std::printf("usage: qv_bench [DIR [resample|jpeg|lists|update]]\n");
        return 2;
    }
    if (only.empty() || only == "resample") BenchResample();
    if (only.empty() || only == "jpeg") BenchJpeg(folder);
    if (only.empty()) BenchDecoders(folder);
    if (only.empty() || only == "lists") {
        BenchFileList(folder);
        BenchFolderTree(folder);
    }
#ifdef QV_BENCH_UPDATE
    if (only.empty() || only == "update") BenchUpdate();
#endif
    CoUninitialize();
    return 0;
}
