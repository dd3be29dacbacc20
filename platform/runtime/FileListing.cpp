#include "platform/runtime/FileListing.h"

#include "platform/runtime/DriveFolders.h"
#include "platform/runtime/OwnedHandles.h"
#include "platform/runtime/Paths.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Strings.h"

#include <windows.h>

#include <algorithm>

namespace forms {
namespace {

// The sort and match key of a name: UTF-16 in the system's upper case, compared code unit by code unit,
// which is CompareStringOrdinal's order with case ignored.
void UpperKey(std::string_view name, std::wstring& key) {
    ToWide(name, key);
    if (!key.empty()) CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
}

bool Wild(const wchar_t* s, const wchar_t* se, const wchar_t* p, const wchar_t* pe) {
    const wchar_t* star = nullptr;
    const wchar_t* resume = nullptr;
    while (s < se) {
        if (p < pe && (*p == L'?' || *p == *s)) {
            ++s;
            ++p;
        } else if (p < pe && *p == L'*') {
            star = ++p;
            resume = s;
        } else if (star) {
            p = star;
            s = ++resume;
        } else {
            return false;
        }
    }
    while (p < pe && *p == L'*') ++p;
    return p == pe;
}

class Patterns {
public:
    explicit Patterns(std::string_view pattern) {
        std::wstring key;
        size_t start = 0;
        while (start <= pattern.size()) {
            size_t end = pattern.find(';', start);
            if (end == std::string_view::npos) end = pattern.size();
            std::string_view part = pattern.substr(start, end - start);
            while (!part.empty() && part.front() == ' ') part.remove_prefix(1);
            while (!part.empty() && part.back() == ' ') part.remove_suffix(1);
            if (!part.empty()) {
                UpperKey(part, key);
                list_.push_back(key);
            }
            start = end + 1;
        }
    }
    bool Empty() const noexcept { return list_.empty(); }
    bool Matches(const std::wstring& key) const {
        const wchar_t* s = key.data();
        const wchar_t* se = s + key.size();
        for (const std::wstring& p : list_) {
            const wchar_t* pb = p.data();
            const wchar_t* pe = pb + p.size();
            if (Wild(s, se, pb, pe)) return true;
            // "x.*" also takes a name without an extension, as "*.*" lists every file.
            if (p.size() >= 2 && pe[-2] == L'.' && pe[-1] == L'*' && key.find(L'.') == std::wstring::npos &&
                Wild(s, se, pb, pe - 2))
                return true;
        }
        return false;
    }

private:
    std::vector<std::wstring> list_;
};

struct Entry {
    std::wstring key;
    std::string name;
};

enum class Kind { Files, Folders };

struct RawEntry {
    std::string name;
    DWORD attributes;
};

// The last folder read while a ListingSnapshot is held on this thread. Each kind is listed from it once: a
// second listing of the same kind (a refresh after a handler saved or moved a file) reads the disk again.
struct Snapshot {
    int holders = 0;
    bool filled = false;
    std::string folder;
    std::vector<RawEntry> entries;
    bool served[2] = {false, false};  // by Kind
};
thread_local Snapshot g_snapshot;

std::vector<RawEntry> Read(const std::string& folder) {
    WIN32_FIND_DATAA found;
    UniqueFind search(NullIfInvalid(FindFirstFileA(JoinPath(folder, "*").c_str(), &found)));
    if (!search) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES) return {};
        throw RuntimeError(error == ERROR_NOT_READY ? err::DeviceUnavailable : err::PathNotFound);
    }
    std::vector<RawEntry> entries;
    do entries.push_back(RawEntry{found.cFileName, found.dwFileAttributes});
    while (FindNextFileA(search.get(), &found));
    return entries;
}

// The folder's entries: from the snapshot when it holds that folder, else read (and kept while held).
const std::vector<RawEntry>& EntriesOf(const std::string& folder, Kind kind, std::vector<RawEntry>& own) {
    Snapshot& snapshot = g_snapshot;
    if (snapshot.holders == 0) return own = Read(folder);
    bool& served = snapshot.served[static_cast<int>(kind)];
    if (!snapshot.filled || served || !TextEquals(snapshot.folder, folder)) {
        snapshot.entries = Read(folder);
        snapshot.folder = folder;
        snapshot.filled = true;
        snapshot.served[0] = snapshot.served[1] = false;
    }
    served = true;
    return snapshot.entries;
}

