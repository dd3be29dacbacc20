#include "lib/comserver/Bstr.h"

#include <windows.h>

#include <climits>
#include <new>

#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Strings.h"

namespace comserver {

// The one crossing between the suite's byte strings and automation strings, in the program's code page.
std::string ToString(BSTR text) { return forms::FromWide(std::wstring_view(text, SysStringLen(text))); }

BSTR AllocBstr(std::string_view text) {
    if (text.size() > static_cast<size_t>(INT_MAX)) throw std::bad_alloc();
    const std::wstring wide = forms::ToWide(text);
    BSTR result = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    if (!result) throw std::bad_alloc();
    return result;
}

void AssignBstr(BSTR* target, std::string_view text) {
    if (!target) return;
    BSTR fresh = AllocBstr(text);
    SysFreeString(*target);
    *target = fresh;
}

}  // namespace comserver
