#pragma once
// The tests' recorder program standing in for a program the core starts: copied where that program would be,
// it appends its command line to a file of the test's; the test waits until the lines it expects are there.

#include "tests/platform/forms/FormsTestSupport.h"

#include <windows.h>

#include <string>
#include <vector>

namespace coretest {

inline std::string RecorderProgram() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p = path;
    return p.substr(0, p.find_last_of('\\')) + "\\" + QV_RECORDER_RELPATH;
}

class Recorder {
public:
    explicit Recorder(std::string output) : output_(std::move(output)) {
        DeleteFileA(output_.c_str());
        SetEnvironmentVariableA("QV_RECORDER_OUT", output_.c_str());
    }
    ~Recorder() { SetEnvironmentVariableA("QV_RECORDER_OUT", nullptr); }
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // Places the recorder as `program`.
    static bool PlaceAs(const std::string& program) { return CopyFileA(RecorderProgram().c_str(), program.c_str(), FALSE); }

    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        const HANDLE file = CreateFileA(output_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return lines;
        std::string bytes(64 * 1024, '\0');
        DWORD read = 0;
        ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
        CloseHandle(file);
        bytes.resize(read);
        for (std::size_t start = 0, end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
            lines.push_back(bytes.substr(start, end - start));
        }
        return lines;
    }
    // Waits (bounded) until `count` lines were recorded.
    std::vector<std::string> WaitForLines(std::size_t count, DWORD ms = 20000) const {
        // The file gives no message when it grows: a timer makes the loop look again.
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, nullptr);
        formstest::PumpUntil([&] { return Lines().size() >= count; }, ms);
        KillTimer(nullptr, timer);
        return Lines();
    }

private:
    std::string output_;
};

}  // namespace coretest
