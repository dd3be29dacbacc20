// The four entry points of an in-process server, compiled into each server module (qv_add_comserver);
// the server's table comes from its own comserver::ThisServer().

#include <objbase.h>
#include <olectl.h>

#include "lib/comserver/Module.h"
#include "lib/comserver/Registration.h"

STDAPI DllCanUnloadNow() { return comserver::Module::CanUnload() ? S_OK : S_FALSE; }

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out) {
    return comserver::GetClassObject(comserver::ThisServer(), clsid, iid, out);
}

STDAPI DllRegisterServer() { return comserver::RegisterServer(comserver::ThisServer()); }

STDAPI DllUnregisterServer() { return comserver::UnregisterServer(comserver::ThisServer()); }
