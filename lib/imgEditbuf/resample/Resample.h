#pragma once
// Bilinear resampling of 24-bit rows (blue, green, red; rows padded to 4 bytes) between two buffers of the
// same layout. The arithmetic is fixed: single-precision scale, positions and fractions, blends computed in
// double and rounded half to even. Rows are taken in memory order, whatever the image's orientation.

#include <cstddef>
#include <cstdint>

namespace imgbuf {

struct ConstPixels {
    const std::uint8_t* bits = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::size_t stride = 0;
};

struct Pixels {
    std::uint8_t* bits = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::size_t stride = 0;
};

// Row stride of a 24-bit buffer: width * 3 rounded up to a multiple of 4.
constexpr std::size_t BytesPerScanLine(std::int32_t width) {
    return (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3);
}

// Scales src into dst (both at least 1 x 1). A source 1 pixel wide or high reuses its last column or row as
// the second neighbour. The padding bytes of dst are left as they are.
void ResampleBilinear(const ConstPixels& src, const Pixels& dst);

// The widest vector form of the integer arithmetic that may run where the processor has it (by default the
// widest it has). Every form gives the same bytes; tests narrow it to check each form on any machine.
enum class VectorKernel { Widest, Sse41, None };
void LimitVectorKernel(VectorKernel widest) noexcept;

// The same result computed the plain way, one double expression per byte; the fast path is checked against
// it.
void ResampleBilinearReference(const ConstPixels& src, const Pixels& dst);

}  // namespace imgbuf
