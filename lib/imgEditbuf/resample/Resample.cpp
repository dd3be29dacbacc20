#include "lib/imgEditbuf/resample/Resample.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

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

// a * (2^23 - take) + b * take, written as a * 2^23 + (b - a) * take: one multiply. At most 255 * 2^23 < 2^31.
inline std::uint32_t BlendFixed(std::uint32_t a, std::uint32_t b, std::uint32_t take) {
    const auto n = static_cast<std::uint32_t>(static_cast<std::int32_t>(a << FractionBits) +
                                              (static_cast<std::int32_t>(b) - static_cast<std::int32_t>(a)) *
                                                  static_cast<std::int32_t>(take));
    return (n + (FractionOne / 2 - 1) + ((n >> FractionBits) & 1u)) >> FractionBits;
}

// Within one target row every vertical blend has the same fraction, so the blend of a top byte t and a
// bottom byte b is t plus a step that depends only on b - t and, for exact halves, on whether t is odd:
// a table of 2 x 511 steps, built once per row, replaces the multiplications.
class RowSteps {
public:
    explicit RowSteps(std::uint32_t take) {
        for (int parity = 0; parity < 2; ++parity) {
            for (int d = -255; d <= 255; ++d) {
                const std::int32_t product = d * static_cast<std::int32_t>(take);
                const std::int32_t whole = product >> FractionBits;  // floor
                const std::int32_t rest = product & static_cast<std::int32_t>(FractionOne - 1);
                constexpr auto half = static_cast<std::int32_t>(FractionOne / 2);
                const bool up = rest > half || (rest == half && ((parity + whole) & 1) != 0);
                steps_[parity][d + 255] = static_cast<std::int16_t>(whole + (up ? 1 : 0));
            }
        }
    }
    std::uint32_t Blend(std::uint32_t top, std::uint32_t bottom) const noexcept {
        const std::int32_t t = static_cast<std::int32_t>(top);
        return static_cast<std::uint32_t>(t + steps_[top & 1u][static_cast<std::int32_t>(bottom) - t + 255]);
    }

private:
    std::int16_t steps_[2][512];
};

std::atomic<VectorKernel> vectorLimit{VectorKernel::Widest};

struct Column {
    std::uint32_t first = 0;   // byte offset of the left neighbour
    std::uint32_t second = 0;  // byte offset of the right neighbour
    std::uint32_t take = 0;    // the fraction in 2^-23 (when it is a whole number of them)
    float fraction = 0;
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

// One row of fixed-fraction pixels: the left and right neighbours' vertical blends and the horizontal blend
// in the integer form of BlendFixed, all three colours (and one byte more) at once. Each pixel reads up to 8
// bytes from its left neighbour on (both neighbours at once) and writes 4, so the caller keeps the last pixels
// of a row, and any whose reads would pass the end of the source, for the scalar loop.
using RowKernel = void (*)(const Column* columns, std::size_t count, const std::uint8_t* top,
                           const std::uint8_t* bottom, std::uint32_t take, std::uint8_t* out);

#if defined(__x86_64__) || defined(__i386__)
// The two source rows of a target row are read left to right, far apart from the previous target row's, and
// the hardware's prefetcher starts over at each page. Asking for the bytes a little ahead keeps the reads from
// waiting on memory; a prefetch past the end of the buffer is only a hint and never faults.
constexpr std::size_t PrefetchAhead = 2048;

inline void PrefetchRows(const std::uint8_t* top, const std::uint8_t* bottom, std::uint32_t offset) {
    _mm_prefetch(reinterpret_cast<const char*>(top + offset + PrefetchAhead), _MM_HINT_T0);
    _mm_prefetch(reinterpret_cast<const char*>(bottom + offset + PrefetchAhead), _MM_HINT_T0);
}

__attribute__((target("sse4.1"))) inline __m128i FourBytes(const std::uint8_t* p) {
    std::int32_t word;
    std::memcpy(&word, p, sizeof word);
    return _mm_cvtepu8_epi32(_mm_cvtsi32_si128(word));
}

__attribute__((target("sse4.1"))) inline __m128i BlendLanes(__m128i a, __m128i b, __m128i take) {
    const __m128i n = _mm_add_epi32(_mm_slli_epi32(a, FractionBits), _mm_mullo_epi32(_mm_sub_epi32(b, a), take));
    const __m128i odd = _mm_and_si128(_mm_srli_epi32(n, FractionBits), _mm_set1_epi32(1));
    return _mm_srli_epi32(_mm_add_epi32(_mm_add_epi32(n, _mm_set1_epi32(FractionOne / 2 - 1)), odd), FractionBits);
}

__attribute__((target("sse4.1"))) void RowSse41(const Column* columns, std::size_t count, const std::uint8_t* top,
                                                const std::uint8_t* bottom, std::uint32_t take, std::uint8_t* out) {
    const __m128i ty = _mm_set1_epi32(static_cast<int>(take));
    for (std::size_t x = 0; x < count; ++x, out += 3) {
        const Column& col = columns[x];
        PrefetchRows(top, bottom, col.first);
        const __m128i left = BlendLanes(FourBytes(top + col.first), FourBytes(bottom + col.first), ty);
        const __m128i right = BlendLanes(FourBytes(top + col.second), FourBytes(bottom + col.second), ty);
        const __m128i h = BlendLanes(left, right, _mm_set1_epi32(static_cast<int>(col.take)));
        const __m128i bytes = _mm_packus_epi16(_mm_packus_epi32(h, h), _mm_setzero_si128());
        const std::int32_t word = _mm_cvtsi128_si32(bytes);
        std::memcpy(out, &word, sizeof word);
    }
}

// Two pixels at a time, eight lanes wide. When a pixel's right neighbour is the next source pixel (all but a
// clamped last column), one 8-byte read of a row holds both neighbours; a byte shuffle spreads them into the
// lanes [left of pixel 0 | left of pixel 1] and [right of pixel 0 | right of pixel 1], so the two vertical
// blends and the horizontal one are three eight-lane blends for both pixels.
__attribute__((target("avx2"))) inline __m256i BlendLanes8(__m256i a, __m256i b, __m256i take) {
    const __m256i n = _mm256_add_epi32(_mm256_slli_epi32(a, FractionBits), _mm256_mullo_epi32(_mm256_sub_epi32(b, a), take));
    const __m256i odd = _mm256_and_si256(_mm256_srli_epi32(n, FractionBits), _mm256_set1_epi32(1));
    return _mm256_srli_epi32(_mm256_add_epi32(_mm256_add_epi32(n, _mm256_set1_epi32(FractionOne / 2 - 1)), odd),
                             FractionBits);
}

__attribute__((target("avx2"))) inline __m256i TwoPixelsOfRow(const std::uint8_t* row, const Column& c0,
                                                              const Column& c1) {
    const __m128i both = _mm_castpd_si128(_mm_loadh_pd(
        _mm_castsi128_pd(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + c0.first))),
        reinterpret_cast<const double*>(row + c1.first)));
    return _mm256_broadcastsi128_si256(both);
}

