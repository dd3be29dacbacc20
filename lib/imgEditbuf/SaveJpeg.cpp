#include "lib/imgEditbuf/SaveJpeg.h"

#include "lib/imgEditbuf/Messages.h"
#include "platform/imaging/Ijl.h"

namespace imgbuf {
namespace {

constexpr UINT Exclamation = MB_OK | MB_ICONEXCLAMATION;

// One record per call, released on every path once it was initialised.
class Properties {
public:
    Properties() : code_(imaging::ijlInit(&props_)) {}
    Properties(const Properties&) = delete;
    Properties& operator=(const Properties&) = delete;
    ~Properties() {
        if (code_ == imaging::IjlOk) imaging::ijlFree(&props_);
    }
    std::int32_t InitCode() const noexcept { return code_; }
    imaging::JpegCoreProperties* operator->() noexcept { return &props_; }
    imaging::JpegCoreProperties* Get() noexcept { return &props_; }

private:
    imaging::JpegCoreProperties props_{};
    std::int32_t code_;
};

bool Initialised(const Properties& props) {
    if (props.InitCode() == imaging::IjlOk) return true;
    ShowMessage("Failed to initialise the IJL library: " + std::to_string(props.InitCode()), Exclamation);
    return false;
}

// The buffer's rows are bottom-up: the codec is told so by the negative height.
void DescribeBuffer(Properties& props, const cDIBSection& buffer) {
    props->DIBWidth = buffer.Width();
    props->DIBHeight = -buffer.Height();
    props->DIBBytes = buffer.DIBSectionBitsPtr();
    props->DIBPadBytes = buffer.BytesPerScanLine() - 3 * buffer.Width();
}

}  // namespace

bool LoadJPG(cDIBSection& buffer, const std::string& path) {
    Properties props;
    if (!Initialised(props)) return false;
    props->JPGFile = path.c_str();
    if (imaging::ijlRead(props.Get(), imaging::IjlReadParams) != imaging::IjlOk) {
        ShowMessage("Failed to read JPG", Exclamation);
        return false;
    }
    if (!buffer.Create(props->JPGWidth, props->JPGHeight)) return false;
    DescribeBuffer(props, buffer);
    props->DIBChannels = 3;
    if (imaging::ijlRead(props.Get(), imaging::IjlReadWhole) != imaging::IjlOk) {
        ShowMessage("Cannot read Image Data from file.", Exclamation);
        return false;
    }
    return true;
}

bool SaveJPG(cDIBSection& buffer, const std::string& path, std::int32_t quality) {
    Properties props;
    if (!Initialised(props)) return false;
    GdiFlush();  // drawing into the buffer must land before the codec reads its bytes
    DescribeBuffer(props, buffer);
    props->JPGFile = path.c_str();
    props->JPGWidth = buffer.Width();
    props->JPGHeight = buffer.Height();
    props->jquality = quality;
    if (imaging::ijlWrite(props.Get(), imaging::IjlWriteWhole) != imaging::IjlOk) {
        ShowMessage("Failed to save to JPG", Exclamation);
        return false;
    }
    return true;
}

}  // namespace imgbuf
