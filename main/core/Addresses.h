#pragma once
// The addresses the main program shows or opens. Placeholder hosts under the reserved "example" domain, so
// the program contacts no real server; the update program's own configuration uses the same maker's site.

namespace addresses {

// The support mailbox named in the error and missing-file messages.
inline constexpr char kSupportAddress[] = "support@quillview.example";
// The maker's site (ends in "/"); its support pages are under "support/".
inline constexpr char kMakerSite[] = "http://www.orvane.example/";
// The host of the support pages.
inline constexpr char kSupportHost[] = "www.orvane.example";
// The product's own site, as shown to the user.
inline constexpr char kProductSite[] = "www.quillview.example";
// The home page of the maker's imaging site: the Go menu's imaging homepage, and the sibling-product box.
inline constexpr char kImagingSite[] = "http://www.vividimaging.example/";
// The product's home page and the artist's gallery that the Go menu opens.
inline constexpr char kProductHome[] = "http://www.quillview.example/";
inline constexpr char kArtistSite[] = "http://www.tobinmarsh.example";

}  // namespace addresses
