#pragma once
// What the server tests share: the server registered for the run from the test's folder, a recording
// message answerer, sample files, temporary folders and pictures made from and read back into pixels.

#include <windows.h>
#include <ocidl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "lib/comserver/ComPtr.h"
#include "platform/imaging/decoders/Image24.h"
#include "tests/support/TempFolder.h"

namespace imgbuf::test {

// The folder of the test program (no trailing separator).
std::string TestFolder();
// A sample of tests/lib/imgEditbuf/data, copied beside the test program.
std::string SamplePath(const std::string& name);

std::vector<std::uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
bool FileExists(const std::string& path);

// A binary PPM (P6, maxval 255) as top-down BGR rows.
imaging::Image24 ReadPpm(const std::string& path);

// The largest difference of any colour byte between two images of the same size; -1 when sizes differ.
int MaxDifference(const imaging::Image24& a, const imaging::Image24& b);

// The pixels of a bitmap picture; an empty image for a picture without a bitmap.
imaging::Image24 PixelsOf(IPictureDisp* picture);
// A bitmap picture holding the image.
comserver::ComPtr<IPictureDisp> PictureOf(const imaging::Image24& image);
OLE_HANDLE HandleOf(IPictureDisp* picture);

// The messages the server showed since the last Clear (answered with OK).
class Messages {
public:
    static void Clear();
    static std::vector<std::string> Shown();
};

using qvtest::TempFolder;

}  // namespace imgbuf::test
