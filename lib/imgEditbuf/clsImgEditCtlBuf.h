#pragma once
// Loading pictures of the formats the system's own loader does not read, and saving as TIFF and JPEG.

#include <cstdint>
#include <string>

#include "platform/imaging/Picture.h"

namespace imgbuf {

class clsImgEditCtlBuf {
public:
    // PCX through the imaging edit control; never raises: an empty picture when anything fails.
    imaging::ComPtr<IPictureDisp> LoadImage(const std::string& path);
    // Through the picture decoder: error 481 for a file it cannot read, 429 when it cannot be created.
    imaging::ComPtr<IPictureDisp> LoadOtherImage(const std::string& path);
    // Writes the picture to path\filename as TIFF; errors pass to the caller.
    void SavetoTIFF(IPictureDisp* picture, const std::string& path, const std::string& filename);
    // False for an empty file name, a picture that gives no buffer, or a failed write.
    bool SaveToJpeg(const std::string& pathFileName, IPictureDisp* picture, std::int32_t quality);
    // The JPEG file as a picture; fail is set when it could not be read.
    imaging::ComPtr<IPictureDisp> LoadJPGFile(const std::string& fqPath, bool& fail);
};

}  // namespace imgbuf
