#pragma once
// Hands chosen messages of a window to client objects, synchronously on the window's thread and with the
// message's own wParam/lParam. Safe against unsubscribing during delivery and against nested message loops.

#include "platform/subclass/ISubclass.h"

#include <exception>
#include <map>
#include <memory>

namespace subclass {

// An error escaping a client's WindowProc must not unwind through the system's callback: it is handed to
// this reporter (the forms runtime installs its ordinary error report) and the message returns 0.
using ErrorReporter = void (*)(const std::exception& error);
void SetErrorReporter(ErrorReporter reporter);

class Subclasser {
public:
    // The process's one subclasser, created on first use.
    static Subclasser& Instance();

    // Raises forms::RuntimeError when the window cannot be subclassed (no such window, another thread's).
    void SubscribeMessage(ISubclass& client, HWND hwnd, UINT iMsg);
    // Unsubscribing what was never subscribed does nothing.
    void UnsubscribeMessage(ISubclass& client, HWND hwnd, UINT iMsg);

    bool IsSubscribed(const ISubclass& client, HWND hwnd, UINT iMsg) const;

    Subclasser(const Subclasser&) = delete;
    Subclasser& operator=(const Subclasser&) = delete;

private:
    struct WindowState;

    Subclasser() = default;
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR refData);
    void Forget(HWND hwnd);

    std::map<HWND, std::shared_ptr<WindowState>> windows_;
};

inline void SubscribeMessage(ISubclass& client, HWND hwnd, UINT iMsg) {
    Subclasser::Instance().SubscribeMessage(client, hwnd, iMsg);
}
inline void UnsubscribeMessage(ISubclass& client, HWND hwnd, UINT iMsg) {
    Subclasser::Instance().UnsubscribeMessage(client, hwnd, iMsg);
}

}  // namespace subclass
