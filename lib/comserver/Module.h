#pragma once
// The component server's own module: its handle and path, and the count of live objects and locks
// that DllCanUnloadNow answers from.

#include <windows.h>
#include <oaidl.h>

#include <string>

#include "lib/comserver/ComPtr.h"

namespace comserver {

class Module {
public:
    // The module this library is linked into (the server DLL, or the test program).
    static HMODULE Handle() noexcept;
    static std::wstring PathW();
    // Path in the ANSI code page, and its folder without a trailing "\".
    static std::string Path();
    static std::string Folder();

    static void ObjectCreated() noexcept;
    static void ObjectDestroyed() noexcept;
    static void Lock(bool lock) noexcept;
    static bool CanUnload() noexcept;

    // The type library embedded in the module as resource TYPELIB 1.
    static HRESULT LoadTypeLibrary(ComPtr<ITypeLib>& library) noexcept;
    // The type description of one of its interfaces, as vtable interface (for Invoke on a dual interface).
    static HRESULT LoadTypeInfo(REFIID iid, ComPtr<ITypeInfo>& info) noexcept;
};

}  // namespace comserver
