#pragma once
// Update packages by the kind their name says, and whether the bytes downloaded are such a package.

#include <string>
#include <string_view>

namespace update::protocol {

enum class PackageKind { Exe, Msi, Zip, Other };

// By the last three characters of the name, letter case ignored.
PackageKind KindOfName(std::string_view name);

// The first bytes of the file (at least the first 4 KB, or the whole file when smaller) match the kind:
// an executable's MZ and PE headers, the compound-file signature of an installer package, a zip archive's
// local header. A package of another kind is not checked here (it is never opened).
bool ContentMatchesKind(PackageKind kind, std::string_view head);

// How many leading bytes ContentMatchesKind needs at most.
inline constexpr std::size_t kPackageHeadBytes = 4096;

}  // namespace update::protocol
