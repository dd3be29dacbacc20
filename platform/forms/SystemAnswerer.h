#pragma once
// The production answerer: a real message box owned by the program's active window, and a real input
// dialog. Both run the system's modal loops, under which timers and other windows' events go on.

#include "platform/forms/Answerer.h"

namespace forms {

class SystemAnswerer final : public Answerer {
public:
    int MsgBox(const std::string& prompt, int buttons, const std::string& title) override;
    std::string InputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;
};

}  // namespace forms
