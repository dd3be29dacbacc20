#include "platform/runtime/WholeFile.h"

#include <windows.h>

#include <algorithm>

#include "platform/runtime/FileErrors.h"
#include "platform/runtime/OwnedHandles.h"
#include "platform/runtime/RuntimeError.h"

namespace forms {
namespace {

// ReadFile takes a DWORD count: larger files are read in chunks.
constexpr std::size_t Chunk = std::size_t{1} << 24;

template <class Buffer>
Buffer ReadInto(const std::string& path, std::uint64_t maxBytes) {
    const UniqueKernelHandle file(NullIfInvalid(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)));
    if (!file) RaiseLastFileError();
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) RaiseLastFileError();
    if (static_cast<std::uint64_t>(size.QuadPart) > maxBytes) throw RuntimeError(err::OutOfMemory);
    Buffer bytes(static_cast<std::size_t>(size.QuadPart), {});
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        const auto want = static_cast<DWORD>(std::min(bytes.size() - done, Chunk));
        if (!ReadFile(file.get(), bytes.data() + done, want, &got, nullptr)) RaiseLastFileError();
        if (got == 0) break;  // the file shrank since its size was read
        done += got;
    }
    bytes.resize(done);
    return bytes;
}

}  // namespace

std::vector<std::uint8_t> ReadWholeFileBytes(const std::string& path, std::uint64_t maxBytes) {
    return ReadInto<std::vector<std::uint8_t>>(path, maxBytes);
}

std::string ReadWholeFile(const std::string& path, std::uint64_t maxBytes) {
    return ReadInto<std::string>(path, maxBytes);
}

}  // namespace forms
