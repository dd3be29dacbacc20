#include "lib/imgEditbuf/resample/Resample.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace imgbuf {
namespace {

// Both scale factors and positions: the quotient and product are formed in double and stored in single
// precision, as the buffer's arithmetic has always done.
float Scale(std::int32_t sourceSize, std::int32_t targetSize) {
    return static_cast<float>(static_cast<double>(sourceSize - 1) / targetSize);
}

float Position(float scale, std::int32_t index) {
    return static_cast<float>(static_cast<double>(scale) * index);
}

// nearbyint in the default rounding mode is round half to even.
double BlendDouble(double a, double b, float fraction) {
    const double f = fraction;
    return std::nearbyint((1.0 - f) * a + f * b);
}

// Where one axis's neighbours are and how far between them the sample lies.
struct Tap {
    std::int32_t first = 0;
    std::int32_t second = 0;
    float fraction = 0;
};

Tap TapAt(float scale, std::int32_t index, std::int32_t sourceSize) {
    const float position = Position(scale, index);
    const auto whole = static_cast<std::int32_t>(position);  // position >= 0: truncation is floor
    Tap tap;
    tap.fraction = position - static_cast<float>(whole);     // exact for a float minus its integer part
    tap.first = std::min(whole, sourceSize - 1);
    tap.second = std::min(whole + 1, sourceSize - 1);
    return tap;
}

// A fraction that is a whole number of 2^-23 (every position of 1 or more is) makes the double blend exact:
// both products and their sum fit in 31 bits. The blend is then N / 2^23 rounded half to even, done here in
// integers with the same result.
constexpr int FractionBits = 23;
constexpr std::uint32_t FractionOne = 1u << FractionBits;
constexpr std::int32_t NotFixed = -1;

std::int32_t FixedFraction(float fraction) {
    const float scaled = fraction * static_cast<float>(FractionOne);  // power-of-two scaling is exact
    const auto whole = static_cast<std::int32_t>(scaled);
    return static_cast<float>(whole) == scaled ? whole : NotFixed;
}

inline std::uint32_t BlendFixed(std::uint32_t a, std::uint32_t b, std::uint32_t keep, std::uint32_t take) {
    const std::uint32_t n = a * keep + b * take;  // at most 255 * 2^23 < 2^31
    return (n + (FractionOne / 2 - 1) + ((n >> FractionBits) & 1u)) >> FractionBits;
}

struct Column {
    std::uint32_t first = 0;   // byte offset of the left neighbour
    std::uint32_t second = 0;  // byte offset of the right neighbour
    std::uint32_t keep = 0;    // 2^23 - take
    std::uint32_t take = 0;
    float fraction = 0;
    bool fixed = false;
};

void PixelDouble(const std::uint8_t* top, const std::uint8_t* bottom, const Column& col, float dy,
                 std::uint8_t* out) {
    double v[6];
    for (int c = 0; c < 3; ++c) {
        v[c] = BlendDouble(top[col.first + c], bottom[col.first + c], dy);
        v[c + 3] = BlendDouble(top[col.second + c], bottom[col.second + c], dy);
    }
    for (int c = 0; c < 3; ++c) {
        out[c] = static_cast<std::uint8_t>(std::clamp(BlendDouble(v[c], v[c + 3], col.fraction), 0.0, 255.0));
    }
}

bool SameSizeCopy(const ConstPixels& src, const Pixels& dst) {
    if (src.width != dst.width || src.height != dst.height) return false;
    const std::size_t rowBytes = static_cast<std::size_t>(src.width) * 3;
    for (std::int32_t y = 0; y < src.height; ++y) {
        std::copy_n(src.bits + y * src.stride, rowBytes, dst.bits + y * dst.stride);
    }
    return true;
}

bool Usable(const ConstPixels& src, const Pixels& dst) {
    return src.bits && dst.bits && src.width > 0 && src.height > 0 && dst.width > 0 && dst.height > 0;
}

}  // namespace