__attribute__((target("avx2"))) void RowAvx2(const Column* columns, std::size_t count, const std::uint8_t* top,
                                             const std::uint8_t* bottom, std::uint32_t take, std::uint8_t* out) {
    constexpr char Z = -1;  // a shuffle index that yields zero
    // Low half from pixel 0's eight bytes (0-7), high half from pixel 1's (8-15).
    const __m256i lefts = _mm256_setr_epi8(0, Z, Z, Z, 1, Z, Z, Z, 2, Z, Z, Z, 3, Z, Z, Z,
                                           8, Z, Z, Z, 9, Z, Z, Z, 10, Z, Z, Z, 11, Z, Z, Z);
    const __m256i rights = _mm256_setr_epi8(3, Z, Z, Z, 4, Z, Z, Z, 5, Z, Z, Z, 6, Z, Z, Z,
                                            11, Z, Z, Z, 12, Z, Z, Z, 13, Z, Z, Z, 14, Z, Z, Z);
    const __m256i ty = _mm256_set1_epi32(static_cast<int>(take));
    std::size_t x = 0;
    for (; x + 1 < count; x += 2, out += 6) {
        const Column& c0 = columns[x];
        const Column& c1 = columns[x + 1];
        if (c0.second != c0.first + 3 || c1.second != c1.first + 3) {
            RowSse41(columns + x, 2, top, bottom, take, out);
            continue;
        }
        PrefetchRows(top, bottom, c0.first);
        const __m256i t = TwoPixelsOfRow(top, c0, c1);
        const __m256i b = TwoPixelsOfRow(bottom, c0, c1);
        const __m256i left = BlendLanes8(_mm256_shuffle_epi8(t, lefts), _mm256_shuffle_epi8(b, lefts), ty);
        const __m256i right = BlendLanes8(_mm256_shuffle_epi8(t, rights), _mm256_shuffle_epi8(b, rights), ty);
        const __m256i tx = _mm256_setr_m128i(_mm_set1_epi32(static_cast<int>(c0.take)),
                                             _mm_set1_epi32(static_cast<int>(c1.take)));
        const __m256i h = BlendLanes8(left, right, tx);
        const __m256i words = _mm256_packus_epi32(h, h);
        const __m256i bytes = _mm256_packus_epi16(words, words);
        const std::int32_t p0 = _mm256_cvtsi256_si32(bytes);
        const std::int32_t p1 = _mm_cvtsi128_si32(_mm256_extracti128_si256(bytes, 1));
        std::memcpy(out, &p0, sizeof p0);
        std::memcpy(out + 3, &p1, sizeof p1);
    }
    if (x < count) RowSse41(columns + x, 1, top, bottom, take, out);
}

