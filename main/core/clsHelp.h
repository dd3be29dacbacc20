#pragma once
// The HTML Help engine for the program's help windows.

#include <cstdint>
#include <optional>
#include <string>

class clsHelp {
public:
    // Opens NewFile, in the window type WindowPane when one is given, at ContextID when one is given.
    void Show(const std::string& NewFile, const std::string& WindowPane = {},
              std::optional<std::int32_t> ContextID = std::nullopt);
    // Closes every help window the program opened.
    void CloseAll();
};
