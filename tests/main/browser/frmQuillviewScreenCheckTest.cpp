// The screen check of the start-up over screens of given sizes: the size it stores, and the warning of a
// small screen, answered as a user would in the message window.
#include "main/windows/Dialog.h"
#include "platform/runtime/Settings.h"
#include "tests/main/browser/ShownWindowFixture.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

namespace {

using browsertest::Window;

// Answers the message window each time it shows within its scope: the box ticked or not, then OK.
class WarningAnswerer {
public:
    explicit WarningAnswerer(bool tick) : tick_(tick) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 20, &Tick);
    }
    ~WarningAnswerer() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    WarningAnswerer(const WarningAnswerer&) = delete;
    WarningAnswerer& operator=(const WarningAnswerer&) = delete;

    int shown = 0;
    std::string caption, text;
    HWND owner = nullptr;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        Dialog& dialog = forms::Default<Dialog>();
        if (!current_ || !dialog.IsLoaded() || !IsWindowVisible(dialog.hWnd())) return;
        WarningAnswerer& self = *current_;
        ++self.shown;
        self.caption = dialog.Caption();
        self.text = dialog.Label1.Caption();
        self.owner = GetWindow(dialog.hWnd(), GW_OWNER);
        if (self.tick_) dialog.Check1.SetValue(1);
        dialog.OKButton.SetValue(true);
    }
    static inline WarningAnswerer* current_ = nullptr;
    bool tick_;
    UINT_PTR timer_ = 0;
};

class ScreenCheck : public browsertest::ShownWindow {
protected:
    ScreenCheck() : ShownWindow("ScreenCheck") {}
    void TearDown() override {
        Window().ScreenMetric = nullptr;
        forms::Default<Dialog>().Unload();
        ShownWindow::TearDown();
    }
};

TEST_F(ScreenCheck, SmallScreensAreWarnedOfUntilTheBoxIsTicked) {
    struct Case {
        int width, height;
        const char* stored;  // Resolution\nowarn before; nullptr: nothing
        bool tick;
        bool warned;
        std::optional<std::string> storedAfter;
    };
    const Case cases[] = {
        {640, 480, nullptr, false, true, std::nullopt},  // shown again at the next start
        {640, 480, nullptr, true, true, "1"},
        {640, 480, "1", false, false, "1"},
        {640, 480, "0", true, true, "1"},
        {320, 200, nullptr, false, true, std::nullopt},
        {641, 480, nullptr, false, false, std::nullopt},  // both must be small
        {640, 481, nullptr, false, false, std::nullopt},
        {640, 600, nullptr, false, false, std::nullopt},
        {800, 480, nullptr, false, false, std::nullopt},
        {1024, 768, nullptr, false, false, std::nullopt},
    };
    frmQuillview& w = Window();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height) + ", stored " +
                     (c.stored ? c.stored : "nothing") + (c.tick ? ", ticked" : ""));
        if (c.stored) {
            forms::SaveSetting("Quillview2", "Resolution", "nowarn", c.stored);
        } else {
            forms::DeleteSetting("Quillview2", "Resolution");
        }
        w.ScreenMetric = [&c](int index) {
            return index == SM_CXSCREEN ? c.width : index == SM_CYSCREEN ? c.height : GetSystemMetrics(index);
        };
        const WarningAnswerer answerer(c.tick);
        w.CheckScreenResolution();
        EXPECT_EQ(w.ScreenWidth, c.width);
        EXPECT_EQ(w.ScreenHeight, c.height);
        EXPECT_EQ(answerer.shown, c.warned ? 1 : 0);
        if (answerer.shown) {
            EXPECT_EQ(answerer.caption, "Screen Resolution");
            EXPECT_EQ(answerer.text, "For best results we recommend Quillview to be used on at least a 800x600 "
                                     "display so you have easy access to the file management toolbar and Fileseek "
                                     "utility. ");
            EXPECT_EQ(answerer.owner, w.hWnd());
        }
        const std::string after = forms::GetSetting("Quillview2", "Resolution", "nowarn", "(none)");
        EXPECT_EQ(after, c.storedAfter.value_or("(none)"));
    }
}

}  // namespace
