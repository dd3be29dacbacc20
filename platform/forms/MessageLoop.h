#pragma once
// The one message loop of the UI thread. Every wait of the program (modal form, DoEvents, a test pumping
// until a condition holds) runs an instance of it, so pre-translate filters (menu shortcuts, KeyPreview,
// tab navigation of forms, modeless dialogs) apply everywhere.

#include <windows.h>

#include <functional>

namespace forms {

class MessageLoop {
public:
    // A filter sees each message before it is dispatched; returning true means it handled the message.
    // Filters may add and remove filters (themselves too) while they run, also from a nested loop: a removed
    // filter sees no message after its removal, an added one its first message after the current one.
    using Filter = std::function<bool(MSG&)>;
    static int AddFilter(Filter filter);
    static void RemoveFilter(int id);

    // Runs until WM_QUIT; returns its exit code.
    static int Run();
    // Runs until done() holds (checked before waiting and after each message). Returns false when the wait
    // ended otherwise: WM_QUIT arrived (it is posted again, so outer loops end too) or timeoutMs passed.
    static bool RunUntil(const std::function<bool()>& done, DWORD timeoutMs = INFINITE);
    // Dispatches every pending message, then returns.
    static void DoEvents();
    // True once WM_QUIT has been seen by any loop of this thread.
    static bool QuitSeen() noexcept;
    // Depth of Run() calls active (the program's outermost loop counts 1).
    static int RunDepth() noexcept;

    // Filters, translation and dispatch of one message.
    static void Process(MSG& msg);
};

// Dispatches every pending message (the statement of the same name).
inline void DoEvents() { MessageLoop::DoEvents(); }

}  // namespace forms
