#pragma once
// What the tests of component servers share: a COM apartment, a server module loaded by path with its
// entry points, and registry probes under the classes root.

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <string>

#include "lib/comserver/Bstr.h"
#include "tests/support/Apartment.h"

namespace testsupport {

class ServerModule {
public:
    explicit ServerModule(const char* path) : module_(LoadLibraryA(path)) {}
    ~ServerModule() {
        if (module_) FreeLibrary(module_);
    }
    ServerModule(const ServerModule&) = delete;
    ServerModule& operator=(const ServerModule&) = delete;
    bool Loaded() const { return module_ != nullptr; }
    // Calls one of the entry points without arguments (DllRegisterServer, DllCanUnloadNow, ...).
    HRESULT Call(const char* entry) const {
        using EntryPoint = HRESULT(STDAPICALLTYPE*)();
        const auto f = reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(GetProcAddress(module_, entry)));
        return f ? f() : E_NOTIMPL;
    }

private:
    HMODULE module_;
};

// A server registered for the life of the object, for tests that use it through its class identifiers.
class RegisteredServer {
public:
    explicit RegisteredServer(const char* path) : module_(path), registered_(module_.Call("DllRegisterServer") == S_OK) {}
    ~RegisteredServer() {
        if (registered_) module_.Call("DllUnregisterServer");
    }
    RegisteredServer(const RegisteredServer&) = delete;
    RegisteredServer& operator=(const RegisteredServer&) = delete;
    bool Registered() const { return registered_; }

private:
    ServerModule module_;
    bool registered_;
};

inline std::string GuidText(const GUID& guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return comserver::ToString(comserver::Bstr::Attach(SysAllocString(text)).Get());
}

inline bool ClassesKeyExists(const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

}  // namespace testsupport
