#include "platform/forms/MessageLoop.h"

#include <memory>
#include <vector>

namespace forms {
namespace {

struct FilterEntry {
    int id;
    MessageLoop::Filter filter;
    bool removed = false;
};

// Filters are walked in place by index. A filter may add or remove filters while it runs, also from a
// nested loop (a modal form opened by a shortcut): entries live behind pointers, so one that runs is never
// moved; a removal while any walk is under way only marks the entry, and the outermost walk drops the
// marked entries once it is done. A filter added during a walk sees messages from the next one on.
struct LoopState {
    std::vector<std::unique_ptr<FilterEntry>> filters;
    int walking = 0;           // walks of the filter list under way (nested loops walk it again)
    bool removalsDue = false;  // marked entries wait for the outermost walk to end
    int nextId = 1;
    bool quitSeen = false;
    int quitCode = 0;
    int runDepth = 0;
};

LoopState& State() {
    static LoopState state;
    return state;
}

// Takes WM_QUIT out of the queue for good but posts it again so that every enclosing loop ends too.
void NoteQuit(const MSG& msg) {
    State().quitSeen = true;
    State().quitCode = static_cast<int>(msg.wParam);
    PostQuitMessage(State().quitCode);
}

}  // namespace

int MessageLoop::AddFilter(Filter filter) {
    auto& s = State();
    const int id = s.nextId++;
    s.filters.push_back(std::make_unique<FilterEntry>(FilterEntry{id, std::move(filter)}));
    return id;
}

void MessageLoop::RemoveFilter(int id) {
    auto& s = State();
    if (s.walking == 0) {
        std::erase_if(s.filters, [id](const auto& e) { return e->id == id; });
        return;
    }
    for (const auto& e : s.filters) {
        if (e->id == id) {
            e->removed = true;
            s.removalsDue = true;
        }
    }
}

namespace {

// True when a filter handled the message.
bool Filtered(MSG& msg) {
    auto& s = State();
    ++s.walking;
    struct EndWalk {
        LoopState& s;
        ~EndWalk() {
            if (--s.walking == 0 && s.removalsDue) {
                std::erase_if(s.filters, [](const auto& e) { return e->removed; });
                s.removalsDue = false;
            }
        }
    } endWalk{s};
    const std::size_t count = s.filters.size();
    for (std::size_t i = 0; i < count; ++i) {
        FilterEntry& entry = *s.filters[i];  // re-read: a filter may have grown the list
        if (!entry.removed && entry.filter(msg)) return true;
    }
    return false;
}

}  // namespace

void MessageLoop::Process(MSG& msg) {
    if (Filtered(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

int MessageLoop::Run() {
    auto& s = State();
    ++s.runDepth;
    MSG msg{};
    while (true) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) break;
        Process(msg);
    }
    --s.runDepth;
    s.quitSeen = true;
    return static_cast<int>(msg.wParam);
}

bool MessageLoop::RunUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG start = GetTickCount64();
    MSG msg{};
    while (!done()) {
        const ULONGLONG elapsed = GetTickCount64() - start;
        if (timeoutMs != INFINITE && elapsed >= timeoutMs) return false;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                NoteQuit(msg);
                return false;
            }
            Process(msg);
            continue;
        }
        const DWORD wait = timeoutMs == INFINITE ? INFINITE : static_cast<DWORD>(timeoutMs - elapsed);
        MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
    return true;
}

void MessageLoop::DoEvents() {
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            NoteQuit(msg);
            return;
        }
        Process(msg);
    }
}

bool MessageLoop::QuitSeen() noexcept { return State().quitSeen; }
int MessageLoop::RunDepth() noexcept { return State().runDepth; }

}  // namespace forms
