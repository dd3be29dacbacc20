#pragma once
// The error check every typed client call makes.

#include <windows.h>

#include "lib/comserver/ClientError.h"
#include "lib/comserver/ComPtr.h"

namespace services::client {

template <class I>
void Check(HRESULT hr, const comserver::ComPtr<I>& object, REFIID iid) {
    comserver::Check(hr, object.Get(), iid);
}

}  // namespace services::client