void ResampleBilinear(const ConstPixels& src, const Pixels& dst) {
    if (!Usable(src, dst) || SameSizeCopy(src, dst)) return;
    const float xScale = Scale(src.width, dst.width);
    const float yScale = Scale(src.height, dst.height);

    std::vector<Column> columns(static_cast<std::size_t>(dst.width));
    for (std::int32_t x = 0; x < dst.width; ++x) {
        const Tap tap = TapAt(xScale, x, src.width);
        Column& col = columns[static_cast<std::size_t>(x)];
        col.first = static_cast<std::uint32_t>(tap.first) * 3;
        col.second = static_cast<std::uint32_t>(tap.second) * 3;
        col.fraction = tap.fraction;
        const std::int32_t take = FixedFraction(tap.fraction);
        col.fixed = take != NotFixed;
        col.take = col.fixed ? static_cast<std::uint32_t>(take) : 0;
        col.keep = FractionOne - col.take;
    }

    for (std::int32_t y = 0; y < dst.height; ++y) {
        const Tap row = TapAt(yScale, y, src.height);
        const std::uint8_t* top = src.bits + static_cast<std::size_t>(row.first) * src.stride;
        const std::uint8_t* bottom = src.bits + static_cast<std::size_t>(row.second) * src.stride;
        std::uint8_t* out = dst.bits + static_cast<std::size_t>(y) * dst.stride;
        const std::int32_t takeY = FixedFraction(row.fraction);
        if (takeY == NotFixed) {
            for (std::size_t x = 0; x < columns.size(); ++x) {
                PixelDouble(top, bottom, columns[x], row.fraction, out + 3 * x);
            }
            continue;
        }
        const auto ty = static_cast<std::uint32_t>(takeY);
        const std::uint32_t ky = FractionOne - ty;
        std::uint8_t* o = out;
        // Columns with a finer fraction (positions strictly between 0 and 1) are few and take the double path.
        if (ty == 0) {
            // On a source row exactly: the vertical blend is the top row itself.
            for (std::size_t x = 0; x < columns.size(); ++x, o += 3) {
                const Column& col = columns[x];
                if (!col.fixed) {
                    PixelDouble(top, bottom, col, row.fraction, o);
                    continue;
                }
                const std::uint8_t* l = top + col.first;
                const std::uint8_t* r = top + col.second;
                o[0] = static_cast<std::uint8_t>(BlendFixed(l[0], r[0], col.keep, col.take));
                o[1] = static_cast<std::uint8_t>(BlendFixed(l[1], r[1], col.keep, col.take));
                o[2] = static_cast<std::uint8_t>(BlendFixed(l[2], r[2], col.keep, col.take));
            }
            continue;
        }
        for (std::size_t x = 0; x < columns.size(); ++x, o += 3) {
            const Column& col = columns[x];
            if (!col.fixed) {
                PixelDouble(top, bottom, col, row.fraction, o);
                continue;
            }
            const std::uint8_t* tl = top + col.first;
            const std::uint8_t* tr = top + col.second;
            const std::uint8_t* bl = bottom + col.first;
            const std::uint8_t* br = bottom + col.second;
            for (int c = 0; c < 3; ++c) {
                const std::uint32_t left = BlendFixed(tl[c], bl[c], ky, ty);
                const std::uint32_t right = BlendFixed(tr[c], br[c], ky, ty);
                o[c] = static_cast<std::uint8_t>(BlendFixed(left, right, col.keep, col.take));
            }
        }
    }
}

void ResampleBilinearReference(const ConstPixels& src, const Pixels& dst) {
    if (!Usable(src, dst) || SameSizeCopy(src, dst)) return;
    const float xScale = Scale(src.width, dst.width);
    const float yScale = Scale(src.height, dst.height);
    for (std::int32_t y = 0; y < dst.height; ++y) {
        const Tap row = TapAt(yScale, y, src.height);
        const std::uint8_t* top = src.bits + static_cast<std::size_t>(row.first) * src.stride;
        const std::uint8_t* bottom = src.bits + static_cast<std::size_t>(row.second) * src.stride;
        std::uint8_t* out = dst.bits + static_cast<std::size_t>(y) * dst.stride;
        for (std::int32_t x = 0; x < dst.width; ++x) {
            const Tap col = TapAt(xScale, x, src.width);
            double v[6];
            for (int c = 0; c < 6; ++c) {
                const std::int32_t k = (c < 3 ? col.first : col.second) * 3 + c % 3;
                v[c] = BlendDouble(top[k], bottom[k], row.fraction);
            }
            for (int c = 0; c < 3; ++c) {
                const double h = BlendDouble(v[c], v[c + 3], col.fraction);
                out[3 * x + c] = static_cast<std::uint8_t>(std::clamp(h, 0.0, 255.0));
            }
        }
    }
}

}  // namespace imgbuf
