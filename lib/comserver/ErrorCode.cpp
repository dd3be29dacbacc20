#include "lib/comserver/ErrorCode.h"

#include "platform/runtime/RuntimeError.h"

namespace comserver {

namespace {
constexpr std::uint32_t ControlBase = 0x800A0000u;
}

HRESULT HresultOfError(std::int32_t number) noexcept {
    if (number > 0 && number <= 0xFFFF) return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number);
    if (number < 0) return static_cast<HRESULT>(number);
    return E_FAIL;
}

std::int32_t ErrorOfHresult(HRESULT hr) noexcept {
    const auto bits = static_cast<std::uint32_t>(hr);
    if ((bits & 0xFFFF0000u) == ControlBase) return static_cast<std::int32_t>(bits & 0xFFFFu);
    switch (hr) {
    case E_OUTOFMEMORY: return forms::err::OutOfMemory;
    case E_INVALIDARG: return forms::err::InvalidProcedureCall;
    case DISP_E_TYPEMISMATCH: return forms::err::TypeMismatch;
    case DISP_E_OVERFLOW: return forms::err::Overflow;
    case DISP_E_BADINDEX: return forms::err::SubscriptOutOfRange;
    case DISP_E_UNKNOWNNAME:
    case DISP_E_MEMBERNOTFOUND: return forms::err::ObjectLacksMember;
    case DISP_E_BADPARAMCOUNT:
    case DISP_E_PARAMNOTOPTIONAL: return forms::err::WrongArgumentCount;
    case REGDB_E_CLASSNOTREG:
    case CLASS_E_CLASSNOTAVAILABLE:
    case CO_E_CLASSSTRING:
    case CO_E_DLLNOTFOUND:
    case CO_E_ERRORINDLL: return forms::err::CannotCreateObject;
    default: return static_cast<std::int32_t>(hr);
    }
}

std::string DescriptionOfError(std::int32_t number) {
    if (number > 0) return forms::StandardDescription(number);
    char* text = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, static_cast<DWORD>(number), 0, reinterpret_cast<LPSTR>(&text), 0,
                                   nullptr);
    std::string result = "Automation error";
    if (n > 0 && text) {
        std::string system(text, n);
        while (!system.empty() && (system.back() == '\n' || system.back() == '\r' || system.back() == ' '))
            system.pop_back();
        if (!system.empty()) result += "\r\n" + system;
    }
    LocalFree(text);
    return result;
}

}  // namespace comserver
