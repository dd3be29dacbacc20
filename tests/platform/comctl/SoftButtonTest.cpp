#include "ComctlTestSupport.h"

#include "platform/comctl/SoftButton.h"
#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"
#include "platform/forms/controls/CommandButton.h"
#include "platform/forms/controls/TextBox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace forms;
using namespace comctltest;

namespace {
Log& Events() {
    static Log log;
    return log;
}

class frmModal : public Form {
public:
    frmModal() : Form({.Caption = "Modal", .Width = 3000, .Height = 2000, .StartUp = StartUpPosition::CenterScreen}) {}
};

class frmButtons : public Form {
public:
    frmButtons()
        : Form({.Caption = "Buttons", .Left = 600, .Top = 600, .Width = 6000, .Height = 3000,
                .StartUp = StartUpPosition::Manual, .Scale = ScaleMode::Pixels}) {
        Toolbar.OnEach([](SoftButton& b) {
            b.Click = [i = b.Index()] { Events()("Toolbar_Click " + std::to_string(i)); };
            b.GotFocus = [i = b.Index()] { Events()("Toolbar_GotFocus " + std::to_string(i)); };
            b.LostFocus = [i = b.Index()] { Events()("Toolbar_LostFocus " + std::to_string(i)); };
        });
        Text1.GotFocus = [] { Events()("Text1_GotFocus"); };
        Opener.Click = [this] {
            Events()("Opener_Click");
            New<frmModal>()->Show(ShowMode::Modal, this);
        };
    }
    ControlArray<SoftButton> Toolbar{*this, "Toolbar", {{0, {{10, 10, 32, 32}}}, {1, {{50, 10, 32, 32}, {}, {.Enabled = false}}}}};
    SoftButton Opener{*this, "Opener", {90, 10, 32, 32}};
    TextBox Text1{*this, "Text1", {10, 60, 120, 22}};
};

class SoftButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        Events().Clear();
        form->Show();
        ASSERT_TRUE(BringToFront(form->hWnd()));
    }
    void TearDown() override { form->Unload(); }
    bool Logged(const std::string& line) {
        const auto& l = Events().lines;
        return std::find(l.begin(), l.end(), line) != l.end();
    }
    std::shared_ptr<frmButtons> form = New<frmButtons>();
};
}  // namespace

TEST_F(SoftButtonTest, AClickGivesFocusThenOneClickAndFocusMovesOnInOrder) {
    ASSERT_TRUE(ClickUntil(CentreOf(form->Toolbar(0).hWnd()), [&] { return Logged("Toolbar_Click 0"); }));
    ASSERT_TRUE(ClickUntil(CentreOf(form->Text1.hWnd()), [&] { return Logged("Text1_GotFocus"); }));
    EXPECT_EQ(Events().lines, (std::vector<std::string>{"Toolbar_GotFocus 0", "Toolbar_Click 0", "Toolbar_LostFocus 0",
                                                        "Text1_GotFocus"}));
}

TEST_F(SoftButtonTest, KeysClickTheFocusedButtonAndADisabledOneGivesNothing) {
    const auto clicks = [](int index) {
        const auto& l = Events().lines;
        return std::count(l.begin(), l.end(), "Toolbar_Click " + std::to_string(index));
    };
    ASSERT_TRUE(ClickUntil(CentreOf(form->Toolbar(0).hWnd()), [&] { return clicks(0) > 0; }));
    ASSERT_TRUE(BringToFront(form->hWnd()));
    ASSERT_EQ(GetFocus(), form->Toolbar(0).hWnd());
    const auto before = clicks(0);
    KeyPress(VK_SPACE);
    KeyPress(VK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return clicks(0) >= before + 2; })) << ::testing::PrintToString(Events().lines);
    // The disabled button is clicked; the text box's focus after it marks the end of that input.
    Events().Clear();
    ClickAt(CentreOf(form->Toolbar(1).hWnd()));
    ASSERT_TRUE(ClickUntil(CentreOf(form->Text1.hWnd()), [&] { return Logged("Text1_GotFocus"); }));
    EXPECT_EQ(Events().lines, (std::vector<std::string>{"Toolbar_LostFocus 0", "Text1_GotFocus"}));
    EXPECT_EQ(clicks(0) + clicks(1), 0);
}

TEST_F(SoftButtonTest, ResetLookAfterAClickThatOpenedAModalForm) {
    const HWND opener = form->Opener.hWnd();
    bool modalSeen = false;
    std::function<void()> closeModal = [&] {
        const HWND modal = FindWindowA(nullptr, "Modal");
        if (!modal || !IsWindowVisible(modal)) return Later(closeModal);
        modalSeen = true;
        // The pointer leaves while the modal form is up and the button never sees it go.
        MoveTo(POINT{5, 5});
        PostMessageA(modal, WM_CLOSE, 0, 0);
    };
    Later(closeModal);
    ASSERT_TRUE(ClickUntil(CentreOf(opener), [&] { return modalSeen && !FindWindowA(nullptr, "Modal"); }));
    form->Opener.ResetLook(0);
    EXPECT_FALSE(form->Opener.Hot());
    EXPECT_EQ(SendMessageA(opener, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
}

TEST_F(SoftButtonTest, RaisedUnderThePointerFlatAtRest) {
    const HWND button = form->Toolbar(0).hWnd();
    const auto edgePixel = [&] {
        HDC dc = GetDC(button);
        const COLORREF c = GetPixel(dc, 0, 0);
        ReleaseDC(button, dc);
        return c;
    };
    RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const COLORREF rest = edgePixel();
    MoveTo(CentreOf(button));
    ASSERT_TRUE(PumpUntil([&] { return form->Toolbar(0).Hot(); }));
    RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_NE(edgePixel(), rest) << "the raised edge shows under the pointer";
    MoveTo(CentreOf(form->Text1.hWnd()));
    EXPECT_TRUE(PumpUntil([&] { return !form->Toolbar(0).Hot(); }));
}
