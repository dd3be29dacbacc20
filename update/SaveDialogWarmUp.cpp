#include "update/SaveDialogWarmUp.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <array>
#include <atomic>
#include <memory>
#include <string>
#include <thread>

namespace update::SaveDialogWarmUp {

namespace {

using Microsoft::WRL::ComPtr;

struct PidlFree {
    void operator()(ITEMIDLIST* p) const noexcept { CoTaskMemFree(p); }
};
using Pidl = std::unique_ptr<ITEMIDLIST, PidlFree>;

void CacheIcon(const char* path, UINT more = 0) {
    SHFILEINFOA info{};
    SHGetFileInfoA(path, 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON | more);
}

void CacheItemIcon(const ITEMIDLIST* pidl) {
    CacheIcon(reinterpret_cast<const char*>(pidl), SHGFI_PIDL | SHGFI_DISPLAYNAME);
}

// The folder's items as the dialog's view lists them.
void ReadFolder(const std::string& folder) {
    ComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(&desktop))) return;
    std::wstring wide(folder.size() + 1, L'\0');
    const int n = MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    if (n <= 0) return;
    ITEMIDLIST* parsed = nullptr;
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, &parsed, nullptr))) return;
    const Pidl pidl(parsed);
    ComPtr<IShellFolder> shellFolder;
    if (FAILED(desktop->BindToObject(pidl.get(), nullptr, IID_PPV_ARGS(&shellFolder)))) return;
    ComPtr<IEnumIDList> items;
    if (shellFolder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, &items) != S_OK) return;
    ITEMIDLIST* item = nullptr;
    while (items->Next(1, &item, nullptr) == S_OK) {
        const Pidl child(item);
        const Pidl full(ILCombine(pidl.get(), child.get()));
        if (full) CacheItemIcon(full.get());
    }
}

void WarmUp(const std::string& folder) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    // The first icon asked for builds the system image list.
    CacheIcon(folder.c_str());
    // Fixed drives only: a floppy or network drive may keep the thread, and so the program's end, waiting.
    std::array<char, 256> drives{};
    const DWORD length = GetLogicalDriveStringsA(static_cast<DWORD>(drives.size()), drives.data());
    if (length > 0 && length < drives.size()) {
        for (const char* drive = drives.data(); *drive; drive += std::char_traits<char>::length(drive) + 1)
            if (GetDriveTypeA(drive) == DRIVE_FIXED) CacheIcon(drive, SHGFI_DISPLAYNAME);
    }
    for (const int csidl : {CSIDL_DESKTOP, CSIDL_DRIVES, CSIDL_PERSONAL}) {
        ITEMIDLIST* special = nullptr;
        if (SUCCEEDED(SHGetFolderLocation(nullptr, csidl, nullptr, 0, &special))) CacheItemIcon(Pidl(special).get());
    }
    ReadFolder(folder);
    if (SUCCEEDED(com)) CoUninitialize();
}

struct Runner {
    std::thread thread;
    bool started = false;
    // Set by the thread when it is done; shared, so that an abandoned thread outlives nothing it uses.
    std::shared_ptr<std::atomic<bool>> done = std::make_shared<std::atomic<bool>>(false);
    ~Runner() {
        if (thread.joinable()) thread.detach();
    }
};

Runner& TheRunner() {
    static Runner runner;
    return runner;
}

}  // namespace

void Start() {
    Runner& runner = TheRunner();
    if (runner.started) return;
    runner.started = true;
    // With no initial folder given, the dialog opens in the current one.
    std::array<char, MAX_PATH + 1> folder{};
    const DWORD n = GetCurrentDirectoryA(static_cast<DWORD>(folder.size()), folder.data());
    if (n == 0 || n >= folder.size()) {
        runner.done->store(true);
        return;
    }
    runner.thread = std::thread([folder = std::string(folder.data(), n), done = runner.done] {
        WarmUp(folder);
        done->store(true);
    });
}

void Abandon() {
    Runner& runner = TheRunner();
    if (runner.thread.joinable()) runner.thread.detach();
}

void Finish() {
    Runner& runner = TheRunner();
    if (runner.thread.joinable()) runner.thread.join();
}

bool Running() {
    const Runner& runner = TheRunner();
    return runner.started && !runner.done->load();
}

}  // namespace update::SaveDialogWarmUp
