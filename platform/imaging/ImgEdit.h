#pragma once
// The imaging edit control the buffer library loads PCX and saves TIFF through: it holds one current image,
// shown from a file or pasted in as a picture, hands a region of it out as a picture and saves it as TIFF.
// It never goes through the clipboard.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/imaging/Picture.h"
#include "platform/imaging/PictureDecoder.h"
#include "platform/imaging/decoders/Image24.h"

namespace imaging {

class ImgEdit {
public:
    // The file the next Display reads.
    void SetImage(std::string path) { path_ = std::move(path); }
    // Makes the file (or the image pasted since) the current image; error 481 when it cannot be read.
    void Display();
    // Size of the current image in pixels (0 without one).
    std::int32_t ImageWidth() const noexcept;
    std::int32_t ImageHeight() const noexcept;
    // A region of the current image as a new bitmap picture; error 481 without an image or for a region
    // that does not lie in it.
    ComPtr<IPictureDisp> CopyImage(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) const;
    // Takes a bitmap picture as the current image.
    void Paste(IPictureDisp* picture);
    // Writes the current image as a TIFF file; error 481 without an image, 75 (path/file access) when the
    // file cannot be written.
    void SaveAs(const std::string& path) const;

private:
    std::string path_;
    std::optional<Image24> pasted_;
    std::optional<Image24> current_;
};

}  // namespace imaging
