#include "update/protocol/PackageKind.h"
#include "update/protocol/RuntimeVersion.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using update::protocol::ContentMatchesKind;
using update::protocol::KindOfName;
using update::protocol::PackageKind;

std::string Executable(std::uint32_t peOffset = 0x80, std::size_t size = 0x200) {
    std::string b(size, '\0');
    b[0] = 'M';
    b[1] = 'Z';
    for (int i = 0; i < 4; ++i) b[0x3C + i] = static_cast<char>((peOffset >> (8 * i)) & 0xFF);
    if (peOffset + 4 <= size) b.replace(peOffset, 4, std::string("PE\0\0", 4));
    return b;
}

TEST(PackageKind, ByName) {
    EXPECT_EQ(KindOfName("http://x/a/QV306.EXE"), PackageKind::Exe);
    EXPECT_EQ(KindOfName("setup.msi"), PackageKind::Msi);
    EXPECT_EQ(KindOfName("u.Zip"), PackageKind::Zip);
    EXPECT_EQ(KindOfName("notes.txt"), PackageKind::Other);
    EXPECT_EQ(KindOfName("ex"), PackageKind::Other);
}

TEST(PackageKind, ContentChecks) {
    struct Row {
        const char* name;
        PackageKind kind;
        std::string bytes;
        bool matches;
    };
    const Row rows[] = {
        {"executable", PackageKind::Exe, Executable(), true},
        {"html served as exe", PackageKind::Exe, "<html><body>Not found</body></html>", false},
        {"MZ without PE", PackageKind::Exe, Executable(0x80).replace(0x80, 2, "XX"), false},
        {"PE offset past the bytes", PackageKind::Exe, Executable(0x7FFFFFF0), false},
        {"PE offset inside the DOS header", PackageKind::Exe, Executable(0x3C), false},
        {"short MZ", PackageKind::Exe, "MZ", false},
        {"installer", PackageKind::Msi, std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1rest", 12), true},
        {"zip given as msi", PackageKind::Msi, std::string("PK\x03\x04", 4), false},
        {"zip", PackageKind::Zip, std::string("PK\x03\x04....", 8), true},
        {"empty zip archive (end record only)", PackageKind::Zip, std::string("PK\x05\x06", 4), false},
        {"empty file", PackageKind::Zip, "", false},
    };
    for (const auto& r : rows) EXPECT_EQ(ContentMatchesKind(r.kind, r.bytes), r.matches) << r.name;
}

TEST(RuntimeVersion, ThresholdComparesWordsAsNumbers) {
    using update::protocol::IsOlderRuntime;
    struct Row {
        update::protocol::FourWords words;
        bool old;
    };
    const Row rows[] = {
        {{6, 0, 84, 95}, false}, {{6, 0, 84, 94}, true},  {{6, 0, 9, 8}, true},    {{6, 0, 100, 0}, false},
        {{6, 1, 0, 0}, false},   {{5, 40000, 0, 0}, true}, {{6, 0, 40000, 0}, false}, {{0, 0, 0, 0}, true},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(IsOlderRuntime(r.words), r.old) << update::protocol::JoinedVersionText(r.words);
    }
    EXPECT_EQ(update::protocol::JoinedVersionText({6, 0, 84, 95}), "608495");
}

}  // namespace
