#include "lib/comserver/Bstr.h"

#include <windows.h>

#include <climits>
#include <new>

#include "platform/runtime/RuntimeError.h"

namespace comserver {

std::string ToString(BSTR text) {
    const UINT length = SysStringLen(text);
    if (length == 0) return {};
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0, nullptr,
                                          nullptr);
    std::string result(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), result.data(), bytes, nullptr, nullptr);
    return result;
}

BSTR AllocBstr(std::string_view text) {
    if (text.size() > static_cast<size_t>(INT_MAX)) throw std::bad_alloc();
    const int chars = text.empty() ? 0
                                   : MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                                         nullptr, 0);
    BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(chars));
    if (!result) throw std::bad_alloc();
    if (chars > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result, chars);
    result[chars] = L'\0';
    return result;
}

void AssignBstr(BSTR* target, std::string_view text) {
    if (!target) return;
    BSTR fresh = AllocBstr(text);
    SysFreeString(*target);
    *target = fresh;
}

}  // namespace comserver
