#pragma once
// The JPEG codec library the buffer module drives: one properties record per call, initialised by ijlInit
// and released by ijlFree, a parameter read, a whole-image read into a 24-bit BGR buffer and a whole-image
// write from one. Reads through the system's JPEG decoder, writes through libjpeg-turbo (JpegWriter.h).

#include <cstdint>
#include <memory>

namespace imaging {

// What ijlRead and ijlWrite are asked to do.
enum IjlJob : std::int32_t {
    IjlReadParams = 0,  // the file's header: JPGWidth, JPGHeight, JPGChannels
    IjlReadWhole = 2,   // the whole image into DIBBytes
    IjlWriteWhole = 8,  // the whole image from DIBBytes into JPGFile
};

// Results: 0 is success, every failure is negative.
enum IjlResult : std::int32_t {
    IjlOk = 0,
    IjlBadArgument = -1,
    IjlNotInitialised = -2,
    IjlNoCodec = -3,
    IjlOpenFailed = -4,
    IjlNotJpeg = -5,
    IjlTooLarge = -6,
    IjlDecodeFailed = -7,
    IjlEncodeFailed = -8,
};

enum class IjlColour : std::int32_t { Bgr = 1 };

struct IjlSession;  // the decoder between a parameter read and the image read

struct JpegCoreProperties {
    // The buffer side. A negative DIBHeight means the rows are stored bottom-up (the first row in memory is
    // the picture's last); a positive one, top-down. Each row is DIBWidth * DIBChannels bytes plus
    // DIBPadBytes.
    std::uint8_t* DIBBytes = nullptr;
    std::int32_t DIBWidth = 0;
    std::int32_t DIBHeight = 0;
    std::int32_t DIBPadBytes = 0;
    std::int32_t DIBChannels = 0;
    IjlColour DIBColor = IjlColour::Bgr;

    // The file side.
    const char* JPGFile = nullptr;  // NUL-terminated, ANSI code page
    std::int32_t JPGWidth = 0;
    std::int32_t JPGHeight = 0;
    std::int32_t JPGChannels = 0;
    std::int32_t jquality = 0;      // the encoder's 1..100; values outside are taken as the nearest end

    std::shared_ptr<IjlSession> session;  // set by ijlInit, dropped by ijlFree
};

std::int32_t ijlInit(JpegCoreProperties* props);
std::int32_t ijlFree(JpegCoreProperties* props);
std::int32_t ijlRead(JpegCoreProperties* props, std::int32_t job);
std::int32_t ijlWrite(JpegCoreProperties* props, std::int32_t job);

}  // namespace imaging
