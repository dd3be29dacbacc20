#include "lib/imgEditbuf/Messages.h"

#include <atomic>

namespace imgbuf {
namespace {

// The library's default title, its project name.
constexpr const char* Title = "rvimgctl";

std::atomic<MessageAnswerer> answererHook{nullptr};

}  // namespace

int ShowMessage(const std::string& text, UINT style) {
    if (const MessageAnswerer answerer = answererHook.load()) return answerer(text.c_str(), style);
    return MessageBoxA(nullptr, text.c_str(), Title, style | MB_TASKMODAL);
}

MessageAnswerer SetMessageAnswerer(MessageAnswerer answerer) noexcept {
    return answererHook.exchange(answerer);
}

}  // namespace imgbuf