std::vector<std::string> List(const std::string& folder, Kind kind, const Patterns* patterns) {
    std::vector<RawEntry> own;
    std::vector<Entry> entries;
    std::wstring key;
    for (const RawEntry& found : EntriesOf(folder, kind, own)) {
        const DWORD a = found.attributes;
        if (a & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) continue;
        const bool isFolder = (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (isFolder != (kind == Kind::Folders)) continue;
        const std::string_view name(found.name);
        if (isFolder && (name == "." || name == "..")) continue;
        UpperKey(name, key);
        if (patterns && !patterns->Matches(key)) continue;
        entries.push_back(Entry{key, std::string(name)});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.key < b.key; });
    std::vector<std::string> names;
    names.reserve(entries.size());
    for (Entry& e : entries) names.push_back(std::move(e.name));
    return names;
}

bool IsDriveText(std::string_view given) {
    const auto c = static_cast<unsigned char>(given.empty() ? 0 : given[0]);
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    return letter && given.size() >= 2 && given[1] == ':' && (given.size() == 2 || given[2] == ' ');
}

bool IsFolder(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string WithoutTrailingSlash(std::string path) {
    const bool driveRoot = path.size() == 3 && path[1] == ':';
    while (!driveRoot && path.size() > 1 && (path.back() == '\\' || path.back() == '/')) {
        path.pop_back();
        if (path.size() == 2 && path[1] == ':') {  // "C:\\" came down to "C:"
            path += '\\';
            break;
        }
    }
    return path;
}

void CheckDrive(const std::string& path) {
    if (path.size() < 2 || path[1] != ':') return;
    const char root[4] = {path[0], ':', '\\', '\0'};
    if (GetDriveTypeA(root) == DRIVE_NO_ROOT_DIR) throw RuntimeError(err::DeviceUnavailable);
}

}  // namespace

ListingSnapshot::ListingSnapshot() noexcept { ++g_snapshot.holders; }

ListingSnapshot::~ListingSnapshot() {
    if (--g_snapshot.holders == 0) g_snapshot = Snapshot{};
}

bool MatchesPattern(std::string_view name, std::string_view pattern) {
    std::wstring key;
    UpperKey(name, key);
    return Patterns(pattern).Matches(key);
}

std::string CheckedListFolder(std::string_view given) {
    std::string path;
    if (IsDriveText(given)) {
        path = DriveFolder(given[0]);
        CheckDrive(path);
        // The drive's last folder may have gone meanwhile: its nearest ancestor stands in.
        while (!IsFolder(path) && !IsDriveRoot(path)) {
            const std::string up = FolderOf(path);
            if (up.empty() || up == path) break;
            path = up;
        }
    } else {
        const std::string text(given);
        char full[MAX_PATH * 4];
        const DWORD n = text.empty() ? 0 : GetFullPathNameA(text.c_str(), sizeof full, full, nullptr);
        if (n == 0 || n >= sizeof full) throw RuntimeError(err::PathNotFound);
        path = WithoutTrailingSlash(std::string(full, n));
        CheckDrive(path);
    }
    const DWORD a = GetFileAttributesA(path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error == ERROR_NOT_READY || error == ERROR_INVALID_DRIVE || error == ERROR_DEV_NOT_EXIST)
            throw RuntimeError(err::DeviceUnavailable);
        throw RuntimeError(err::PathNotFound);
    }
    if (!(a & FILE_ATTRIBUTE_DIRECTORY)) throw RuntimeError(err::PathNotFound);
    return path;
}

std::vector<std::string> ListFiles(const std::string& folder, std::string_view pattern) {
    const Patterns patterns(pattern);
    if (patterns.Empty()) return {};
    return List(folder, Kind::Files, &patterns);
}

std::vector<std::string> ListSubfolders(const std::string& folder) { return List(folder, Kind::Folders, nullptr); }

}  // namespace forms
