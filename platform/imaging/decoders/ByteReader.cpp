#include "platform/imaging/decoders/ByteReader.h"

#include <string>

#include "platform/imaging/decoders/DecodeError.h"

namespace imaging {

void ByteReader::Require(const char* what) const {
    if (failed_) {
        throw DecodeError(std::string("truncated ") + what);
    }
}

std::uint16_t ByteReader::U16LE() noexcept {
    if (!Has(2)) {
        Skip(2);
        return 0;
    }
    const std::uint16_t v = static_cast<std::uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
    pos_ += 2;
    return v;
}

std::uint16_t ByteReader::U16BE() noexcept {
    if (!Has(2)) {
        Skip(2);
        return 0;
    }
    const std::uint16_t v = static_cast<std::uint16_t>((data_[pos_] << 8) | data_[pos_ + 1]);
    pos_ += 2;
    return v;
}

std::uint32_t ByteReader::U32LE() noexcept {
    if (!Has(4)) {
        Skip(4);
        return 0;
    }
    const std::uint32_t v = std::uint32_t{data_[pos_]} | (std::uint32_t{data_[pos_ + 1]} << 8) |
                            (std::uint32_t{data_[pos_ + 2]} << 16) | (std::uint32_t{data_[pos_ + 3]} << 24);
    pos_ += 4;
    return v;
}

std::uint32_t ByteReader::U32BE() noexcept {
    if (!Has(4)) {
        Skip(4);
        return 0;
    }
    const std::uint32_t v = (std::uint32_t{data_[pos_]} << 24) | (std::uint32_t{data_[pos_ + 1]} << 16) |
                            (std::uint32_t{data_[pos_ + 2]} << 8) | std::uint32_t{data_[pos_ + 3]};
    pos_ += 4;
    return v;
}

void ByteReader::Skip(std::size_t n) noexcept {
    if (n > Remaining()) {
        pos_ = data_.size();
        failed_ = true;
        return;
    }
    pos_ += n;
}

void ByteReader::Seek(std::size_t position) noexcept {
    if (position > data_.size()) {
        pos_ = data_.size();
        failed_ = true;
        return;
    }
    pos_ = position;
}

std::span<const std::uint8_t> ByteReader::Take(std::size_t n) noexcept {
    if (n > Remaining()) {
        Skip(n);
        return {};
    }
    const auto out = data_.subspan(pos_, n);
    pos_ += n;
    return out;
}

}  // namespace imaging
