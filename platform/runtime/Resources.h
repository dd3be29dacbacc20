#pragma once
// Texts from a module's string table (pictures: LoadResPicture in StdPicture.h).

#include <windows.h>

#include <string>

namespace forms {

// The string `id` of the running module (or `module`), as UTF-8 text; 326 when there is none.
std::string LoadResString(int id, HMODULE module = nullptr);

}  // namespace forms
