#include "platform/shortcuts/ShellLink.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <memory>
#include <vector>
#include "platform/runtime/ReplacingFile.h"
#include "platform/runtime/Strings.h"

namespace shortcuts {

namespace {

struct Releaser {
    void operator()(IUnknown* p) const noexcept { p->Release(); }
};
template <class T>
using Interface = std::unique_ptr<T, Releaser>;

std::string SpecialFolder(int csidl) {
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
    return path;
}

std::string WindowsFolder() {
    char path[MAX_PATH] = {};
    const UINT n = GetWindowsDirectoryA(path, MAX_PATH);
    return std::string(path, n < MAX_PATH ? n : 0);
}

bool IsAbsolute(const std::string& path) {
    return (path.size() >= 2 && path[1] == ':') || (path.size() >= 2 && path[0] == '\\' && path[1] == '\\');
}

bool SameName(const std::string& a, const char* b) { return lstrcmpiA(a.c_str(), b) == 0; }

std::string Join(const std::string& base, const std::vector<std::string>& parts, size_t from) {
    std::string result = base;
    for (size_t i = from; i < parts.size(); ++i) {
        if (!result.empty() && result.back() != '\\') result += '\\';
        result += parts[i];
    }
    return result;
}

// Creates the folder and its parents; true when it exists afterwards.
bool EnsureFolder(const std::string& folder) {
    const int status = SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
    if (status == ERROR_SUCCESS || status == ERROR_ALREADY_EXISTS || status == ERROR_FILE_EXISTS) {
        const DWORD a = GetFileAttributesA(folder.c_str());
        return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
    }
    return false;
}

}  // namespace

std::string ResolveStartMenuPath(const std::string& path) {
    if (IsAbsolute(path)) return path;
    // Walk the old layout: segments below the Windows folder.
    std::vector<std::string> parts{"Start Menu", "Programs"};
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find_first_of("\\/", start);
        if (end == std::string::npos) end = path.size();
        const std::string part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    if (!parts.empty() && SameName(parts[0], "Desktop")) return Join(SpecialFolder(CSIDL_DESKTOPDIRECTORY), parts, 1);
    if (!parts.empty() && SameName(parts[0], "Application Data")) return Join(SpecialFolder(CSIDL_APPDATA), parts, 1);
    if (!parts.empty() && SameName(parts[0], "Start Menu")) {
        if (parts.size() >= 2 && SameName(parts[1], "Programs")) return Join(SpecialFolder(CSIDL_PROGRAMS), parts, 2);
        return Join(SpecialFolder(CSIDL_STARTMENU), parts, 1);
    }
    return Join(WindowsFolder(), parts, 0);
}

bool fCreateShellLink(const std::string& folder, const std::string& linkName, const std::string& target,
                      const std::string& arguments) {
    const std::string where = ResolveStartMenuPath(folder);
    if (where.empty() || !EnsureFolder(where)) return false;
    std::string name = linkName;
    while (!name.empty() && name.front() == '\\') name.erase(0, 1);
    const std::string file = where + (where.back() == '\\' ? "" : "\\") + name + ".lnk";

    IShellLinkA* rawLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&rawLink))))
        return false;
    const Interface<IShellLinkA> link(rawLink);
    link->SetPath(target.c_str());
    link->SetArguments(arguments.c_str());
    const size_t slash = target.find_last_of('\\');
    if (slash != std::string::npos) link->SetWorkingDirectory(target.substr(0, slash).c_str());
    IPersistFile* rawPersist = nullptr;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&rawPersist)))) return false;
    const Interface<IPersistFile> persist(rawPersist);
    // A link already there is replaced only by a complete new one.
    forms::ReplacingFile replacing(file);
    return replacing.Valid() && SUCCEEDED(persist->Save(forms::ToWide(replacing.TempPath()).c_str(), FALSE)) &&
           replacing.Commit();
}

}  // namespace shortcuts
