#include "lib/imgEditbuf/Messages.h"

#include <atomic>
#include <optional>

#include "platform/runtime/Answerer.h"
#include "platform/runtime/MsgBox.h"

namespace imgbuf {
namespace {

// The library's default title, its project name.
constexpr const char* Title = "rvimgctl";

std::atomic<MessageAnswerer> hook{nullptr};

// Hands the runtime's boxes to the installed function.
class HookAnswerer final : public forms::Answerer {
public:
    int MsgBox(const std::string& prompt, int buttons, const std::string&) override {
        const MessageAnswerer answerer = hook.load();
        return answerer ? answerer(prompt.c_str(), static_cast<UINT>(buttons)) : forms::answer::Cancel;
    }
    // The library asks for no text.
    std::string InputBox(const std::string&, const std::string&, const std::string&) override { return {}; }
};

HookAnswerer hookAnswerer;
std::optional<forms::ScopedAnswerer> installed;

}  // namespace

int ShowMessage(const std::string& text, UINT style) { return forms::MsgBox(text, static_cast<int>(style), Title); }

MessageAnswerer SetMessageAnswerer(MessageAnswerer answerer) noexcept {
    const MessageAnswerer previous = hook.exchange(answerer);
    if (answerer && !installed) installed.emplace(hookAnswerer);
    if (!answerer) installed.reset();
    return previous;
}

}  // namespace imgbuf
