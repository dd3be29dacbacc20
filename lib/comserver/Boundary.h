#pragma once
// The server side of an interface method: run the body, and let no exception cross into the caller.
// A forms::RuntimeError becomes a failed HRESULT plus IErrorInfo (number, source, description).

#include <windows.h>

#include <exception>
#include <new>
#include <string_view>

#include "lib/comserver/ErrorCode.h"
#include "platform/runtime/RuntimeError.h"

namespace comserver {

// Sets the thread's error information and returns the HRESULT of the error's number.
HRESULT ReportError(REFIID iid, std::string_view source, const forms::RuntimeError& error) noexcept;

template <class Body>
HRESULT Boundary(REFIID iid, std::string_view source, Body&& body) noexcept {
    try {
        body();
        return S_OK;
    } catch (const forms::RuntimeError& e) {
        return ReportError(iid, source, e);
    } catch (const std::bad_alloc&) {
        return ReportError(iid, source, forms::RuntimeError(forms::err::OutOfMemory, DescriptionOfError(forms::err::OutOfMemory)));
    } catch (const std::exception& e) {
        return ReportError(iid, source, forms::RuntimeError(forms::err::InternalError, e.what()));
    }
}

}  // namespace comserver
