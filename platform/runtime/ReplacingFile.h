#pragma once
// A file written beside its target under a temporary name, which replaces the target only on Commit, so a
// save that fails half-way leaves the user's existing file as it was. Every writer that replaces a user's
// file goes through it.

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace forms {

class ReplacingFile {
public:
    // Creates the temporary file in the target's folder; Valid() is false when that is not possible.
    explicit ReplacingFile(std::string target);
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;
    // Removes the temporary file unless it was committed.
    ~ReplacingFile();

    bool Valid() const noexcept { return !temp_.empty(); }
    const std::string& TempPath() const noexcept { return temp_; }
    // Moves the finished temporary file over the target. False (and the temporary file removed) on failure;
    // GetLastError() then tells why. A read-only target is not replaced.
    bool Commit();

private:
    std::string target_;
    std::string temp_;
};

// Makes `bytes` the whole content of `path`, through a ReplacingFile; the new file gets the attributes given.
// Raises the runtime's file errors (FileErrors.h); on failure the target is as it was.
void ReplaceWholeFile(const std::string& path, std::string_view bytes,
                      DWORD attributes = FILE_ATTRIBUTE_NORMAL);

// Test seam: once set, ReplaceWholeFile's writes stop after that many bytes and fail as on a full disk.
void FailReplacingWritesAfter(std::optional<std::size_t> bytes);

}  // namespace forms