RowKernel FastRowKernel() {
    static const bool sse41 = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("sse4.1") != 0;
    }();
    static const bool avx2 = __builtin_cpu_supports("avx2") != 0;
    switch (vectorLimit.load(std::memory_order_relaxed)) {
    case VectorKernel::Widest:
        if (avx2) return &RowAvx2;
        [[fallthrough]];
    case VectorKernel::Sse41:
        return sse41 ? &RowSse41 : nullptr;
    case VectorKernel::None:
        break;
    }
    return nullptr;
}
#else
RowKernel FastRowKernel() { return nullptr; }
#endif

// Pixels from `first` to the end of the row, with the vertical blend given (all forms give the same bytes).
// Every value is read before anything is stored: the output bytes may alias anything.
template <class Vertical>
void ScalarPixels(const std::vector<Column>& columns, std::size_t first, const std::uint8_t* top,
                  const std::uint8_t* bottom, const Vertical& vertical, std::uint8_t* out) {
    std::uint8_t* o = out + 3 * first;
    for (std::size_t x = first; x < columns.size(); ++x, o += 3) {
        const Column& col = columns[x];
        const std::uint8_t* tl = top + col.first;
        const std::uint8_t* tr = top + col.second;
        const std::uint8_t* bl = bottom + col.first;
        const std::uint8_t* br = bottom + col.second;
        const std::uint32_t h0 = BlendFixed(vertical(tl[0], bl[0]), vertical(tr[0], br[0]), col.take);
        const std::uint32_t h1 = BlendFixed(vertical(tl[1], bl[1]), vertical(tr[1], br[1]), col.take);
        const std::uint32_t h2 = BlendFixed(vertical(tl[2], bl[2]), vertical(tr[2], br[2]), col.take);
        o[0] = static_cast<std::uint8_t>(h0);
        o[1] = static_cast<std::uint8_t>(h1);
        o[2] = static_cast<std::uint8_t>(h2);
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
    std::vector<std::size_t> fineColumns;  // fractions finer than 2^-23 (positions strictly between 0 and 1)
    for (std::int32_t x = 0; x < dst.width; ++x) {
        const Tap tap = TapAt(xScale, x, src.width);
        Column& col = columns[static_cast<std::size_t>(x)];
        col.first = static_cast<std::uint32_t>(tap.first) * 3;
        col.second = static_cast<std::uint32_t>(tap.second) * 3;
        col.fraction = tap.fraction;
        const std::int32_t take = FixedFraction(tap.fraction);
        if (take == NotFixed) fineColumns.push_back(static_cast<std::size_t>(x));
        col.take = take == NotFixed ? 0 : static_cast<std::uint32_t>(take);
    }

    const std::uint8_t* const sourceEnd = src.bits + src.stride * static_cast<std::size_t>(src.height);
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
        // Every pixel the integer way first, then the few fine columns again the double way.
        const auto take = static_cast<std::uint32_t>(takeY);
        std::size_t x = 0;
        if (const RowKernel kernel = FastRowKernel()) {
            // 8-byte reads from the lower of the two rows must stay inside the source.
            const auto available = static_cast<std::size_t>(sourceEnd - bottom);
            std::size_t safe = columns.size() - 1;
            while (safe > 0 && columns[safe - 1].first + 8 > available) --safe;
            kernel(columns.data(), safe, top, bottom, take, out);
            x = safe;
            ScalarPixels(columns, x, top, bottom, [take](std::uint32_t t, std::uint32_t b) {
                return BlendFixed(t, b, take);
            }, out);
        } else if (take == 0) {
            // On a source row exactly: the vertical blend is the top row itself.
            ScalarPixels(columns, 0, top, bottom, [](std::uint32_t t, std::uint32_t) { return t; }, out);
        } else {
            const RowSteps steps(take);
            ScalarPixels(columns, 0, top, bottom, [&steps](std::uint32_t t, std::uint32_t b) {
                return steps.Blend(t, b);
            }, out);
        }
        for (const std::size_t fine : fineColumns) PixelDouble(top, bottom, columns[fine], row.fraction, out + 3 * fine);
    }
}

void LimitVectorKernel(VectorKernel widest) noexcept {
    vectorLimit.store(widest, std::memory_order_relaxed);
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
