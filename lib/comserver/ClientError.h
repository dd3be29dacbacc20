#pragma once
// The caller side: a failed call or creation becomes the runtime's error again.

#include <windows.h>
#include <oaidl.h>

#include <string_view>

#include "lib/comserver/ComPtr.h"
#include "platform/runtime/RuntimeError.h"

namespace comserver {

// The error a failed HRESULT stands for; number, source and description come from the object's IErrorInfo
// when it declares error information for the interface.
forms::RuntimeError ErrorFromHresult(HRESULT hr, IUnknown* object, REFIID iid);
// Raises that error when hr failed.
void Check(HRESULT hr, IUnknown* object, REFIID iid);
// The error an IDispatch::Invoke reported through its EXCEPINFO (DISP_E_EXCEPTION). Frees its strings.
forms::RuntimeError ErrorFromExcepInfo(EXCEPINFO& info);

// Creates an in-process object by class identifier; a class that cannot be created is error 429.
ComPtr<IUnknown> CreateUnknown(REFCLSID clsid, REFIID iid);
template <class I>
ComPtr<I> CreateInstance(REFCLSID clsid, REFIID iid) {
    return ComPtr<I>::Attach(static_cast<I*>(static_cast<void*>(CreateUnknown(clsid, iid).Detach())));
}
// By programmatic identifier ("Toolcraft.clsShell"), for late-bound use.
ComPtr<IDispatch> CreateObject(std::string_view progId);

}  // namespace comserver
