#include "platform/forms/MessageLoop.h"

#include <memory>
#include <vector>

namespace forms {
namespace {

struct FilterEntry {
    int id;
    MessageLoop::Filter filter;
};

struct LoopState {
    std::vector<std::shared_ptr<FilterEntry>> filters;
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
    s.filters.push_back(std::make_shared<FilterEntry>(FilterEntry{id, std::move(filter)}));
    return id;
}

void MessageLoop::RemoveFilter(int id) {
    auto& f = State().filters;
    std::erase_if(f, [id](const auto& e) { return e->id == id; });
}

void MessageLoop::Process(MSG& msg) {
    // A copy, so that a filter may add or remove filters while it runs.
    const auto filters = State().filters;
    for (const auto& entry : filters) {
        if (entry->filter(msg)) return;
    }
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
