#include "ErrorNumber.h"
#include "FormsTestSupport.h"

#include "platform/forms/Form.h"
#include "platform/forms/SendKeys.h"
#include "platform/forms/controls/TextBox.h"

#include <gtest/gtest.h>

using namespace forms;
using formstest::PumpUntil;

namespace {

class frmKeys : public Form {
public:
    frmKeys() : Form({.Caption = "Keys", .Width = 4000, .Height = 3000, .Scale = ScaleMode::Pixels}) {
        Text2.KeyPress = [this](int& KeyAscii) { pressed.push_back(KeyAscii); };
    }
    std::vector<int> pressed;
    TextBox Text1{*this, "Text1", {10, 10, 100, 22}, {.Text = "one"}};
    TextBox Text2{*this, "Text2", {10, 40, 100, 22}, {.Text = "abc"}};
};

TEST(SendKeys, ABackspaceReachesTheTextBoxWithTheFocus) {
    auto& f = Default<frmKeys>();
    f.Show();
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == f.hWnd(); }, 3000));
    f.Text2.SetFocus();
    f.Text2.SetSelStart(3);
    for (const char* keys : {"{BACKSPACE}", "{bs}"}) SendKeys(keys);
    ASSERT_TRUE(PumpUntil([&] { return f.Text2.Text() == "a"; })) << f.Text2.Text();
    EXPECT_EQ(f.pressed, (std::vector<int>{8, 8})) << "one press each, seen as the key's character";
    EXPECT_EQ(f.Text1.Text(), "one");
    EXPECT_EQ(ErrorNumber([] { SendKeys("abc"); }), err::InvalidProcedureCall);
    EXPECT_EQ(ErrorNumber([] { SendKeys("{BS 2}"); }), err::InvalidProcedureCall);
    f.Unload();
    ReleaseDefault<frmKeys>();
}

}  // namespace
