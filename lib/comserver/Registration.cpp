#include "lib/comserver/Registration.h"

#include <objbase.h>
#include <oleauto.h>
#include <olectl.h>

#include <new>
#include <string>
#include <vector>

#include "lib/comserver/ComPtr.h"
#include "lib/comserver/Module.h"
#include "platform/runtime/OwnedHandles.h"
#include "platform/runtime/Strings.h"

namespace comserver {

namespace {

// One registry value that registration writes, under HKEY_CLASSES_ROOT.
struct RegistryValue {
    std::wstring key;
    std::wstring name;  // empty: the key's default value
    std::wstring data;
};

std::wstring GuidText(const GUID& guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

// A copy of the embedded type library's attributes (identifier, version, locale, system kind).
HRESULT TypeLibraryAttributes(TLIBATTR& copy) noexcept {
    ComPtr<ITypeLib> library;
    HRESULT hr = Module::LoadTypeLibrary(library);
    if (FAILED(hr)) return hr;
    TLIBATTR* attributes = nullptr;
    hr = library->GetLibAttr(&attributes);
    if (FAILED(hr)) return hr;
    copy = *attributes;
    library->ReleaseTLibAttr(attributes);
    return S_OK;
}

HRESULT TypeLibraryVersion(std::wstring& version) noexcept {
    TLIBATTR a{};
    const HRESULT hr = TypeLibraryAttributes(a);
    if (SUCCEEDED(hr)) version = std::to_wstring(a.wMajorVerNum) + L"." + std::to_wstring(a.wMinorVerNum);
    return hr;
}

// Every value in creation order: a key appears before its subkeys.
std::vector<RegistryValue> ValuesOf(const ServerEntry& server, const std::wstring& modulePath,
                                    const std::wstring& version) {
    std::vector<RegistryValue> values;
    const std::wstring libid = GuidText(server.libid);
    for (const ClassEntry& entry : server.classes) {
        const std::wstring progId = forms::ToWide(entry.progId);
        const std::wstring clsid = GuidText(entry.clsid);
        const std::wstring clsidKey = L"CLSID\\" + clsid;
        values.push_back({progId, L"", forms::ToWide(entry.className)});
        values.push_back({progId + L"\\CLSID", L"", clsid});
        values.push_back({clsidKey, L"", progId});
        values.push_back({clsidKey + L"\\InprocServer32", L"", modulePath});
        values.push_back({clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"});
        values.push_back({clsidKey + L"\\ProgID", L"", progId});
        values.push_back({clsidKey + L"\\TypeLib", L"", libid});
        values.push_back({clsidKey + L"\\VERSION", L"", version});
    }
    return values;
}

bool Write(const RegistryValue& value) noexcept {
    forms::UniqueKey key;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, value.key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(),
                        nullptr) != ERROR_SUCCESS)
        return false;
    const auto bytes = static_cast<DWORD>((value.data.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key.get(), value.name.empty() ? nullptr : value.name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.data.c_str()), bytes) == ERROR_SUCCESS;
}

void DeleteValue(const RegistryValue& value) noexcept {
    forms::UniqueKey key;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, value.key.c_str(), 0, KEY_SET_VALUE, key.put()) != ERROR_SUCCESS) return;
    RegDeleteValueW(key.get(), value.name.empty() ? nullptr : value.name.c_str());
}

// Deletes the key only when it has neither subkeys nor values left.
void DeleteKeyIfEmpty(const std::wstring& path) noexcept {
    DWORD subkeys = 0;
    DWORD values = 0;
    LONG status = ERROR_SUCCESS;
    {
        forms::UniqueKey key;
        if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return;
        status = RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                                  nullptr, nullptr, nullptr);
    }
    if (status == ERROR_SUCCESS && subkeys == 0 && values == 0) RegDeleteKeyW(HKEY_CLASSES_ROOT, path.c_str());
}

void RemoveValues(const std::vector<RegistryValue>& values) noexcept {
    for (auto it = values.rbegin(); it != values.rend(); ++it) DeleteValue(*it);
    for (auto it = values.rbegin(); it != values.rend(); ++it) DeleteKeyIfEmpty(it->key);
}

HRESULT UnregisterTypeLibrary() noexcept {
    TLIBATTR a{};
    HRESULT hr = TypeLibraryAttributes(a);
    if (FAILED(hr)) return hr;
    hr = UnRegisterTypeLib(a.guid, a.wMajorVerNum, a.wMinorVerNum, a.lcid, a.syskind);
    // Already gone counts as done.
    return hr == TYPE_E_REGISTRYACCESS ? S_OK : hr;
}

}  // namespace

HRESULT RegisterServer(const ServerEntry& server) noexcept {
    try {
        const std::wstring path = Module::PathW();
        ComPtr<ITypeLib> library;
        if (FAILED(Module::LoadTypeLibrary(library)) ||
            FAILED(RegisterTypeLib(library.Get(), const_cast<LPOLESTR>(path.c_str()), nullptr)))
            return SELFREG_E_TYPELIB;
        std::wstring version;
        if (FAILED(TypeLibraryVersion(version))) return SELFREG_E_TYPELIB;
        const std::vector<RegistryValue> values = ValuesOf(server, path, version);
        for (const RegistryValue& value : values) {
            if (!Write(value)) {
                RemoveValues(values);
                UnregisterTypeLibrary();
                return SELFREG_E_CLASS;
            }
        }
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT UnregisterServer(const ServerEntry& server) noexcept {
    try {
        const std::wstring path = Module::PathW();
        std::wstring version;
        if (FAILED(TypeLibraryVersion(version))) return SELFREG_E_TYPELIB;
        RemoveValues(ValuesOf(server, path, version));
        return SUCCEEDED(UnregisterTypeLibrary()) ? S_OK : SELFREG_E_TYPELIB;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT GetClassObject(const ServerEntry& server, REFCLSID clsid, REFIID iid, void** out) noexcept {
    if (!out) return E_POINTER;
    *out = nullptr;
    for (const ClassEntry& entry : server.classes) {
        if (IsEqualCLSID(entry.clsid, clsid)) return entry.createFactory(iid, out);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace comserver
