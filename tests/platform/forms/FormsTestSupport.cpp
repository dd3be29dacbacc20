#include "FormsTestSupport.h"
#include "tests/support/Apartment.h"

#include <windows.h>
#include <ole2.h>

#include <map>
#include <memory>

namespace formstest {
namespace {

std::map<UINT_PTR, std::function<void()>>& Pending() {
    static std::map<UINT_PTR, std::function<void()>> pending;
    return pending;
}

void CALLBACK OnLater(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto node = Pending().extract(id);
    if (node) node.mapped()();
}

// The runtime's pictures and late-bound objects need OLE on the UI thread.
[[maybe_unused]] const bool apartment = qvtest::ApartmentForTheWholeRun(qvtest::Apartment::Kind::Ole);

}  // namespace

bool PumpPosted(DWORD ms) {
    constexpr UINT Marker = WM_APP + 0x2F10;
    static LPARAM next = 0;
    const LPARAM mine = ++next;
    bool arrived = false;
    const int filter = forms::MessageLoop::AddFilter([&](MSG& m) {
        if (m.message != Marker || m.hwnd || m.lParam != mine) return false;
        arrived = true;
        return true;
    });
    PostThreadMessageA(GetCurrentThreadId(), Marker, 0, mine);
    const bool done = forms::MessageLoop::RunUntil([&] { return arrived; }, ms);
    forms::MessageLoop::RemoveFilter(filter);
    return done;
}

void Later(std::function<void()> fn, UINT ms) {
    const UINT_PTR id = SetTimer(nullptr, 0, ms, &OnLater);
    Pending()[id] = std::move(fn);
}

}  // namespace formstest
