#include "lib/comserver/Module.h"

#include <atomic>
#include <new>
#include "platform/runtime/Strings.h"

namespace comserver {

namespace {

std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};
// Any address inside this module tells the loader which module we are.
const char g_marker = 0;

}  // namespace

HMODULE Module::Handle() noexcept {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&g_marker), &module);
    return module;
}

std::wstring Module::PathW() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(Handle(), path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::string Module::Path() { return forms::FromWide(PathW()); }

std::string Module::Folder() {
    std::string path = Path();
    const size_t slash = path.find_last_of('\\');
    if (slash != std::string::npos) path.resize(slash);
    return path;
}

void Module::ObjectCreated() noexcept { ++g_objects; }
void Module::ObjectDestroyed() noexcept { --g_objects; }
void Module::Lock(bool lock) noexcept { lock ? ++g_locks : --g_locks; }
bool Module::CanUnload() noexcept { return g_objects == 0 && g_locks == 0; }

HRESULT Module::LoadTypeLibrary(ComPtr<ITypeLib>& library) noexcept {
    try {
        const std::wstring path = PathW();
        return LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.Put());
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT Module::LoadTypeInfo(REFIID iid, ComPtr<ITypeInfo>& info) noexcept {
    ComPtr<ITypeLib> library;
    HRESULT hr = LoadTypeLibrary(library);
    if (FAILED(hr)) return hr;
    ComPtr<ITypeInfo> described;
    hr = library->GetTypeInfoOfGuid(iid, described.Put());
    if (FAILED(hr)) return hr;
    // A dual interface is described twice; Invoke needs the vtable half.
    HREFTYPE vtable = 0;
    if (SUCCEEDED(described->GetRefTypeOfImplType(-1, &vtable))) {
        hr = described->GetRefTypeInfo(vtable, info.Put());
        if (SUCCEEDED(hr)) return hr;
    }
    info = described;
    return S_OK;
}

}  // namespace comserver
