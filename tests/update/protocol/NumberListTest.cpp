#include "update/protocol/NumberList.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using update::protocol::DecodeFieldList;
using update::protocol::DecodeVersionList;
using update::protocol::EncodeNumberList;

struct Case {
    const char* name;
    std::string body;
    std::optional<std::string> version;  // DecodeVersionList
    std::optional<std::string> fields;   // DecodeFieldList
};

// "A" is 65 ^ 371 = 306, "b" 98 ^ 371 = 273, "\r" 13 ^ 371 = 382.
const Case kCases[] = {
    {"two spaces", "306  273", "Ab", "Ab"},
    {"blanks and line end around the list", " \r\n306  273\r\n", "Ab", "Ab"},
    {"three spaces: the extra one belongs to a piece", "306   273", "Ab", "Ab"},
    {"one space", "306 273", std::nullopt, "Ab"},
    {"line end between pieces", "306\r\n273", std::nullopt, "Ab"},
    {"comma between fields", "306, 273", std::nullopt, "Ab"},
    {"letters", "306  abc", std::nullopt, std::nullopt},
    {"an error page", "<html>404</html>", std::nullopt, std::nullopt},
    {"outside 0-255 after the key", "306  1000", std::nullopt, std::nullopt},
    {"over 32 bits", "306  4294967667", std::nullopt, std::nullopt},
    {"just over INT32_MAX", "2147483648", std::nullopt, std::nullopt},
    {"negative", "-306", std::nullopt, std::nullopt},
    {"empty", "", std::nullopt, std::nullopt},
    {"blanks only", " \r\n ", std::nullopt, std::nullopt},
    {"trailing junk", "306  273  x", std::nullopt, std::nullopt},
    {"trailing separator", "306  273  ", "Ab", "Ab"},
    {"empty piece between separators", "306    273", std::nullopt, "Ab"},
    {"a comma with nothing after it", "306,", std::nullopt, std::nullopt},
    {"decimal point", "306.0", std::nullopt, std::nullopt},
    {"line end as a character", "306  382", "A\r", "A\r"},
};

TEST(NumberList, DecodesOnlyWellFormedLists) {
    for (const auto& c : kCases) {
        EXPECT_EQ(DecodeVersionList(c.body), c.version) << c.name;
        EXPECT_EQ(DecodeFieldList(c.body), c.fields) << c.name;
    }
}

TEST(NumberList, CodesAreWindows1252TurnedIntoUtf8) {
    // 163 (pound), 233 (e acute), 128 (euro), 0x81 (undefined: its own control character).
    const std::string body = std::to_string(163 ^ 371) + "  " + std::to_string(233 ^ 371) + "  " +
                             std::to_string(128 ^ 371) + "  " + std::to_string(0x81 ^ 371);
    EXPECT_EQ(DecodeVersionList(body), "\xC2\xA3\xC3\xA9\xE2\x82\xAC\xC2\x81");
}

TEST(NumberList, EncodingRoundTrips) {
    const std::string text = "<maj>3</maj>\r\n\xC2\xA3< x >\xC2\xA3 caf\xC3\xA9 \xE2\x82\xAC";
    const auto encoded = EncodeNumberList(text);
    ASSERT_TRUE(encoded);
    EXPECT_EQ(DecodeVersionList(*encoded), text);
    EXPECT_EQ(DecodeFieldList(*EncodeNumberList(text, " ")), text);
    EXPECT_FALSE(EncodeNumberList("\xE4\xB8\xAD"));  // not in Windows-1252
}

}  // namespace
