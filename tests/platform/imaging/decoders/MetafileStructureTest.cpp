#include "platform/imaging/decoders/MetafileStructure.h"

#include <gtest/gtest.h>

#include <optional>

#include "TestBytes.h"

namespace imaging::test {
namespace {

// A metafile of `objects` table entries with the records as given (each record's size in words first).
Bytes Wmf(unsigned objects, const Bytes& records, bool placeable = false) {
    ByteWriter w;
    if (placeable) w.U32LE(0x9AC6CDD7).U16LE(0).U16LE(0).U16LE(0).U16LE(100).U16LE(100).U16LE(1440).U32LE(0).U16LE(0);
    w.U16LE(1).U16LE(9).U16LE(0x300).U32LE(0).U16LE(objects).U32LE(16).U16LE(0);
    return w.Append(records).Get();
}

Bytes Record(std::uint32_t words, unsigned function, const Bytes& params = {}) {
    return ByteWriter().U32LE(words).U16LE(function).Append(params).Get();
}

Bytes Join(std::initializer_list<Bytes> parts) {
    ByteWriter w;
    for (const Bytes& p : parts) w.Append(p);
    return w.Get();
}

const Bytes kWmfEnd = Record(3, 0);

TEST(MetafileStructure, AcceptsWellFormedMetafiles) {
    const Bytes select = Record(4, 0x012D, ByteWriter().U16LE(0).Get());
    const Bytes polygon = Record(8, 0x0324, ByteWriter().U16LE(2).Repeat(0, 8).Get());
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"placeable, a selection within the table", Wmf(1, Join({select, polygon, kWmfEnd}), true)},
        {"no end record", Wmf(1, select)},
    };
    for (const auto& [name, file] : cases) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(wmf::Probe(file));
        EXPECT_NO_THROW(wmf::CheckStructure(file));
    }
}

TEST(MetafileStructure, RefusesRecordsThePlayerWouldFollowOutOfBounds) {
    const std::vector<RefusedCase> cases = {
        // The system's player reads the object table at this index.
        {"select past the object table", Wmf(1, Join({Record(4, 0x012D, {0x10, 0}), kWmfEnd})), "object index past the table"},
        {"delete past the object table", Wmf(0, Join({Record(4, 0x01F0, {0, 0}), kWmfEnd})), "object index past the table"},
        {"fill region's brush past the table", Wmf(1, Join({Record(5, 0x0228, {0, 0, 1, 0}), kWmfEnd})),
         "object index past the table"},
        {"a record of size 0", Wmf(0, Join({Record(0, 0x0201), kWmfEnd})), "outside the file"},
        {"a record longer than the file", Wmf(0, Record(0x7FFFFFFF, 0x0201, {0, 0, 0, 0})), "outside the file"},
        {"more polygon points than the record holds", Wmf(0, Join({Record(8, 0x0324, ByteWriter().U16LE(32767).Repeat(0, 8).Get()), kWmfEnd})),
         "more points than the record holds"},
        {"poly-polygon counts beyond the record",
         Wmf(0, Join({Record(7, 0x0538, ByteWriter().U16LE(1).U16LE(500).Repeat(0, 4).Get()), kWmfEnd})),
         "more points than the record holds"},
        {"no header", ByteWriter().U16LE(1).U16LE(8).Repeat(0, 20).Get(), "no metafile header"},
        {"header cut", Bytes{1, 0, 9, 0, 0, 3}, "metafile header"},
    };
    ExpectRefused([](std::span<const std::uint8_t> bytes) { wmf::CheckStructure(bytes); }, cases);
}

// An enhanced metafile with `handles` table entries and the records as given, then the end record.
Bytes Emf(unsigned handles, const Bytes& records, bool end = true) {
    ByteWriter w;
    w.U32LE(1).U32LE(88);
    w.U32LE(0).U32LE(0).U32LE(100).U32LE(100).U32LE(0).U32LE(0).U32LE(2000).U32LE(2000);
    w.U32LE(0x464D4520).U32LE(0x10000).U32LE(0).U32LE(0).U16LE(handles).U16LE(0);
    w.U32LE(0).U32LE(0).U32LE(0).U32LE(1024).U32LE(768).U32LE(320).U32LE(240);
    w.Append(records);
    if (end) w.U32LE(14).U32LE(20).U32LE(0).U32LE(0).U32LE(20);
    return w.Get();
}

