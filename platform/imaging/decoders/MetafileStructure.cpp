#include "platform/imaging/decoders/MetafileStructure.h"

#include "platform/imaging/decoders/ByteReader.h"
#include "platform/imaging/decoders/DecodeError.h"

namespace imaging {

namespace {

// A poly record's points: `count` of `pointBytes` each must fit in what is left of the record.
void RequirePoints(std::uint64_t count, std::uint64_t pointBytes, std::size_t available) {
    if (count * pointBytes > available) throw DecodeError("more points than the record holds");
}

}  // namespace

namespace wmf {

namespace {

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::size_t kPlaceableSize = 22;
constexpr std::size_t kHeaderWords = 9;
constexpr std::uint32_t kSmallestRecordWords = 3;

// Records whose first parameter is an index into the object table, and how many indices they hold.
unsigned ObjectIndices(unsigned function) {
    switch (function) {
    case 0x012D:  // select object
    case 0x01F0:  // delete object
    case 0x0234:  // select palette
    case 0x012C:  // select clip region
    case 0x012A:  // invert region
    case 0x012B:  // paint region
        return 1;
    case 0x0228:  // fill region
    case 0x0429:  // frame region
        return 2;
    default:
        return 0;
    }
}

std::size_t HeaderStart(std::span<const std::uint8_t> bytes) noexcept {
    ByteReader in(bytes);
    return in.U32LE() == kPlaceableKey ? kPlaceableSize : 0;
}

}  // namespace

bool Probe(std::span<const std::uint8_t> bytes) noexcept {
    ByteReader in(bytes);
    in.Seek(HeaderStart(bytes));
    const unsigned type = in.U16LE();
    const unsigned headerWords = in.U16LE();
    return !in.Failed() && (type == 1 || type == 2) && headerWords == kHeaderWords;
}

void CheckStructure(std::span<const std::uint8_t> bytes) {
    if (!Probe(bytes)) throw DecodeError("no metafile header");
    ByteReader in(bytes);
    in.Seek(HeaderStart(bytes) + 10);
    const unsigned objects = in.U16LE();
    in.Skip(6);
    in.Require("metafile header");
    while (in.Remaining() > 0) {
        const std::uint64_t words = in.U32LE();
        const unsigned function = in.U16LE();
        in.Require("metafile record");
        if (words < kSmallestRecordWords || words * 2 - 6 > in.Remaining()) {
            throw DecodeError("metafile record outside the file");
        }
        if (function == 0) return;  // the end record
        ByteReader params(in.Take(static_cast<std::size_t>(words * 2 - 6)));
        for (unsigned i = ObjectIndices(function); i > 0; --i) {
            const unsigned index = params.U16LE();
            if (params.Failed() || index >= objects) throw DecodeError("object index past the table");
        }
        switch (function) {
        case 0x0324:  // polygon
        case 0x0325:  // polyline
        {
            const unsigned count = params.U16LE();
            params.Require("metafile points");
            RequirePoints(count, 4, params.Remaining());
            break;
        }
        case 0x0538:  // poly-polygon: the polygons' counts, then all their points
        {
            const unsigned polygons = params.U16LE();
            std::uint64_t points = 0;
            for (unsigned p = 0; p < polygons && !params.Failed(); ++p) points += params.U16LE();
            params.Require("metafile points");
            RequirePoints(points, 4, params.Remaining());
            break;
        }
        default:
            break;
        }
    }
    // No end record: the player stops at the end of the file too.
}

}  // namespace wmf

namespace emf {

namespace {

constexpr std::uint32_t kHeaderType = 1;
constexpr std::uint32_t kEndType = 14;
constexpr std::uint32_t kSignature = 0x464D4520;
constexpr std::size_t kSmallestHeader = 88;
constexpr std::uint32_t kStockObject = 0x80000000;

enum class Index { None, Object, ObjectOrStock };

Index HandleIndex(std::uint32_t type) {
    switch (type) {
    case 37:  // select object
        return Index::ObjectOrStock;
    case 38:  // create pen
    case 39:  // create brush
    case 40:  // delete object
    case 48:  // select palette
    case 49:  // create palette
    case 82:  // create font
    case 93:  // create mono brush
    case 94:  // create pattern brush
    case 95:  // create extended pen
    case 99:  // create colour space
    case 100:  // set colour space
    case 101:  // delete colour space
        return Index::Object;
    default:
        return Index::None;
    }
}

// Poly records and the bytes of one point: bounds, then a count, then the points.
std::uint64_t PointBytes(std::uint32_t type) {
    if (type >= 2 && type <= 6) return 8;    // poly-Bézier, polygon, polyline and their "to" forms
    if (type >= 85 && type <= 89) return 4;  // their 16-bit forms
    return 0;
}

// Poly-poly records: bounds, the number of polygons, the number of points, the counts, the points.
std::uint64_t PolyPolyPointBytes(std::uint32_t type) {
    if (type == 7 || type == 8) return 8;
    if (type == 90 || type == 91) return 4;
    return 0;
}

}  // namespace

bool Probe(std::span<const std::uint8_t> bytes) noexcept {
    ByteReader in(bytes);
    const std::uint32_t type = in.U32LE();
    in.Seek(40);
    return !in.Failed() && type == kHeaderType && in.U32LE() == kSignature && !in.Failed();
}

void CheckStructure(std::span<const std::uint8_t> bytes) {
    if (!Probe(bytes)) throw DecodeError("no enhanced metafile header");
    ByteReader in(bytes);
    in.Seek(4);
    const std::uint64_t headerSize = in.U32LE();
    in.Seek(56);
    const std::uint64_t handles = in.U16LE();
    in.Require("enhanced metafile header");
    if (headerSize < kSmallestHeader || headerSize % 4 != 0 || headerSize > bytes.size()) {
        throw DecodeError("enhanced metafile header size");
    }
    in.Seek(static_cast<std::size_t>(headerSize));
    while (in.Remaining() > 0) {
        const std::uint32_t type = in.U32LE();
        const std::uint64_t size = in.U32LE();
        in.Require("enhanced metafile record");
        if (size < 8 || size % 4 != 0 || size - 8 > in.Remaining()) {
            throw DecodeError("enhanced metafile record outside the file");
        }
        ByteReader params(in.Take(static_cast<std::size_t>(size - 8)));
        if (type == kEndType) return;
        const Index kind = HandleIndex(type);
        if (kind != Index::None) {
            const std::uint32_t index = params.U32LE();
            const bool stock = kind == Index::ObjectOrStock && (index & kStockObject) != 0;
            if (params.Failed() || (!stock && index >= handles)) throw DecodeError("object index past the table");
        }
        if (const std::uint64_t point = PointBytes(type); point != 0) {
            params.Skip(16);
            const std::uint32_t count = params.U32LE();
            params.Require("enhanced metafile points");
            RequirePoints(count, point, params.Remaining());
        }
        if (const std::uint64_t point = PolyPolyPointBytes(type); point != 0) {
            params.Skip(16);
            const std::uint64_t polygons = params.U32LE();
            const std::uint64_t points = params.U32LE();
            params.Require("enhanced metafile points");
            RequirePoints(polygons, 4, params.Remaining());
            std::uint64_t counted = 0;
            for (std::uint64_t p = 0; p < polygons; ++p) counted += params.U32LE();
            if (counted > points) throw DecodeError("more points than the record holds");
            RequirePoints(points, point, params.Remaining());
        }
    }
}

}  // namespace emf

}  // namespace imaging
