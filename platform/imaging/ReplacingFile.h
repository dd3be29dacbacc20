#pragma once
// A file written beside its target under a temporary name, which replaces the target only on Commit, so a
// save that fails half-way leaves the user's existing file as it was.

#include <string>

namespace imaging {

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
    // Moves the finished temporary file over the target. False (and the temporary file removed) on failure.
    bool Commit();

private:
    std::string target_;
    std::string temp_;
};

}  // namespace imaging
