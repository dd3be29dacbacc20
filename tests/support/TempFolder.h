#pragma once
// A fresh folder for one test under the system's temporary folder, removed with everything in it when the
// object goes, also when an assertion ends the test early. Named after the process and the running test, so
// parallel test binaries never share one.

#include <string>
#include <string_view>
#include <vector>

namespace qvtest {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const noexcept { return path_; }
    std::string operator/(std::string_view name) const { return path_ + "\\" + std::string(name); }

    // Writes the bytes as the whole file (the test fails when it cannot).
    void Write(std::string_view name, std::string_view bytes) const;
    // The whole file, or "" when it cannot be read.
    std::string Read(std::string_view name) const;
    // The names of the files directly inside, in the order the system lists them.
    std::vector<std::string> Files() const;

private:
    std::string path_;
};

// Writes the bytes as the whole file at path (the test fails when it cannot).
void WriteWholeFile(const std::string& path, std::string_view bytes);
// The whole file at path, or "" when it cannot be read.
std::string ReadWholeFile(const std::string& path);

}  // namespace qvtest
