#pragma once
// Client side of window subclassing: an object that wants to see chosen messages of a window.

#include <windows.h>

#include <cstdint>

namespace subclass {

// How the subclasser treats a message it hands to a client.
enum MsgResponseKind : std::int32_t {
    // The client alone handles the message; its result is the message's result.
    ConsumeMessage = 1,
    // The window's own procedure runs first, then the client sees the message; the window's result stands.
    AfterOriginal = 2,
};

class ISubclass {
public:
    virtual ~ISubclass() = default;
    virtual std::int32_t MsgResponse() const = 0;
    // Clients ignore what is written here; it exists because the interface has a writable property.
    virtual void SetMsgResponse(std::int32_t value) = 0;
    virtual LRESULT WindowProc(HWND hwnd, UINT iMsg, WPARAM wParam, LPARAM lParam) = 0;

protected:
    ISubclass() = default;
    ISubclass(const ISubclass&) = default;
    ISubclass& operator=(const ISubclass&) = default;
};

}  // namespace subclass
