#include "platform/imaging/JpegWriter.h"

#include <algorithm>
#include <array>
#include <csetjmp>
#include <memory>
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

namespace imaging {
namespace {

constexpr std::uint32_t kMaxSide = 65500;  // JPEG_MAX_DIMENSION
constexpr std::size_t kPieceBytes = 256 * 1024;
constexpr std::uint32_t kRowsPerCall = 16;  // one 4:2:0 band of rows

// The state libjpeg's callbacks reach through the compressor record. libjpeg reports errors by calling
// error_exit, which must not return: it jumps back to EncodeJpeg. Nothing between the jump and its target
// has a destructor, so none is skipped.
struct Encoder {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    jpeg_destination_mgr destination{};
    std::jmp_buf failed{};
    const JpegSink* sink = nullptr;
    std::array<JOCTET, kPieceBytes> piece{};
};

Encoder& Of(j_compress_ptr cinfo) { return *static_cast<Encoder*>(cinfo->client_data); }

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
    std::longjmp(static_cast<Encoder*>(cinfo->client_data)->failed, 1);
}

void SilentMessage(j_common_ptr) {}  // warnings are not shown: the result alone tells

void InitDestination(j_compress_ptr cinfo) {
    Encoder& e = Of(cinfo);
    e.destination.next_output_byte = e.piece.data();
    e.destination.free_in_buffer = e.piece.size();
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo) {
    Encoder& e = Of(cinfo);
    // libjpeg asks for the whole buffer to be taken, whatever free_in_buffer says.
    if (!(*e.sink)(std::span<const std::uint8_t>(e.piece.data(), e.piece.size()))) ErrorExit(reinterpret_cast<j_common_ptr>(cinfo));
    InitDestination(cinfo);
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
    Encoder& e = Of(cinfo);
    const std::size_t used = e.piece.size() - e.destination.free_in_buffer;
    if (used > 0 && !(*e.sink)(std::span<const std::uint8_t>(e.piece.data(), used))) ErrorExit(reinterpret_cast<j_common_ptr>(cinfo));
}

// The part that libjpeg may jump out of: only trivially destructible objects live here.
bool Compress(Encoder& e, const JpegRequest& request, const JpegRowSource& rows) {
    if (setjmp(e.failed) != 0) return false;
    jpeg_create_compress(&e.cinfo);
    e.cinfo.dest = &e.destination;
    e.cinfo.image_width = request.width;
    e.cinfo.image_height = request.height;
    e.cinfo.input_components = 3;
    e.cinfo.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&e.cinfo);  // baseline Huffman, YCbCr with 2x2 subsampled chroma: 4:2:0
    jpeg_set_quality(&e.cinfo, std::clamp(request.quality, 1, 100), TRUE);
    jpeg_start_compress(&e.cinfo, TRUE);
    std::array<JSAMPROW, kRowsPerCall> band{};
    while (e.cinfo.next_scanline < e.cinfo.image_height) {
        const std::uint32_t first = e.cinfo.next_scanline;
        const std::uint32_t count = std::min(kRowsPerCall, e.cinfo.image_height - first);
        for (std::uint32_t r = 0; r < count; ++r) band[r] = const_cast<JSAMPROW>(rows(first + r));
        jpeg_write_scanlines(&e.cinfo, band.data(), count);
    }
    jpeg_finish_compress(&e.cinfo);
    return true;
}

}  // namespace

bool EncodeJpeg(const JpegRequest& request, const JpegRowSource& rows, const JpegSink& sink) {
    if (request.width == 0 || request.height == 0 || request.width > kMaxSide || request.height > kMaxSide) {
        return false;
    }
    auto e = std::make_unique<Encoder>();
    e->cinfo.err = jpeg_std_error(&e->errors);
    e->errors.error_exit = ErrorExit;
    e->errors.output_message = SilentMessage;
    e->cinfo.client_data = e.get();
    e->destination.init_destination = InitDestination;
    e->destination.empty_output_buffer = EmptyOutputBuffer;
    e->destination.term_destination = TermDestination;
    e->sink = &sink;
    const bool done = Compress(*e, request, rows);
    jpeg_destroy_compress(&e->cinfo);
    return done;
}

}  // namespace imaging
