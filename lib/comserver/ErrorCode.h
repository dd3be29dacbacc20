#pragma once
// How a run-time error number travels as an HRESULT, both ways.
//   standard number n (1..65535)  <->  MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, n) = 0x800A0000 + n
//   ObjectError + n               <->  the number itself (it already is a failed HRESULT)
// Other failed HRESULTs of the system map to the runtime's numbers for the same fault.

#include <windows.h>

#include <cstdint>
#include <string>

namespace comserver {

HRESULT HresultOfError(std::int32_t number) noexcept;
std::int32_t ErrorOfHresult(HRESULT hr) noexcept;
// The runtime's description of a standard number; for a raw HRESULT the system's text.
std::string DescriptionOfError(std::int32_t number);

}  // namespace comserver
