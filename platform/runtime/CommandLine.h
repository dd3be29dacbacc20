#pragma once
// The process's command line as the programs see it, and how the process was started.

#include <string>

namespace forms {

// The text after the program's name and its one separating blank, exactly as given: nothing else is trimmed.
std::string Command();

// Splits a raw command line (as GetCommandLineA returns it) after the program's name.
std::string CommandAfterProgramName(const std::string& rawCommandLine);

enum class StartMode { Standalone = 0, Automation = 1 };

// Our programs are never started as automation servers; kept so that callers read as designed.
constexpr StartMode AppStartMode() { return StartMode::Standalone; }

}  // namespace forms
