#pragma once
// Every address the update program uses, in one place. The built-in hosts are placeholders under the
// reserved domain "example", so the shipped program contacts no real server; each base is an absolute
// address ending in "/", and fixed paths are appended without their leading "/". No setting overrides them.

#include <array>
#include <string_view>

namespace update::config {

struct Mirror {
    std::string_view base;
    std::string_view host;
};

// Mirror 0 is the primary web root (the wizard's BaseURL at load).
inline constexpr std::array<Mirror, 5> kMirrors{{
    {"http://www.orvane.example/", "www.orvane.example"},
    {"http://uk2.orvane-mirror.example/", "uk2.orvane-mirror.example"},
    {"http://uk3.orvane-mirror.example/", "uk3.orvane-mirror.example"},
    {"http://us1.orvane-mirror.example/", "us1.orvane-mirror.example"},
    {"http://us2.orvane-mirror.example/", "us2.orvane-mirror.example"},
}};

// The "f" key's internal test server.
inline constexpr std::string_view kTestServerBase = "http://test.orvane.example/";

// The maker's site and its fixed pages.
inline constexpr std::string_view kSite = "http://www.orvane.example/";
inline constexpr std::string_view kDownloadScript = "cgi-bin/download.pl";
inline constexpr std::string_view kSupportPages = "support/quillview23/";
inline constexpr std::string_view kWindowsInstallerPage = "support/windows_installer";
inline constexpr std::string_view kFormMailScript = "cgi-bin/mail/formmail.pl";

// The secondary host, which holds the runtime pack.
inline constexpr std::string_view kSecondaryHost = "http://files.orvane.example/";
inline constexpr std::string_view kRuntimePack = "quillview/vbrun60.exe";

inline constexpr std::string_view kSupportEmail = "support@orvane.example";
inline constexpr std::string_view kSubmissionsEmail = "submissions@orvane.example";

}  // namespace update::config
