#pragma once
// Which decoder reads a picture file, told by its extension, and the picture kinds' names. The main window's
// loader and the full-screen viewer choose alike.

#include "platform/forms/StdPicture.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace Module1 {

enum class PictureDecoder {
    // The system picture loader: bitmaps (also run-length encoded), metafiles, icons, cursors.
    System,
    // The system picture loader, then the file's signature tells the GIF kind.
    Gif,
    // The system imaging codec, straight into a 24-bit bitmap.
    Jpeg,
    // The picture buffer library's PCX decoder (LoadImage).
    Pcx,
    // The picture buffer library's other formats (LoadOtherImage): eps, png, tga, pct, tif, tiff, iff.
    OtherFormats,
    // No decoder reads it.
    None,
};

// The text after the last dot of a file name, in lower case ("" without a dot).
std::string PictureExtension(std::string_view fileName);
PictureDecoder DecoderFor(std::string_view fileName);

// The status bar's name of a picture kind by extension; "" when the extension has none.
std::string FileTypeText(std::string_view extension, bool gif87a);

// "1023 Bytes" below 1024 bytes, else whole kilobytes ("1Kb").
std::string FileSizeText(std::int64_t bytes);

// True when the file begins with the signature "GIF89a" (any case).
bool IsGif89a(const std::string& path);

// The system picture loader, once our own structure check has accepted the file: 481 when it refuses it.
forms::StdPicture LoadSystemPicture(const std::string& path);

// A JPEG file decoded into a 24-bit bitmap of its pixel size. 53 when it is missing, 481 when it is no JPEG
// the system can read, 480 when there is no memory for the bitmap, 429 without the system's codecs.
forms::StdPicture LoadJpegPicture(const std::string& path);

}  // namespace Module1
