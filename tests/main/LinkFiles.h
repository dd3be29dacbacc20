#pragma once
// The user's desktop folder and what a link file there opens, as the shell reads them.

#include "platform/runtime/Strings.h"

#include <windows.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <memory>
#include <string>

namespace qvtest {

inline std::string DesktopFolder() {
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT,
                                path)))
        return {};
    return path;
}

// The target of a link file ("" when it cannot be read); the caller's thread is in an apartment.
inline std::string LinkTarget(const std::string& file) {
    const auto release = [](IUnknown* p) { p->Release(); };
    IShellLinkA* rawLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&rawLink))))
        return {};
    const std::unique_ptr<IShellLinkA, decltype(release)> link(rawLink, release);
    IPersistFile* rawPersist = nullptr;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&rawPersist)))) return {};
    const std::unique_ptr<IPersistFile, decltype(release)> persist(rawPersist, release);
    char path[MAX_PATH] = {};
    if (FAILED(persist->Load(forms::ToWide(file).c_str(), STGM_READ)) ||
        FAILED(link->GetPath(path, MAX_PATH, nullptr, 0)))
        return {};
    return path;
}

}  // namespace qvtest
