#pragma once
// The process's command line as the programs see it, and how the process was started.

#include <string>

namespace forms {

// The text after the program's name and its one separating blank, exactly as given: nothing else is trimmed.
std::string Command();

// Splits a raw command line (as GetCommandLineA returns it) after the program's name.
std::string CommandAfterProgramName(const std::string& rawCommandLine);

enum class StartMode { Standalone = 0, Automation = 1 };

// Automation when the command's first argument is one of the switches the system's object activation passes
// ("-Embedding", "/Automation"; either prefix, any case), Standalone otherwise.
StartMode StartModeOf(const std::string& command);
// This process's start mode, from its own command line.
StartMode AppStartMode();

}  // namespace forms