Bytes EmfRecord(std::uint32_t type, const Bytes& params, std::optional<std::uint32_t> size = std::nullopt) {
    return ByteWriter().U32LE(type).U32LE(size.value_or(static_cast<std::uint32_t>(8 + params.size()))).Append(params).Get();
}

Bytes Index(std::uint32_t index) { return ByteWriter().U32LE(index).Get(); }

// A poly record of `type`: bounds, the count, and `points` bytes of points.
Bytes Poly(std::uint32_t type, std::uint32_t count, std::size_t pointBytes) {
    return EmfRecord(type, ByteWriter().Repeat(0, 16).U32LE(count).Repeat(0, pointBytes).Get());
}

TEST(EnhancedMetafileStructure, AcceptsWellFormedFiles) {
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"an object created, selected and deleted within the table",
         Emf(2, Join({EmfRecord(39, ByteWriter().U32LE(1).Repeat(0, 12).Get()), EmfRecord(37, Index(1)),
                      EmfRecord(40, Index(1))}))},
        {"a stock object selected", Emf(1, EmfRecord(37, Index(0x80000005)))},
        {"polygons of both widths that fit", Emf(1, Join({Poly(3, 2, 16), Poly(86, 2, 8)}))},
        {"a poly-polygon that fits",
         Emf(1, EmfRecord(91, ByteWriter().Repeat(0, 16).U32LE(2).U32LE(3).U32LE(1).U32LE(2).Repeat(0, 12).Get()))},
    };
    for (const auto& [name, file] : cases) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(emf::Probe(file));
        EXPECT_NO_THROW(emf::CheckStructure(file));
    }
}

TEST(EnhancedMetafileStructure, RefusesRecordsThePlayerWouldFollowOutOfBounds) {
    const Bytes empty = Emf(1, {});
    const std::vector<RefusedCase> cases = {
        {"select past the handle table", Emf(1, EmfRecord(37, Index(5000))), "object index past the table"},
        {"delete past the handle table", Emf(1, EmfRecord(40, Index(5000))), "object index past the table"},
        {"delete of a stock object", Emf(1, EmfRecord(40, Index(0x80000005))), "object index past the table"},
        {"create past the handle table", Emf(1, EmfRecord(38, ByteWriter().U32LE(1).Repeat(0, 16).Get())),
         "object index past the table"},
        // The player never gets past a record of size 0.
        {"a record of size 0", Emf(1, EmfRecord(27, Bytes(8, 0), 0)), "outside the file"},
        {"a record size not a multiple of 4", Emf(1, EmfRecord(27, Bytes(8, 0), 15)), "outside the file"},
        {"a record longer than the file", Emf(1, EmfRecord(27, Bytes(8, 0), 0x7FFFFFF8), false), "outside the file"},
        {"a 16-bit polygon counting past its record", Emf(1, Poly(86, 0x7FFFFFFF, 8)), "more points than the record holds"},
        {"a polyline counting past its record", Emf(1, Poly(4, 3, 16)), "more points than the record holds"},
        {"a poly-polygon's counts beyond its points",
         Emf(1, EmfRecord(91, ByteWriter().Repeat(0, 16).U32LE(2).U32LE(1).U32LE(1).U32LE(2).Repeat(0, 4).Get())),
         "more points than the record holds"},
        {"a header size beyond the file", ByteWriter().U32LE(1).U32LE(0x7FFFFFFC).Append(Bytes(empty.begin() + 8, empty.end())).Get(),
         "header size"},
        {"no signature", Bytes(100, 1), "no enhanced metafile header"},
    };
    ExpectRefused([](std::span<const std::uint8_t> bytes) { emf::CheckStructure(bytes); }, cases);
}

}  // namespace
}  // namespace imaging::test
