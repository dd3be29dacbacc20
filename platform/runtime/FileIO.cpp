#include "platform/runtime/FileIO.h"

#include <windows.h>

#include <map>
#include <vector>

#include "platform/runtime/FileErrors.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/OwnedHandles.h"

namespace forms {
namespace {

class NumberedFile {
public:
    NumberedFile(UniqueKernelHandle handle, OpenMode mode) : handle_(std::move(handle)), mode_(mode) {}

    OpenMode Mode() const noexcept { return mode_; }

    // Input: the next byte without taking it, or -1 at the end.
    int Peek() {
        if (next_ == buffer_.size() && !Refill()) return -1;
        return static_cast<unsigned char>(buffer_[next_]);
    }
    int Take() {
        const int c = Peek();
        if (c >= 0) ++next_;
        return c;
    }

    bool AtEnd() {
        if (mode_ == OpenMode::Input) return Peek() < 0;
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(handle_.get(), &size)) RaiseLastFileError();
        return position_ >= size.QuadPart;
    }

    void Write(const void* data, std::size_t size) {
        LARGE_INTEGER at{};
        at.QuadPart = position_;
        if (mode_ == OpenMode::Append) {
            if (!SetFilePointerEx(handle_.get(), LARGE_INTEGER{}, &at, FILE_END)) RaiseLastFileError();
        } else if (!SetFilePointerEx(handle_.get(), at, nullptr, FILE_BEGIN)) {
            RaiseLastFileError();
        }
        const auto* bytes = static_cast<const char*>(data);
        while (size > 0) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 20));
            DWORD written = 0;
            if (!WriteFile(handle_.get(), bytes, chunk, &written, nullptr)) RaiseLastFileError();
            bytes += written;
            size -= written;
            position_ = at.QuadPart += written;
        }
    }

private:
    bool Refill() {
        buffer_.resize(64 * 1024);
        DWORD read = 0;
        if (!ReadFile(handle_.get(), buffer_.data(), static_cast<DWORD>(buffer_.size()), &read, nullptr)) {
            RaiseLastFileError();
        }
        buffer_.resize(read);
        next_ = 0;
        position_ += read;
        return read > 0;
    }

    UniqueKernelHandle handle_;
    OpenMode mode_;
    std::vector<char> buffer_;
    std::size_t next_ = 0;
    std::int64_t position_ = 0;  // of the next write; for Input, of the end of the buffer
};

std::map<int, NumberedFile>& Table() {
    static std::map<int, NumberedFile> table;
    return table;
}

void RequireNumber(int fileNumber) {
    if (fileNumber < 1 || fileNumber > MaxFileNumber) throw RuntimeError(err::BadFileNameOrNumber);
}

NumberedFile& FileFor(int fileNumber) {
    RequireNumber(fileNumber);
    const auto found = Table().find(fileNumber);
    if (found == Table().end()) throw RuntimeError(err::BadFileNameOrNumber);
    return found->second;
}

NumberedFile& FileFor(int fileNumber, OpenMode mode, OpenMode alternative) {
    NumberedFile& file = FileFor(fileNumber);
    if (file.Mode() != mode && file.Mode() != alternative) throw RuntimeError(err::BadFileMode);
    return file;
}

NumberedFile& InputFile(int fileNumber) { return FileFor(fileNumber, OpenMode::Input, OpenMode::Input); }

bool IsBlank(int c) { return c == ' ' || c == '\t'; }

// After a CR an LF belongs to the same line end.
void TakeLineEnd(NumberedFile& file, int taken) {
    if (taken == '\r' && file.Peek() == '\n') file.Take();
}

}  // namespace

void Open(std::string_view path, OpenMode mode, int fileNumber) {
    RequireNumber(fileNumber);
    if (Table().contains(fileNumber)) throw RuntimeError(err::FileAlreadyOpen);
    const std::string name(path);
    DWORD access = GENERIC_READ | GENERIC_WRITE;
    DWORD disposition = OPEN_ALWAYS;
    DWORD share = FILE_SHARE_READ;
    switch (mode) {
    case OpenMode::Input:
        access = GENERIC_READ;
        disposition = OPEN_EXISTING;
        share = FILE_SHARE_READ | FILE_SHARE_WRITE;
        break;
    case OpenMode::Output: disposition = CREATE_ALWAYS; break;
    case OpenMode::Append:
    case OpenMode::Binary: break;
    }
    UniqueKernelHandle handle(
        NullIfInvalid(CreateFileA(name.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr)));
    if (!handle) RaiseLastFileError();
    Table().emplace(fileNumber, NumberedFile(std::move(handle), mode));
}

void Close(int fileNumber) {
    RequireNumber(fileNumber);
    Table().erase(fileNumber);
}

void CloseAll() { Table().clear(); }

bool IsOpen(int fileNumber) { return Table().contains(fileNumber); }

std::string LineInput(int fileNumber) {
    NumberedFile& file = InputFile(fileNumber);
    if (file.Peek() < 0) throw RuntimeError(err::InputPastEndOfFile);
    std::string line;
    for (int c = file.Take(); c >= 0; c = file.Take()) {
        if (c == '\r') {
            TakeLineEnd(file, c);
            break;
        }
        line += static_cast<char>(c);
    }
    return line;
}

std::string InputField(int fileNumber) {
    NumberedFile& file = InputFile(fileNumber);
    while (IsBlank(file.Peek())) file.Take();
    if (file.Peek() < 0) throw RuntimeError(err::InputPastEndOfFile);
    std::string field;
    for (int c = file.Peek(); c >= 0 && c != ',' && c != '\r' && c != '\n' && !IsBlank(c); c = file.Peek()) {
        field += static_cast<char>(file.Take());
    }
    // The delimiter: blanks after the field, then at most one comma or line end.
    while (IsBlank(file.Peek())) file.Take();
    const int next = file.Peek();
    if (next == ',' || next == '\n') {
        file.Take();
    } else if (next == '\r') {
        TakeLineEnd(file, file.Take());
    }
    return field;
}

bool Eof(int fileNumber) { return FileFor(fileNumber).AtEnd(); }

void Print(int fileNumber, std::string_view text) {
    NumberedFile& file = FileFor(fileNumber, OpenMode::Output, OpenMode::Append);
    std::string line(text);
    line += "\r\n";
    file.Write(line.data(), line.size());
}

void Put(int fileNumber, std::span<const std::uint8_t> bytes) {
    FileFor(fileNumber, OpenMode::Binary, OpenMode::Binary).Write(bytes.data(), bytes.size());
}

void Put(int fileNumber, std::string_view bytes) {
    FileFor(fileNumber, OpenMode::Binary, OpenMode::Binary).Write(bytes.data(), bytes.size());
}

}  // namespace forms
