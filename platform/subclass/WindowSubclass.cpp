#include "platform/subclass/WindowSubclass.h"

#include <memory>
#include <unordered_map>
#include <vector>

namespace subclass {
namespace {

struct Link {
    SubclassProcedure procedure;
    UINT_PTR id;
    DWORD_PTR data;
    bool removed = false;
};

struct Chain {
    WNDPROC original = nullptr;
    // In the order set: the last runs first. A link removed while a message runs is only marked, so that
    // the positions of the procedures still running stay where they are.
    std::vector<Link> links;
    std::size_t below = 0;  // while a procedure runs: how many links lie under it
    int running = 0;        // messages in progress on the window, nested ones included
    bool destroyed = false;
};

using Chains = std::unordered_map<HWND, std::shared_ptr<Chain>>;

// Windows belong to their thread, and so do their chains: no lock is needed.
Chains& ThreadChains() {
    thread_local Chains chains;
    return chains;
}

std::shared_ptr<Chain> Find(HWND hwnd) {
    const Chains& chains = ThreadChains();
    const auto it = chains.find(hwnd);
    return it == chains.end() ? nullptr : it->second;
}

Link* Live(Chain& chain, SubclassProcedure procedure, UINT_PTR id) {
    for (Link& link : chain.links) {
        if (!link.removed && link.procedure == procedure && link.id == id) return &link;
    }
    return nullptr;
}

LRESULT CALLBACK ChainProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Once no message runs: the marked links go, and a window left with none gets its own procedure back, unless
// another subclass was put over ours since (it calls ours, which then only passes messages on).
void Tidy(HWND hwnd, Chain& chain) {
    if (chain.running > 0) return;
    if (chain.destroyed) {
        ThreadChains().erase(hwnd);
        return;
    }
    std::erase_if(chain.links, [](const Link& link) { return link.removed; });
    if (!chain.links.empty()) return;
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) != &ChainProcedure) return;
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(chain.original));
    ThreadChains().erase(hwnd);
}

LRESULT Next(HWND hwnd, Chain& chain, UINT msg, WPARAM wParam, LPARAM lParam) {
    std::size_t at = chain.below;
    while (at > 0 && chain.links[at - 1].removed) --at;
    if (at == 0) return CallWindowProcW(chain.original, hwnd, msg, wParam, lParam);
    // A copy: a procedure that sets another subclass grows the vector under it.
    const Link link = chain.links[at - 1];
    const std::size_t saved = chain.below;
    chain.below = at - 1;
    const LRESULT result = link.procedure(hwnd, msg, wParam, lParam, link.id, link.data);
    chain.below = saved;
    return result;
}

LRESULT CALLBACK ChainProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const std::shared_ptr<Chain> chain = Find(hwnd);
    if (!chain) return DefWindowProcW(hwnd, msg, wParam, lParam);
    const std::size_t saved = chain->below;
    ++chain->running;
    chain->below = chain->links.size();
    const LRESULT result = Next(hwnd, *chain, msg, wParam, lParam);
    chain->below = saved;
    --chain->running;
    if (msg == WM_NCDESTROY) chain->destroyed = true;
    Tidy(hwnd, *chain);
    return result;
}

}  // namespace

bool SetSubclass(HWND hwnd, SubclassProcedure procedure, UINT_PTR id, DWORD_PTR data) {
    if (!procedure || !IsWindow(hwnd) || GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId()) {
        return false;
    }
    std::shared_ptr<Chain> chain = Find(hwnd);
    if (chain && chain->destroyed) {
        // A window destroyed inside one of its own messages, its handle now another window's.
        if (chain->running > 0) return false;
        ThreadChains().erase(hwnd);
        chain = nullptr;
    }
    if (!chain) {
        chain = std::make_shared<Chain>();
        chain->original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ChainProcedure)));
        if (!chain->original) return false;
        ThreadChains().emplace(hwnd, chain);
    }
    if (Link* link = Live(*chain, procedure, id)) {
        link->data = data;
    } else {
        chain->links.push_back({procedure, id, data});
    }
    return true;
}

bool RemoveSubclass(HWND hwnd, SubclassProcedure procedure, UINT_PTR id) {
    const std::shared_ptr<Chain> chain = Find(hwnd);
    if (!chain) return false;
    Link* link = Live(*chain, procedure, id);
    if (!link) return false;
    link->removed = true;
    Tidy(hwnd, *chain);
    return true;
}

std::optional<DWORD_PTR> SubclassData(HWND hwnd, SubclassProcedure procedure, UINT_PTR id) {
    const std::shared_ptr<Chain> chain = Find(hwnd);
    if (!chain) return std::nullopt;
    const Link* link = Live(*chain, procedure, id);
    if (!link) return std::nullopt;
    return link->data;
}

LRESULT CallNextSubclass(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const std::shared_ptr<Chain> chain = Find(hwnd);
    if (!chain) return DefWindowProcW(hwnd, msg, wParam, lParam);
    return Next(hwnd, *chain, msg, wParam, lParam);
}

}  // namespace subclass
