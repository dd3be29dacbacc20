#pragma once
// A bounded cursor over untrusted bytes. Reads past the end return 0 and set a sticky failure flag, so a
// decoder can read a header field by field and check once (Require), or check per row inside a tight loop.

#include <cstddef>
#include <cstdint>
#include <span>

namespace imaging {

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) noexcept : data_(bytes) {}

    std::size_t Size() const noexcept { return data_.size(); }
    std::size_t Position() const noexcept { return pos_; }
    std::size_t Remaining() const noexcept { return data_.size() - pos_; }
    bool Has(std::size_t n) const noexcept { return n <= Remaining(); }
    bool Failed() const noexcept { return failed_; }
    // Throws DecodeError naming `what` once any read has run short.
    void Require(const char* what) const;

    std::uint8_t U8() noexcept {
        if (pos_ < data_.size()) {
            return data_[pos_++];
        }
        failed_ = true;
        return 0;
    }
    std::uint16_t U16LE() noexcept;
    std::uint16_t U16BE() noexcept;
    std::uint32_t U32LE() noexcept;
    std::uint32_t U32BE() noexcept;
    std::int16_t I16BE() noexcept { return static_cast<std::int16_t>(U16BE()); }

    // Moves the cursor; past the end it stops at the end and fails.
    void Skip(std::size_t n) noexcept;
    void Seek(std::size_t position) noexcept;
    // The next n bytes, or an empty span (and failure) when fewer remain.
    std::span<const std::uint8_t> Take(std::size_t n) noexcept;
    // Everything from the cursor to the end, without moving.
    std::span<const std::uint8_t> Rest() const noexcept { return data_.subspan(pos_); }

private:
    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
    bool failed_ = false;
};

}  // namespace imaging
