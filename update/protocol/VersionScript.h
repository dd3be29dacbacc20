#pragma once
// The version script a mirror serves (after number-list decoding): tagged fields in any order, text
// outside them ignored. Markers are found without regard to letter case, the first occurrence counts, and
// values are trimmed of spaces only (line breaks inside a value stay).

#include <cstdint>
#include <string>
#include <string_view>

namespace update::protocol {

// The update program's build as the scripts name it: a script carrying this size marker and a version no
// newer than the installed one offers nothing.
inline constexpr std::string_view kThisBuildMarker = "796941";

struct Version {
    std::int64_t major = 0;
    std::int64_t minor = 0;
    std::int64_t revision = 0;
    friend auto operator<=>(const Version&, const Version&) = default;
};

// The installed version as the settings hold it: empty or non-numeric parts count as 0.
Version VersionFromText(std::string_view major, std::string_view minor, std::string_view revision);

struct VersionScript {
    Version version;              // <maj> <min> <rev>
    std::string updwizDownloadUrl;  // /; ;/
    std::string updwizDlSize;       // ~@ @~
    std::string description;        // *{ {*
    std::string downloadUrl;        // {{ }}
    std::string websiteUrl;         // %* *%
    std::string screenShotUrl;      // £< >£
    std::string newVersionNo;       // :# #:
    std::string fileSize;           // +@ @+
    bool noUpdate = false;
};

// Parses the script against the installed version. When it offers nothing (`noUpdate`), the fields after
// the size marker are not read and stay empty. A field whose markers are missing, or whose closing marker
// stands before its opening one, is empty; a version field that is not a whole number is 0.
VersionScript ParseVersionScript(std::string_view script, const Version& installed);

// The field between the first `open` and the first `close` marker (letter case ignored), trimmed of spaces.
std::string ExtractField(std::string_view text, std::string_view open, std::string_view close);

}  // namespace update::protocol
