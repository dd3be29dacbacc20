#include "update/protocol/VersionScript.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using update::protocol::ExtractField;
using update::protocol::ParseVersionScript;
using update::protocol::Version;
using update::protocol::VersionFromText;

const std::string kScript =
    "comment\r\n<maj>3</maj><min>0</min><rev>6</rev>/;http://a.example/u;/~@796941@~"
    "*{ New:\r\nfaster {*{{http://dl.example/qv306.exe}}%*http://www.example/qv*%"
    "\xC2\xA3<http://shots.example/>\xC2\xA3:#3.0.6#:+@123456@+ trailer";

TEST(VersionScript, ReadsEveryFieldOfAnOffer) {
    const auto s = ParseVersionScript(kScript, {3, 0, 5});
    EXPECT_FALSE(s.noUpdate);
    EXPECT_EQ(s.version, (Version{3, 0, 6}));
    EXPECT_EQ(s.updwizDownloadUrl, "http://a.example/u");
    EXPECT_EQ(s.updwizDlSize, "796941");
    EXPECT_EQ(s.description, "New:\r\nfaster");  // spaces trimmed, the line break kept
    EXPECT_EQ(s.downloadUrl, "http://dl.example/qv306.exe");
    EXPECT_EQ(s.websiteUrl, "http://www.example/qv");
    EXPECT_EQ(s.screenShotUrl, "http://shots.example/");
    EXPECT_EQ(s.newVersionNo, "3.0.6");
    EXPECT_EQ(s.fileSize, "123456");
}

TEST(VersionScript, MarkersInAnyOrderAndCaseFirstOccurrenceWins) {
    const auto s = ParseVersionScript(
        "+@9@+ {{HTTP://X.EXAMPLE/A.EXE}} <MAJ>4</MAJ> <Min>1</mIN> <rev>2</rev> {{http://second}} ~@1@~",
        {3, 0, 0});
    EXPECT_EQ(s.version, (Version{4, 1, 2}));
    EXPECT_EQ(s.downloadUrl, "HTTP://X.EXAMPLE/A.EXE");
    EXPECT_EQ(s.fileSize, "9");
}

TEST(VersionScript, MissingOrReversedMarkersGiveEmptyFields) {
    EXPECT_EQ(ExtractField("abc}}def", "{{", "}}"), "");
    EXPECT_EQ(ExtractField("{{abc", "{{", "}}"), "");
    EXPECT_EQ(ExtractField("}} x {{", "{{", "}}"), "");
    EXPECT_EQ(ExtractField("*{*", "*{", "{*"), "");  // overlapping markers
    const auto s = ParseVersionScript("<maj>x</maj>~@1@~", {});
    EXPECT_EQ(s.version, (Version{0, 0, 0}));
    EXPECT_EQ(s.downloadUrl, "");
}

TEST(VersionScript, NoUpdateRule) {
    struct Row {
        const char* name;
        const char* script;
        Version installed;
        bool noUpdate;
    };
    const Row rows[] = {
        {"equal", "<maj>3</maj><min>0</min><rev>5</rev>~@796941@~", {3, 0, 5}, true},
        {"marker with spaces", "<maj>3</maj><min>0</min><rev>5</rev>~@ 796941 @~", {3, 0, 5}, true},
        {"marker with a leading zero", "<maj>3</maj><min>0</min><rev>5</rev>~@0796941@~", {3, 0, 5}, false},
        {"older script, one version", "<maj>2</maj><min>9</min><rev>9</rev>~@796941@~", {3, 0, 5}, true},
        {"newer revision", "<maj>3</maj><min>0</min><rev>6</rev>~@796941@~", {3, 0, 5}, false},
        {"ten against nine", "<maj>10</maj><min>0</min><rev>0</rev>~@796941@~", {9, 9, 9}, false},
        {"empty installed major", "<maj>1</maj><min>0</min><rev>0</rev>~@796941@~",
         VersionFromText("", "0", "0"), false},
        {"another build", "<maj>1</maj><min>0</min><rev>0</rev>~@796942@~", {3, 0, 5}, false},
    };
    for (const auto& r : rows) {
        const auto s = ParseVersionScript(std::string(r.script) + "{{http://x.example/a.exe}}", r.installed);
        EXPECT_EQ(s.noUpdate, r.noUpdate) << r.name;
        // The fields after the marker are read only for an offer.
        EXPECT_EQ(s.downloadUrl.empty(), r.noUpdate) << r.name;
    }
}

TEST(VersionScript, InstalledVersionText) {
    EXPECT_EQ(VersionFromText(" 02 ", "x", ""), (Version{2, 0, 0}));
    EXPECT_EQ(VersionFromText("99999999999", "1", "2"), (Version{0, 1, 2}));
}

TEST(VersionScript, LongScriptHasNoLengthLimit) {
    std::string script(40000, 'x');
    script += "<maj>9</maj>~@1@~{{http://far.example/a.exe}}";
    EXPECT_EQ(ParseVersionScript(script, {}).downloadUrl, "http://far.example/a.exe");
}

}  // namespace
