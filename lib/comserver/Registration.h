#pragma once
// One table per server drives both registration and unregistration: the type library embedded in the
// module, and for every class its CLSID key (in-process server = this module, apartment threaded) and
// its programmatic identifier.

#include <windows.h>

#include <span>

namespace comserver {

struct ClassEntry {
    const CLSID& clsid;
    const char* progId;     // "Toolcraft.clsShell"
    const char* className;  // "clsShell": the description of the class and of its ProgID
    HRESULT (*createFactory)(REFIID iid, void** out);
};

struct ServerEntry {
    const GUID& libid;
    std::span<const ClassEntry> classes;
};

// Defined once by each component server (the table of its classes).
const ServerEntry& ThisServer();

HRESULT RegisterServer(const ServerEntry& server) noexcept;
// Removes exactly what RegisterServer wrote: a key is deleted only when nothing else is left in it.
HRESULT UnregisterServer(const ServerEntry& server) noexcept;
HRESULT GetClassObject(const ServerEntry& server, REFCLSID clsid, REFIID iid, void** out) noexcept;

}  // namespace comserver
