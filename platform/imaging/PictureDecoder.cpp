#include "platform/imaging/PictureDecoder.h"

#include <windows.h>

#include <vector>

#include "platform/runtime/WholeFile.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/imaging/ContentDecoder.h"
#include "platform/imaging/Wic.h"
#include "platform/imaging/decoders/DecodeError.h"

namespace imaging {
namespace {

// No picture file we read is larger; a bigger one is refused before anything is allocated for it.
constexpr std::uint64_t MaxFileBytes = std::uint64_t{1} << 30;

// The callers know one failure for a picture that cannot be read: 481, whatever the file error was.
std::vector<std::uint8_t> ReadPictureFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    try {
        bytes = forms::ReadWholeFileBytes(path, MaxFileBytes);
    } catch (const forms::RuntimeError&) {
        throw forms::RuntimeError(forms::err::InvalidPicture);
    }
    if (bytes.empty()) throw forms::RuntimeError(forms::err::InvalidPicture);
    return bytes;
}

}  // namespace

PictureDecoder::PictureDecoder() {
    WicFactory();  // raises 429 when the codecs are missing
}

Image24 PictureDecoder::LoadImage24(const std::string& path) const {
    const std::vector<std::uint8_t> bytes = ReadPictureFile(path);
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
