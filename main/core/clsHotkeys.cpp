#include "main/core/clsHotkeys.h"

#include "main/core/modInstances.h"
#include "platform/runtime/App.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/subclass/Subclasser.h"

#include <algorithm>

namespace {

// The system's print-screen keys arrive with these identifiers.
constexpr std::int32_t kSnapDesktop = -2;
constexpr std::int32_t kSnapWindow = -1;
constexpr std::int32_t kPrintScreenKey = VK_SNAPSHOT;
constexpr std::size_t kMaxAtomName = 254;

[[noreturn]] void Raise(std::int32_t number, const std::string& description) {
    throw forms::RuntimeError(number, description, forms::App::EXEName() + ".cRegHotKey");
}

// " [<the system's text>]", or nothing when the system has none.
std::string SystemMessage(DWORD code) {
    char buffer[256] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                        0, buffer, sizeof buffer, nullptr);
    std::string text(buffer, length);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text.empty() ? text : " [" + text + "]";
}

}  // namespace

clsHotkeys::~clsHotkeys() { Clear(); }

void clsHotkeys::Attach(HWND hwndA) {
    Clear();
    if (!hwndA) return;
    subclass::SubscribeMessage(*this, hwndA, WM_HOTKEY);
    hwnd_ = hwndA;
}

void clsHotkeys::Clear() {
    for (const Entry& entry : keys_) {
        UnregisterHotKey(hwnd_, entry.id);
        GlobalDeleteAtom(static_cast<ATOM>(entry.id));
    }
    keys_.clear();
    keys_.shrink_to_fit();
    if (hwnd_) {
        subclass::UnsubscribeMessage(*this, hwnd_, WM_HOTKEY);
        hwnd_ = nullptr;
    }
}

void clsHotkeys::RegisterKey(const std::string& sName, std::int32_t eKey, std::int32_t eModifiers) {
    if (sName.size() > kMaxNameLength) Raise(kRegisterError, "Key Name too long (max 32 characters).");
    if (std::any_of(keys_.begin(), keys_.end(), [&](const Entry& e) { return e.name == sName; })) {
        Raise(kDuplicateError, "The Key Name '" + sName + "' is already registered.");
    }
    // Without a window the key would belong to the thread, and WM_HOTKEY would reach no one.
    if (!hwnd_) Raise(kRegisterError, "Failed to Register Hot Key");

    std::string atomName = sName + "_" + forms::App::EXEName() + "_" +
                           std::to_string(static_cast<std::int32_t>(GetTickCount()));
    if (atomName.size() > kMaxAtomName) atomName.resize(kMaxAtomName);
    const ATOM atom = GlobalAddAtomA(atomName.c_str());
    if (!atom) Raise(kAtomError, "Failed to add GlobalAtom" + SystemMessage(GetLastError()));

    // Atoms are 0xC000 and up: as a signed 16-bit value sign-extended, the identifier is negative.
    const auto id = static_cast<std::int32_t>(static_cast<std::int16_t>(atom));
    if (!RegisterHotKey(hwnd_, id, static_cast<UINT>(eModifiers), static_cast<UINT>(eKey))) {
        const DWORD error = GetLastError();
        GlobalDeleteAtom(atom);
        Raise(kRegisterError, "Failed to Register Hot Key" + SystemMessage(error));
    }
    keys_.push_back(Entry{sName, atomName, id, eKey, eModifiers});
}

void clsHotkeys::UnregisterKey(const std::string& sName) {
    const auto found = std::find_if(keys_.begin(), keys_.end(), [&](const Entry& e) { return e.name == sName; });
    if (found == keys_.end()) Raise(kNotRegisteredError, "No hot key registered under the name '" + sName + "'");
    UnregisterHotKey(hwnd_, found->id);
    GlobalDeleteAtom(static_cast<ATOM>(found->id));
    keys_.erase(found);
    if (keys_.empty()) keys_.shrink_to_fit();
}

void clsHotkeys::RestoreAndActivate(HWND hwnd) {
    if (!IsWindowVisible(hwnd)) ShowWindow(hwnd, SW_SHOW);
    modInstances::RestoreAndActivate(hwnd);
}

std::vector<std::string> clsHotkeys::Names() const {
    std::vector<std::string> names;
    for (const Entry& entry : keys_) names.push_back(entry.name);
    return names;
}

LRESULT clsHotkeys::WindowProc(HWND, UINT iMsg, WPARAM wParam, LPARAM lParam) {
    if (iMsg != WM_HOTKEY) return 0;
    // Copies: the handler may unregister the key that fired.
    std::string name;
    std::int32_t modifiers = 0;
    std::int32_t key = 0;
    const auto id = static_cast<std::int32_t>(wParam);
    const auto found = std::find_if(keys_.begin(), keys_.end(), [&](const Entry& e) { return e.id == id; });
    if (id == kSnapDesktop) {
        name = "Desktop Snapshot";
        key = kPrintScreenKey;
    } else if (id == kSnapWindow) {
        name = "Window Snapshot";
        modifiers = MOD_SHIFT;
        key = kPrintScreenKey;
    } else if (found != keys_.end()) {
        name = found->name;
        modifiers = found->modifiers;
        key = found->key;
    } else {
        const auto packed = static_cast<std::int32_t>(lParam);
        name = "Unknown HotKey";
        modifiers = packed & 0xFFFF;
        key = packed / 65536;
    }
    if (HotKeyPress) HotKeyPress(name, modifiers, key);
    return 0;
}
