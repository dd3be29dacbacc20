// Stands in for a program that the suite starts: appends its whole command line, and a CR LF, to the file
// that the environment variable QV_RECORDER_OUT names, then ends. Without the variable it does nothing.
// Tests read the file to see what was started and how often.

#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char target[MAX_PATH * 2] = {};
    const DWORD n = GetEnvironmentVariableA("QV_RECORDER_OUT", target, sizeof target);
    if (n == 0 || n >= sizeof target) return 2;
    const std::string line = std::string(GetCommandLineA()) + "\r\n";
    // Appending is one write at the end of the file, so several starts never overwrite each other.
    const HANDLE file = CreateFileA(target, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 3;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == line.size() ? 0 : 4;
}
