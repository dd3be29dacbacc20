#include "platform/subclass/Subclasser.h"

#include "platform/runtime/RuntimeError.h"
#include "platform/subclass/WindowSubclass.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace subclass {

namespace {
constexpr UINT_PTR kSubclassId = 0x5153;  // one subclass per window, whatever the number of clients
void ReportToDebugger(const std::exception& error) {
    OutputDebugStringA(error.what());
}

ErrorReporter g_reporter = &ReportToDebugger;

// No error may leave a window procedure: a client's errors go to the reporter.
template <class F>
auto Guarded(F&& call, decltype(call()) onError) {
    try {
        return call();
    } catch (const std::exception& error) {
        g_reporter(error);
        return onError;
    }
}
}  // namespace

void SetErrorReporter(ErrorReporter reporter) {
    g_reporter = reporter ? reporter : &ReportToDebugger;
}

struct Subclasser::WindowState {
    struct Subscription {
        ISubclass* client;
        UINT msg;
    };
    std::vector<Subscription> subscriptions;

    bool Has(const ISubclass* client, UINT msg) const {
        return std::any_of(subscriptions.begin(), subscriptions.end(),
                           [&](const Subscription& s) { return s.client == client && s.msg == msg; });
    }
};

Subclasser& Subclasser::Instance() {
    static Subclasser instance;
    return instance;
}

void Subclasser::SubscribeMessage(ISubclass& client, HWND hwnd, UINT iMsg) {
    if (!IsWindow(hwnd)) {
        throw forms::RuntimeError(forms::err::InvalidProcedureCall, "The window to subclass does not exist");
    }
    auto it = windows_.find(hwnd);
    if (it == windows_.end()) {
        auto state = std::make_shared<WindowState>();
        if (!SetSubclass(hwnd, &Subclasser::Procedure, kSubclassId, 0)) {
            throw forms::RuntimeError(forms::err::InvalidProcedureCall, "The window cannot be subclassed");
        }
        it = windows_.emplace(hwnd, std::move(state)).first;
    }
    if (!it->second->Has(&client, iMsg)) {
        it->second->subscriptions.push_back({&client, iMsg});
    }
}

void Subclasser::UnsubscribeMessage(ISubclass& client, HWND hwnd, UINT iMsg) {
    auto it = windows_.find(hwnd);
    if (it == windows_.end()) return;
    auto& subs = it->second->subscriptions;
    std::erase_if(subs, [&](const WindowState::Subscription& s) { return s.client == &client && s.msg == iMsg; });
    if (subs.empty()) {
        Forget(hwnd);
    }
}

bool Subclasser::IsSubscribed(const ISubclass& client, HWND hwnd, UINT iMsg) const {
    auto it = windows_.find(hwnd);
    return it != windows_.end() && it->second->Has(&client, iMsg);
}

void Subclasser::Forget(HWND hwnd) {
    // Removing the subclass from inside its own procedure is allowed; a delivery in progress keeps the
    // state alive through its own reference.
    RemoveSubclass(hwnd, &Subclasser::Procedure, kSubclassId);
    windows_.erase(hwnd);
}

LRESULT CALLBACK Subclasser::Procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    Subclasser& self = Instance();
    if (msg == WM_NCDESTROY) {
        self.Forget(hwnd);
        return CallNextSubclass(hwnd, msg, wParam, lParam);
    }
    const auto it = self.windows_.find(hwnd);
    if (it == self.windows_.end()) return CallNextSubclass(hwnd, msg, wParam, lParam);

    const std::shared_ptr<WindowState> state = it->second;
    std::vector<ISubclass*> clients;
    for (const auto& s : state->subscriptions) {
        if (s.msg == msg) clients.push_back(s.client);
    }
    if (clients.empty()) return CallNextSubclass(hwnd, msg, wParam, lParam);

    bool originalRan = false;
    bool consumed = false;
    LRESULT result = 0;
    for (ISubclass* client : clients) {
        // A client unsubscribed by an earlier one (or by a nested loop inside it) no longer gets the message.
        if (!state->Has(client, msg)) continue;
        // A client that cannot tell how it takes the message misses it.
        const auto response = Guarded([client] { return std::optional<std::int32_t>(client->MsgResponse()); },
                                      std::optional<std::int32_t>());
        if (!response) continue;
        const auto deliver = [&] { return Guarded([&] { return client->WindowProc(hwnd, msg, wParam, lParam); }, LRESULT{0}); };
        if (*response == AfterOriginal) {
            if (!originalRan) {
                result = CallNextSubclass(hwnd, msg, wParam, lParam);
                originalRan = true;
            }
            deliver();
        } else {
            const LRESULT r = deliver();
            if (!consumed && !originalRan) result = r;
            consumed = true;
        }
    }
    if (!originalRan && !consumed) result = CallNextSubclass(hwnd, msg, wParam, lParam);
    return result;
}

}  // namespace subclass
