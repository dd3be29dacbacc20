#include "main/core/PictureDecoders.h"

#include "platform/imaging/SystemCodecGuard.h"
#include "platform/imaging/Wic.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Strings.h"

#include <windows.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <array>
#include <utility>

namespace Module1 {

using Microsoft::WRL::ComPtr;

std::string PictureExtension(std::string_view fileName) {
    const auto dot = fileName.find_last_of('.');
    if (dot == std::string_view::npos) return {};
    return forms::LCase(fileName.substr(dot + 1));
}

PictureDecoder DecoderFor(std::string_view fileName) {
    static constexpr std::array<std::pair<std::string_view, PictureDecoder>, 19> kDecoders{{
        {"bmp", PictureDecoder::System}, {"dib", PictureDecoder::System}, {"rle", PictureDecoder::System},
        {"wmf", PictureDecoder::System}, {"emf", PictureDecoder::System}, {"ico", PictureDecoder::System},
        {"cur", PictureDecoder::System}, {"gif", PictureDecoder::Gif},    {"jpg", PictureDecoder::Jpeg},
        {"jpeg", PictureDecoder::Jpeg},  {"jpe", PictureDecoder::Jpeg},   {"pcx", PictureDecoder::Pcx},
        {"eps", PictureDecoder::OtherFormats}, {"png", PictureDecoder::OtherFormats},
        {"tga", PictureDecoder::OtherFormats}, {"pct", PictureDecoder::OtherFormats},
        {"tif", PictureDecoder::OtherFormats}, {"tiff", PictureDecoder::OtherFormats},
        {"iff", PictureDecoder::OtherFormats},
    }};
    const std::string extension = PictureExtension(fileName);
    for (const auto& [name, decoder] : kDecoders) {
        if (name == extension) return decoder;
    }
    return PictureDecoder::None;
}

std::string FileTypeText(std::string_view extension, bool gif87a) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 18> kTypes{{
        {"jpg", "Jpeg File"}, {"jpeg", "Jpeg File"}, {"jpe", "Jpeg File"},
        {"bmp", "Bitmap File"}, {"dib", "Bitmap File"}, {"rle", "Bitmap File"},
        {"emf", "MetaFile"}, {"wmf", "MetaFile"}, {"ico", "Icon File"}, {"cur", "Cursor"},
        {"png", "Portable Network Graphics"}, {"pct", "Mac PICT format"}, {"tga", "TGA File"},
        {"iff", "TIFF File"}, {"tif", "TIFF File"}, {"tiff", "TIFF File"}, {"eps", "EPS Preview"},
        {"pcx", "Zsoft Paint"},
    }};
    if (extension == "gif") return gif87a ? "GIF File (87a)" : "GIF File (89a)";
    for (const auto& [name, text] : kTypes) {
        if (name == extension) return std::string(text);
    }
    return {};
}

std::string FileSizeText(std::int64_t bytes) {
    if (bytes < 1024) return std::to_string(bytes) + " Bytes";
    return std::to_string(bytes / 1024) + "Kb";
}

bool IsGif89a(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    char signature[6] = {};
    DWORD read = 0;
    const BOOL ok = ReadFile(file, signature, sizeof signature, &read, nullptr);
    CloseHandle(file);
    return ok && read == sizeof signature && forms::TextEquals(std::string_view(signature, 6), "gif89a");
}

forms::StdPicture LoadSystemPicture(const std::string& path) {
    imaging::RequireSafeForSystemCodec(path);
    return forms::LoadPicture(path);
}

forms::StdPicture LoadJpegPicture(const std::string& path) {
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        throw forms::RuntimeError(forms::err::FileNotFound);
    }
    const ComPtr<IWICImagingFactory> factory = imaging::WicFactory();
    const std::wstring widePath = forms::ToWide(path);
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    GUID container{};
    UINT width = 0;
    UINT height = 0;
    // Only a JPEG is read here, whatever else the system's codecs know.
    if (FAILED(factory->CreateDecoderFromFilename(widePath.c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, &decoder)) ||
        FAILED(decoder->GetContainerFormat(&container)) || container != GUID_ContainerFormatJpeg ||
        FAILED(decoder->GetFrame(0, &frame)) || FAILED(frame->GetSize(&width, &height)) || width == 0 ||
        height == 0 || width > 0x7FFF'FFFF / 4 || height > 0x7FFF'FFFF) {
        throw forms::RuntimeError(forms::err::InvalidPicture);
    }
    const UINT stride = (width * 3 + 3) & ~3u;
    if (static_cast<unsigned long long>(stride) * height > 0xFFFF'FFFFull) {
        throw forms::RuntimeError(forms::err::CannotDrawPicture);
    }
    // Top-down, so that the codec's rows land in the bitmap in order.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) throw forms::RuntimeError(forms::err::CannotDrawPicture);
    forms::StdPicture picture = forms::StdPicture::FromBitmap(bitmap);
    BYTE* const rows = static_cast<BYTE*>(bits);
    const auto row = [rows, stride](std::uint32_t y) { return rows + std::size_t{y} * stride; };
    if (!imaging::WicCopyBgr24(frame.Get(), row)) {
        throw forms::RuntimeError(forms::err::InvalidPicture);
    }
    return picture;
}

}  // namespace Module1
