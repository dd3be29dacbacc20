#pragma once
// How a run-time error number travels as an HRESULT, both ways.
//   standard number n (1..65535)  <->  MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, n) = 0x800A0000 + n
//   ObjectError + n               <->  the number itself (it already is a failed HRESULT)
// Other failed HRESULTs of the system map to the runtime's numbers for the same fault.

#include <windows.h>

#include <cstdint>
#include <string>

namespace comserver {

// Standard numbers the component boundary produces beyond those callers name in forms::err.
namespace err {
inline constexpr std::int32_t InvalidProcedureCall = 5;
inline constexpr std::int32_t OutOfMemory = 7;
inline constexpr std::int32_t InternalError = 51;
inline constexpr std::int32_t ObjectLacksMember = 438;
inline constexpr std::int32_t WrongArgumentCount = 450;
}  // namespace err

HRESULT HresultOfError(std::int32_t number) noexcept;
std::int32_t ErrorOfHresult(HRESULT hr) noexcept;
// The runtime's description of a number, including those above; for a raw HRESULT the system's text.
std::string DescriptionOfError(std::int32_t number);

}  // namespace comserver
