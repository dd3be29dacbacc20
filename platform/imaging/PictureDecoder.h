#pragma once
// The picture decoder the buffer library loads other formats through: a file path in, a picture object out.

#include <string>

#include "platform/imaging/Picture.h"
#include "platform/imaging/decoders/Image24.h"

namespace imaging {

class PictureDecoder {
public:
    // Raises error 429 when the system codecs behind it cannot be created.
    PictureDecoder();

    // Raises error 481 for a file that cannot be read or holds no picture of a supported format.
    ComPtr<IPictureDisp> LoadPicture(const std::string& path) const;
    Image24 LoadImage24(const std::string& path) const;
};

}  // namespace imaging
