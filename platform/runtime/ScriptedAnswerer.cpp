#include "platform/runtime/ScriptedAnswerer.h"

#include "platform/runtime/MsgBox.h"

namespace forms {
namespace {

// What an unexpected box answers: the choice that changes least (Cancel, No, or OK).
int SafestAnswer(int buttons) {
    switch (buttons & 0xF) {
    case mb::OkCancel: case mb::YesNoCancel: case mb::RetryCancel: return answer::Cancel;
    case mb::YesNo: return answer::No;
    case mb::AbortRetryIgnore: return answer::Abort;
    default: return answer::Ok;
    }
}

}  // namespace

ScriptedAnswerer::ScriptedAnswerer(FailureFn onFailure) : onFailure_(std::move(onFailure)) {}

ScriptedAnswerer::~ScriptedAnswerer() {
    for (const Step& step : steps_) onFailure_("expected prompt never shown: " + Describe(step));
}

ScriptedAnswerer& ScriptedAnswerer::ExpectMsgBox(std::string prompt, int buttons, std::string title,
                                                 int answer) {
    steps_.push_back({false, std::move(prompt), buttons, std::move(title), {}, answer, {}});
    return *this;
}

ScriptedAnswerer& ScriptedAnswerer::ExpectInputBox(std::string prompt, std::string title,
                                                   std::string defaultText, std::string answer) {
    steps_.push_back({true, std::move(prompt), 0, std::move(title), std::move(defaultText), 0, std::move(answer)});
    return *this;
}

std::string ScriptedAnswerer::Describe(const Step& s) {
    if (s.input) return "InputBox(\"" + s.prompt + "\", \"" + s.title + "\", \"" + s.defaultText + "\")";
    return "MsgBox(\"" + s.prompt + "\", " + std::to_string(s.buttons) + ", \"" + s.title + "\")";
}

int ScriptedAnswerer::MsgBox(const std::string& prompt, int buttons, const std::string& title) {
    seen_.push_back(prompt);
    const Step shown{false, prompt, buttons, title, {}, 0, {}};
    if (steps_.empty() || steps_.front().input || steps_.front().prompt != prompt ||
        steps_.front().buttons != buttons || steps_.front().title != title) {
        onFailure_("unexpected prompt: " + Describe(shown) +
                   (steps_.empty() ? std::string(" (none expected)") : "; expected " + Describe(steps_.front())));
        return SafestAnswer(buttons);
    }
    const int result = steps_.front().answer;
    steps_.pop_front();
    return result;
}

std::string ScriptedAnswerer::InputBox(const std::string& prompt, const std::string& title,
                                       const std::string& defaultText) {
    seen_.push_back(prompt);
    const Step shown{true, prompt, 0, title, defaultText, 0, {}};
    if (steps_.empty() || !steps_.front().input || steps_.front().prompt != prompt ||
        steps_.front().title != title || steps_.front().defaultText != defaultText) {
        onFailure_("unexpected prompt: " + Describe(shown) +
                   (steps_.empty() ? std::string(" (none expected)") : "; expected " + Describe(steps_.front())));
        return {};
    }
    std::string result = std::move(steps_.front().text);
    steps_.pop_front();
    return result;
}

}  // namespace forms
