#pragma once
// System-wide hot keys under names of the caller's choosing, delivered to one attached window. Each key's
// identifier is a global atom whose name makes it unique in the system; WM_HOTKEY reaches the object through
// the window subclasser, and HotKeyPress is raised inside that message, on the window's thread. A handler may
// unregister the key that fired. Destruction releases every key and detaches.

#include "platform/subclass/ISubclass.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class clsHotkeys : public subclass::ISubclass {
public:
    static constexpr std::int32_t kNotRegisteredError = static_cast<std::int32_t>(0x80040000u) + 1049;
    static constexpr std::int32_t kAtomError = static_cast<std::int32_t>(0x80040000u) + 1050;
    static constexpr std::int32_t kRegisterError = static_cast<std::int32_t>(0x80040000u) + 1051;
    static constexpr std::int32_t kDuplicateError = static_cast<std::int32_t>(0x80040000u) + 1052;
    static constexpr std::size_t kMaxNameLength = 32;

    clsHotkeys() = default;
    ~clsHotkeys() override;
    clsHotkeys(const clsHotkeys&) = delete;
    clsHotkeys& operator=(const clsHotkeys&) = delete;

    // Releases every key and any earlier window; a non-zero window then receives the keys' WM_HOTKEY.
    void Attach(HWND hwndA);
    void Clear();
    // eModifiers: MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4, MOD_WIN 8. Errors are raised with the source
    // "<exe>.cRegHotKey"; a failed registration changes nothing and leaves no atom behind.
    void RegisterKey(const std::string& sName, std::int32_t eKey, std::int32_t eModifiers);
    void UnregisterKey(const std::string& sName);
    // Shows the window if hidden, restores it if minimised and brings it to the foreground.
    static void RestoreAndActivate(HWND hwnd);

    // sName, eModifiers, eKey.
    std::function<void(const std::string&, std::int32_t, std::int32_t)> HotKeyPress;

    // The registered names, in registration order.
    std::vector<std::string> Names() const;
    HWND Attached() const noexcept { return hwnd_; }

    // ISubclass: the window's own procedure runs first.
    std::int32_t MsgResponse() const override { return subclass::AfterOriginal; }
    void SetMsgResponse(std::int32_t) override {}
    LRESULT WindowProc(HWND hwnd, UINT iMsg, WPARAM wParam, LPARAM lParam) override;

private:
    struct Entry {
        std::string name;
        std::string atomName;
        std::int32_t id;
        std::int32_t key;
        std::int32_t modifiers;
    };

    HWND hwnd_ = nullptr;
    std::vector<Entry> keys_;
};
