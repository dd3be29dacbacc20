#include "platform/imaging/PictureDecoder.h"

#include <windows.h>

#include <vector>

#include "platform/runtime/OwnedHandles.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/imaging/ContentDecoder.h"
#include "platform/imaging/Wic.h"
#include "platform/imaging/decoders/DecodeError.h"

namespace imaging {
namespace {

// No picture file we read is larger; a bigger one is refused before anything is allocated for it.
constexpr std::uint64_t MaxFileBytes = std::uint64_t{1} << 30;

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
    const forms::UniqueKernelHandle file(forms::NullIfInvalid(CreateFileA(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)));
    LARGE_INTEGER size = {};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 ||
        static_cast<std::uint64_t>(size.QuadPart) > MaxFileBytes) {
        throw forms::RuntimeError(forms::err::InvalidPicture);
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        const auto want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
        if (!ReadFile(file.get(), bytes.data() + done, want, &got, nullptr) || got == 0) {
            throw forms::RuntimeError(forms::err::InvalidPicture);
        }
        done += got;
    }
    return bytes;
}

}  // namespace

PictureDecoder::PictureDecoder() {
    WicFactory();  // raises 429 when the codecs are missing
}

Image24 PictureDecoder::LoadImage24(const std::string& path) const {
    const std::vector<std::uint8_t> bytes = ReadWholeFile(path);
    try {
        return DecodeContent(bytes);
    } catch (const DecodeError&) {
        throw forms::RuntimeError(forms::err::InvalidPicture);
    }
}

ComPtr<IPictureDisp> PictureDecoder::LoadPicture(const std::string& path) const {
    const Image24 image = LoadImage24(path);
    return PictureFromBitmap(BitmapFromImage(image));
}

}  // namespace imaging
