#include "tests/lib/imgEditbuf/ServerSupport.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <mutex>
#include <sstream>
#include <stdexcept>

#include "platform/imaging/Picture.h"

namespace imgbuf::test {
namespace {

using Answerer = int(__stdcall*)(const char*, UINT);
using SetAnswerer = Answerer(__stdcall*)(Answerer);
using EntryPoint = HRESULT(__stdcall*)();

// An export of the server by name, as the type the caller knows it has.
template <class F>
F Export(HMODULE module, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

std::mutex shownLock;
std::vector<std::string> shown;

int __stdcall RecordMessage(const char* text, UINT) {
    const std::lock_guard<std::mutex> hold(shownLock);
    shown.emplace_back(text);
    return IDOK;
}

// Registers the server beside the test program for the whole run, and unregisters it afterwards.
class ServerEnvironment : public testing::Environment {
public:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        module_ = LoadLibraryA((TestFolder() + "\\rvimgctl.dll").c_str());
        ASSERT_NE(module_, nullptr);
        const auto reg = Export<EntryPoint>(module_, "DllRegisterServer");
        ASSERT_NE(reg, nullptr);
        ASSERT_EQ(reg(), S_OK);
        const auto set = Export<SetAnswerer>(module_, "rvimgctlSetMessageAnswerer");
        ASSERT_NE(set, nullptr);
        set(&RecordMessage);
    }
    void TearDown() override {
        if (!module_) return;
        const auto unreg = Export<EntryPoint>(module_, "DllUnregisterServer");
        if (unreg) {
            EXPECT_EQ(unreg(), S_OK);
        }
        CoUninitialize();
    }

private:
    HMODULE module_ = nullptr;
};

[[maybe_unused]] testing::Environment* const environment = testing::AddGlobalTestEnvironment(new ServerEnvironment);

}  // namespace

std::string TestFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

std::string SamplePath(const std::string& name) { return TestFolder() + "\\imgEditbuf-data\\" + name; }

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

imaging::Image24 ReadPpm(const std::string& path) {
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
    std::string head(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(bytes.size(), 64)));
    std::istringstream fields(head);
    std::string magic;
    std::uint32_t width = 0, height = 0, maxval = 0;
    fields >> magic >> width >> height >> maxval;
    if (magic != "P6" || maxval != 255) throw std::runtime_error("not a P6 PPM: " + path);
    const auto offset = static_cast<std::size_t>(fields.tellg()) + 1;
    imaging::Image24 image = imaging::Image24::Allocate(width, height);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint8_t* rgb = bytes.data() + offset + (static_cast<std::size_t>(y) * width + x) * 3;
            std::uint8_t* bgr = image.Row(y) + 3 * x;
            bgr[0] = rgb[2];
            bgr[1] = rgb[1];
            bgr[2] = rgb[0];
        }
    }
    return image;
}

int MaxDifference(const imaging::Image24& a, const imaging::Image24& b) {
    if (a.width != b.width || a.height != b.height) return -1;
    int worst = 0;
    for (std::uint32_t y = 0; y < a.height; ++y)
        for (std::size_t k = 0; k < std::size_t{a.width} * 3; ++k)
            worst = std::max(worst, std::abs(int{a.Row(y)[k]} - int{b.Row(y)[k]}));
    return worst;
}

OLE_HANDLE HandleOf(IPictureDisp* picture) {
    comserver::ComPtr<IPicture> pic;
    OLE_HANDLE handle = 0;
    if (picture && SUCCEEDED(picture->QueryInterface(IID_IPicture, pic.PutVoid()))) pic->get_Handle(&handle);
    return handle;
}

imaging::Image24 PixelsOf(IPictureDisp* picture) {
    if (HandleOf(picture) == 0) return {};
    return imaging::ImageFromPicture(picture);
}

comserver::ComPtr<IPictureDisp> PictureOf(const imaging::Image24& image) {
    auto picture = imaging::PictureFromBitmap(imaging::BitmapFromImage(image));
    return comserver::ComPtr<IPictureDisp>::Attach(picture.Detach());
}

void Messages::Clear() {
    const std::lock_guard<std::mutex> hold(shownLock);
    shown.clear();
}

std::vector<std::string> Messages::Shown() {
    const std::lock_guard<std::mutex> hold(shownLock);
    return shown;
}

}  // namespace imgbuf::test
