#include "FormsTestSupport.h"

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
class OleEnvironment : public ::testing::Environment {
public:
    void SetUp() override { OleInitialize(nullptr); }
    void TearDown() override { OleUninitialize(); }
};
const auto* const env = ::testing::AddGlobalTestEnvironment(new OleEnvironment);

}  // namespace

void Later(std::function<void()> fn, UINT ms) {
    const UINT_PTR id = SetTimer(nullptr, 0, ms, &OnLater);
    Pending()[id] = std::move(fn);
}

}  // namespace formstest
