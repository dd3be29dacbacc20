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

void Later(std::function<void()> fn, UINT ms) {
    const UINT_PTR id = SetTimer(nullptr, 0, ms, &OnLater);
    Pending()[id] = std::move(fn);
}

}  // namespace formstest
