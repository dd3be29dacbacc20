// Hot keys on a real window: registration rules and errors, WM_HOTKEY through the subclasser, and real key
// presses synthesised with SendInput (which reaches a registered hot key without the X focus).

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "main/core/clsHotkeys.h"
#include "platform/forms/Form.h"
#include "platform/runtime/App.h"
#include "platform/runtime/RuntimeError.h"
#include "tests/platform/forms/FormsTestSupport.h"

namespace {

class frmKeys : public forms::Form {
public:
    frmKeys() : Form({.Caption = "Hot keys"}) {}
};

// A combination nothing else in the suite uses.
constexpr std::int32_t kMods = MOD_CONTROL | MOD_ALT | MOD_SHIFT;

void Press(WORD key) {
    const WORD modifiers[] = {VK_CONTROL, VK_MENU, VK_SHIFT};
    std::vector<INPUT> inputs;
    auto add = [&](WORD vk, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    for (WORD m : modifiers) add(m, false);
    add(key, false);
    add(key, true);
    for (WORD m : modifiers) add(m, true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Presses the combination until done() holds: a synthesised press can be lost while another process of the
// prefix sends keys of its own. Bounded: five presses of a second each.
bool PressUntil(WORD key, const std::function<bool()>& done) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        Press(key);
        if (formstest::PumpUntil(done, 1000)) return true;
    }
    return false;
}

// True when the combination is free again: a plain window can take it.
bool IsFree(std::int32_t key) {
    const HWND probe = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    const bool free = RegisterHotKey(probe, 1, kMods, static_cast<UINT>(key)) != FALSE;
    if (free) UnregisterHotKey(probe, 1);
    DestroyWindow(probe);
    return free;
}

struct Press3 {
    std::string name;
    std::int32_t modifiers;
    std::int32_t key;
    bool operator==(const Press3&) const = default;
};

class Hotkeys : public testing::Test {
protected:
    void SetUp() override {
        form_ = forms::New<frmKeys>();
        form_->Show();
        keys_.emplace();
        keys_->HotKeyPress = [this](const std::string& name, std::int32_t modifiers, std::int32_t key) {
            seen_.push_back({name, modifiers, key});
        };
        keys_->Attach(form_->hWnd());
    }
    void TearDown() override {
        keys_.reset();
        form_->Unload();
    }

    static std::string Source() { return forms::App::EXEName() + ".cRegHotKey"; }

    std::shared_ptr<frmKeys> form_;
    std::optional<clsHotkeys> keys_;
    std::vector<Press3> seen_;
};

TEST_F(Hotkeys, NameRulesAndErrors) {
    struct Row {
        std::string name;
        std::int32_t number;  // 0: accepted
        std::string description;
    };
    const Row rows[] = {
        {std::string(32, 'n'), 0, ""},
        {std::string(33, 'n'), clsHotkeys::kRegisterError, "Key Name too long (max 32 characters)."},
        {"cap", 0, ""},
        {"cap", clsHotkeys::kDuplicateError, "The Key Name 'cap' is already registered."},
    };
    std::int32_t key = VK_F5;
    for (const Row& row : rows) {
        try {
            keys_->RegisterKey(row.name, key++, kMods);
            EXPECT_EQ(row.number, 0) << row.name;
        } catch (const forms::RuntimeError& e) {
            EXPECT_EQ(e.Number(), row.number) << row.name;
            EXPECT_EQ(e.Description(), row.description);
            EXPECT_EQ(e.Source(), Source());
        }
    }
    EXPECT_EQ(keys_->Names(), (std::vector<std::string>{std::string(32, 'n'), "cap"}));
    // The refused keys hold nothing.
    EXPECT_TRUE(IsFree(VK_F6));
    EXPECT_TRUE(IsFree(VK_F8));

    try {
        keys_->UnregisterKey("none");
        ADD_FAILURE();
    } catch (const forms::RuntimeError& e) {
        EXPECT_EQ(e.Number(), clsHotkeys::kNotRegisteredError);
        EXPECT_EQ(e.Description(), "No hot key registered under the name 'none'");
    }

    clsHotkeys unattached;
    try {
        unattached.RegisterKey("cap", VK_F9, kMods);
        ADD_FAILURE();
    } catch (const forms::RuntimeError& e) {
        EXPECT_EQ(e.Number(), clsHotkeys::kRegisterError);
        EXPECT_EQ(e.Description(), "Failed to Register Hot Key");
    }
    EXPECT_TRUE(unattached.Names().empty());
    EXPECT_TRUE(IsFree(VK_F9));
}

TEST_F(Hotkeys, CombinationHeldElsewhereIsRefusedWithTheSystemText) {
    const HWND holder = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(RegisterHotKey(holder, 7, kMods, VK_F10));
    try {
        keys_->RegisterKey("cap", VK_F10, kMods);
        ADD_FAILURE();
    } catch (const forms::RuntimeError& e) {
        EXPECT_EQ(e.Number(), clsHotkeys::kRegisterError);
        char text[256] = {};
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                       ERROR_HOTKEY_ALREADY_REGISTERED, 0, text, sizeof text, nullptr);
        std::string expected = text;
        while (!expected.empty() && (expected.back() == '\n' || expected.back() == '\r')) expected.pop_back();
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(e.Description(), "Failed to Register Hot Key [" + expected + "]");
    }
    EXPECT_TRUE(keys_->Names().empty());
    // The name is still free for another combination.
    keys_->RegisterKey("cap", VK_F11, kMods);
    UnregisterHotKey(holder, 7);
    DestroyWindow(holder);
}

TEST_F(Hotkeys, RealPressesRaiseTheEventByName) {
    keys_->RegisterKey("first", VK_F5, kMods);
    keys_->RegisterKey("second", VK_F6, kMods);
    keys_->RegisterKey("third", VK_F7, kMods);
    keys_->UnregisterKey("first");
    EXPECT_EQ(keys_->Names(), (std::vector<std::string>{"second", "third"}));
    EXPECT_TRUE(IsFree(VK_F5));

    ASSERT_TRUE(PressUntil(VK_F7, [&] { return !seen_.empty(); }));
    EXPECT_EQ(seen_.back(), (Press3{"third", kMods, VK_F7}));
    seen_.clear();
    ASSERT_TRUE(PressUntil(VK_F6, [&] { return !seen_.empty(); }));
    EXPECT_EQ(seen_.back(), (Press3{"second", kMods, VK_F6}));
}

TEST_F(Hotkeys, HandlerMayUnregisterTheKeyThatFired) {
    keys_->RegisterKey("cap", VK_F8, kMods);
    keys_->HotKeyPress = [this](const std::string& name, std::int32_t modifiers, std::int32_t key) {
        seen_.push_back({name, modifiers, key});
        keys_->UnregisterKey(name);
    };
    ASSERT_TRUE(PressUntil(VK_F8, [&] { return !seen_.empty(); }));
    EXPECT_EQ(seen_[0], (Press3{"cap", kMods, VK_F8}));
    EXPECT_TRUE(keys_->Names().empty());
    EXPECT_TRUE(IsFree(VK_F8));
}

TEST_F(Hotkeys, SystemAndUnknownIdentifiers) {
    keys_->RegisterKey("cap", VK_F9, kMods);
    const HWND window = form_->hWnd();
    SendMessageA(window, WM_HOTKEY, static_cast<WPARAM>(-2), 0);
    SendMessageA(window, WM_HOTKEY, static_cast<WPARAM>(-1), 0);
    SendMessageA(window, WM_HOTKEY, 0x1234, MAKELPARAM(MOD_ALT | MOD_SHIFT, VK_F2));
    SendMessageA(window, WM_KEYDOWN, VK_F9, 0);
    const std::vector<Press3> expected{
        {"Desktop Snapshot", 0, VK_SNAPSHOT},
        {"Window Snapshot", MOD_SHIFT, VK_SNAPSHOT},
        {"Unknown HotKey", MOD_ALT | MOD_SHIFT, VK_F2},
    };
    EXPECT_EQ(seen_, expected);
}

TEST_F(Hotkeys, ClearAttachAndDestructionReleaseEveryKey) {
    keys_->RegisterKey("a", VK_F5, kMods);
    keys_->RegisterKey("b", VK_F6, kMods);
    keys_->Clear();
    EXPECT_TRUE(keys_->Names().empty());
    EXPECT_EQ(keys_->Attached(), nullptr);
    EXPECT_TRUE(IsFree(VK_F5));
    EXPECT_TRUE(IsFree(VK_F6));
    // Detached: the window's hot-key messages reach the object no more.
    SendMessageA(form_->hWnd(), WM_HOTKEY, static_cast<WPARAM>(-2), 0);
    EXPECT_TRUE(seen_.empty());

    keys_->Attach(form_->hWnd());
    keys_->RegisterKey("a", VK_F5, kMods);
    keys_->Attach(form_->hWnd());
    EXPECT_TRUE(IsFree(VK_F5));
    keys_->RegisterKey("a", VK_F5, kMods);
    keys_.reset();
    EXPECT_TRUE(IsFree(VK_F5));
}

TEST(HotkeysRestore, ShowsRestoresAndActivates) {
    auto form = forms::New<frmKeys>();
    form->Load();
    const HWND window = form->hWnd();
    ASSERT_FALSE(IsWindowVisible(window));
    clsHotkeys::RestoreAndActivate(window);
    EXPECT_TRUE(IsWindowVisible(window));
    ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(window));
    clsHotkeys::RestoreAndActivate(window);
    EXPECT_TRUE(formstest::PumpUntil([&] { return !IsIconic(window) && GetForegroundWindow() == window; }));
    form->Unload();
}

}  // namespace
