#include "update/protocol/LinksList.h"
#include "update/protocol/WebAddress.h"

#include <gtest/gtest.h>

namespace {

using update::protocol::IsValidLinksList;
using update::protocol::IsWebAddress;
using update::protocol::LinksFileText;
using update::protocol::SameLines;

TEST(LinksList, AcceptsOnlyWebLinksWithCaptions) {
    struct Row {
        const char* text;
        bool valid;
    };
    const Row rows[] = {
        {"http://a.example/<name>Site A\r\nhttps://b.example/x?y=1<name>B", true},
        {"http://a.example/<name>Site A\n\nhttp://b.example/<name>B\n", true},
        {"HTTP://A.EXAMPLE/<name>Caps", true},
        {"", false},
        {"\r\n\r\n", false},
        {"http://a.example/<name>", false},
        {"http://a.example/<name>   ", false},
        {"http://a.example/ Site", false},
        {"C:\\Windows\\System32\\cmd.exe<name>Run me", false},
        {"file:///C:/x<name>Local", false},
        {"mailto:x@y.example<name>Mail", false},
        {"http://<name>No host", false},
        {"http://a.example/\"x<name>Quote", false},
        {"http://a.example/<name>Tab\there", false},
        {"http://a.example/<name>Good\r\nnot a link", false},
    };
    for (const auto& r : rows) EXPECT_EQ(IsValidLinksList(r.text), r.valid) << r.text;
}

TEST(LinksList, WebAddresses) {
    EXPECT_TRUE(IsWebAddress("http://h.example"));
    EXPECT_TRUE(IsWebAddress("https://h.example:8080/a/b.exe"));
    EXPECT_FALSE(IsWebAddress("http://h.example/a b"));
    EXPECT_FALSE(IsWebAddress("http://h.example/\x01"));
    EXPECT_FALSE(IsWebAddress("ftp://h.example/"));
    EXPECT_FALSE(IsWebAddress("http:/h.example/"));
    EXPECT_FALSE(IsWebAddress("\\\\server\\share\\x.exe"));
}

TEST(LinksList, ComparesLinesWhateverTheLineEnds) {
    EXPECT_TRUE(SameLines("\r\na<name>A\r\nb<name>B", "a<name>A\nb<name>B\n"));
    EXPECT_FALSE(SameLines("a<name>A\r\nb<name>B", "a<name>A"));  // a link removed
    EXPECT_EQ(LinksFileText("a<name>A\nb<name>B"), "a<name>A\r\nb<name>B\r\n");
}

}  // namespace
