#pragma once
// The answerer of tests: a script of expected prompts with their answers, consumed in order. A prompt that
// is not the next one expected, and a script not consumed by the end, are reported through onFailure
// (a test passes a callback that fails it).

#include "platform/runtime/Answerer.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace forms {

class ScriptedAnswerer final : public Answerer {
public:
    using FailureFn = std::function<void(const std::string& message)>;
    explicit ScriptedAnswerer(FailureFn onFailure);
    // Reports every step left over.
    ~ScriptedAnswerer() override;
    ScriptedAnswerer(const ScriptedAnswerer&) = delete;
    ScriptedAnswerer& operator=(const ScriptedAnswerer&) = delete;

    ScriptedAnswerer& ExpectMsgBox(std::string prompt, int buttons, std::string title, int answer);
    ScriptedAnswerer& ExpectInputBox(std::string prompt, std::string title, std::string defaultText,
                                     std::string answer);

    size_t Remaining() const noexcept { return steps_.size(); }
    // Every prompt seen, in order, expected or not.
    const std::vector<std::string>& Seen() const noexcept { return seen_; }

    int MsgBox(const std::string& prompt, int buttons, const std::string& title) override;
    std::string InputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;

private:
    struct Step {
        bool input;
        std::string prompt;
        int buttons;
        std::string title;
        std::string defaultText;
        int answer;
        std::string text;
    };
    static std::string Describe(const Step& step);

    FailureFn onFailure_;
    std::deque<Step> steps_;
    std::vector<std::string> seen_;
};

}  // namespace forms
