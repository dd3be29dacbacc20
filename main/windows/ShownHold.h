#pragma once
// The dialog-open hold of a secondary window, taken while the window is on the screen: from its showing
// until it hides or unloads. Following the window itself, not its activation, keeps the count right when
// another program has the foreground.

#include "main/core/Module1.h"
#include "platform/subclass/ISubclass.h"

#include <windows.h>

class ShownHold final : public subclass::ISubclass {
public:
    ShownHold() = default;
    ~ShownHold() override;
    ShownHold(const ShownHold&) = delete;
    ShownHold& operator=(const ShownHold&) = delete;

    // From the window's load.
    void Follow(HWND hwnd);
    // At the window's unload.
    void Release();

    std::int32_t MsgResponse() const override { return subclass::AfterOriginal; }
    void SetMsgResponse(std::int32_t) override {}
    LRESULT WindowProc(HWND hwnd, UINT iMsg, WPARAM wParam, LPARAM lParam) override;

private:
    HWND hwnd_ = nullptr;
    Module1::DialogOpenHold hold_;
};
