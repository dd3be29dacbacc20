#include "platform/runtime/Resources.h"

#include "platform/runtime/App.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Strings.h"

namespace forms {

std::string LoadResString(int id, HMODULE module) {
    if (!module) module = App::hInstance();
    // With a zero buffer size the call hands out a pointer to the resource's own text, which is not
    // terminated: its length is the result.
    const wchar_t* text = nullptr;
    const int length = LoadStringW(module, static_cast<UINT>(id), reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text) throw RuntimeError(err::ResourceNotFound);
    return FromWide(std::wstring_view(text, static_cast<std::size_t>(length)));
}

}  // namespace forms
