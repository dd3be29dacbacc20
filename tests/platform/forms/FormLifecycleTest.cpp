#include "FormsTestSupport.h"

#include "platform/forms/Form.h"
#include "platform/runtime/MsgBox.h"
#include "platform/forms/InputBox.h"
#include "platform/forms/Program.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/forms/Timer.h"
#include "platform/forms/controls/CommandButton.h"
#include "platform/forms/controls/Label.h"
#include "InputSupport.h"
#include "ErrorNumber.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <oleauto.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <stdexcept>

#include <string>
#include <vector>

using namespace forms;
using formstest::Later;
using formstest::PumpUntil;

namespace {

std::vector<std::string>& Events() {
    static std::vector<std::string> events;
    return events;
}

// A form that records its lifecycle; hooks let a test act from inside the events.
class frmLife : public Form {
public:
    frmLife() : Form({.Caption = "Life", .Width = 3000, .Height = 2000}) {}
    int counter = 0;  // a member variable: survives Unload
    std::function<void()> onLoad;
    int cancelQuery = 0;
    int cancelUnload = 0;

protected:
    void Form_Initialize() override { Events().push_back("Initialize"); }
    void Form_Load() override {
        Events().push_back("Load");
        if (onLoad) onLoad();
    }
    void Form_QueryUnload(int& Cancel, int UnloadMode) override {
        Events().push_back("QueryUnload " + std::to_string(UnloadMode));
        Cancel = cancelQuery;
    }
    void Form_Unload(int& Cancel) override {
        Events().push_back(SessionEnding() ? "Unload at the session's end" : "Unload");
        Cancel = cancelUnload;
    }
    void Form_Terminate() override { Events().push_back("Terminate"); }
    void Form_Resize() override { Events().push_back("Resize"); }
};

class frmOther : public Form {
public:
    frmOther() : Form({.Caption = "Other", .Border = BorderStyle::FixedDialog, .StartUp = StartUpPosition::CenterScreen}) {}
    std::function<void()> onLoad;

protected:
    void Form_Load() override {
        Events().push_back("Other Load");
        if (onLoad) onLoad();
    }
    void Form_Unload(int&) override { Events().push_back("Other Unload"); }
};

class FormLifecycle : public ::testing::Test {
protected:
    void SetUp() override { Events().clear(); }
    void TearDown() override {
        Default<frmLife>().Unload();
        Default<frmOther>().Unload();
        ReleaseDefault<frmLife>();
        ReleaseDefault<frmOther>();
    }
};

TEST_F(FormLifecycle, DefaultInstanceIsCreatedOnceAndSurvivesUnload) {
    frmLife& a = Default<frmLife>();
    EXPECT_EQ(&a, &Default<frmLife>());
    EXPECT_FALSE(a.IsLoaded()) << "creating the object does not load it";
    a.counter = 7;
    a.Show();
    a.Unload();
    EXPECT_FALSE(a.IsLoaded());
    EXPECT_EQ(&a, &Default<frmLife>());
    EXPECT_EQ(a.counter, 7) << "the object's variables survive the window";
    a.Show();
    EXPECT_EQ(Events(), (std::vector<std::string>{"Initialize", "Load", "Resize", "QueryUnload 1", "Unload", "Load",
                                                  "Resize"}));
}

TEST_F(FormLifecycle, TouchingAPropertyLoadsWithoutShowing) {
    frmLife& f = Default<frmLife>();
    EXPECT_EQ(f.Caption(), "Life");
    EXPECT_TRUE(f.IsLoaded());
    EXPECT_FALSE(IsWindowVisible(f.hWnd()));
    f.SetCaption("Changed");
    f.Unload();
    EXPECT_EQ(f.Caption(), "Life") << "each load starts from the design";
    EXPECT_EQ(Events(), (std::vector<std::string>{"Initialize", "Load", "QueryUnload 1", "Unload", "Load"}));
}

TEST_F(FormLifecycle, UnloadingAnUnloadedFormDoesNothing) {
    frmLife& f = Default<frmLife>();
    f.Unload();
    EXPECT_FALSE(f.IsLoaded());
    EXPECT_EQ(Events(), (std::vector<std::string>{"Initialize"}));
}

TEST_F(FormLifecycle, ShowingALoadedHiddenFormDoesNotLoadAgain) {
    frmLife& f = Default<frmLife>();
    f.Load();
    f.Show();
    f.Hide();
    f.Show();
    EXPECT_EQ(std::count(Events().begin(), Events().end(), "Load"), 1);
    EXPECT_TRUE(f.Visible());
}

TEST_F(FormLifecycle, CancelInQueryUnloadOrUnloadKeepsTheFormLoaded) {
    frmLife& f = Default<frmLife>();
    f.Show();
    f.cancelQuery = 1;
    f.Unload();
    EXPECT_TRUE(f.IsLoaded());
    f.cancelQuery = 0;
    f.cancelUnload = 1;
    SendMessageA(f.hWnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(f.IsLoaded());
    f.cancelUnload = 0;
    SendMessageA(f.hWnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(f.IsLoaded());
    EXPECT_EQ(Events().back(), "Unload");
    EXPECT_NE(std::find(Events().begin(), Events().end(), "QueryUnload 0"), Events().end())
        << "the close box reports UnloadMode 0";
}

// The session's end: QueryUnload at the system's query, whose Cancel refuses it; the unload when the session
// does end (not when another program refused it), which nothing can cancel any more.
TEST_F(FormLifecycle, TheSessionsEndQueriesThenUnloads) {
    frmLife& f = Default<frmLife>();
    f.Show();
    Events().clear();
    f.cancelQuery = 1;
    EXPECT_EQ(SendMessageA(f.hWnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), FALSE);
    f.cancelQuery = 0;
    EXPECT_EQ(SendMessageA(f.hWnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    SendMessageA(f.hWnd(), WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
    EXPECT_TRUE(f.IsLoaded()) << "the session goes on";
    f.cancelUnload = 1;
    SendMessageA(f.hWnd(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_FALSE(f.IsLoaded());
    EXPECT_EQ(Events(), (std::vector<std::string>{"QueryUnload 2", "QueryUnload 2", "Unload at the session's end"}));
    f.cancelUnload = 0;
    f.Show();
    f.Unload();
    EXPECT_EQ(Events().back(), "Unload") << "only that unload was the session's";
}

TEST_F(FormLifecycle, ModalDisplayEndsWhenTheFormHides) {
    frmOther& f = Default<frmOther>();
    Later([&] { f.Hide(); });
    f.Show(ShowMode::Modal);
    EXPECT_TRUE(f.IsLoaded()) << "hiding ends the modal wait; the form stays loaded";
    EXPECT_FALSE(f.Visible());
}

TEST_F(FormLifecycle, ModalDisplayEndsWhenTheFormUnloads) {
    frmOther& f = Default<frmOther>();
    Later([&] { f.Unload(); });
    f.Show(ShowMode::Modal);
    EXPECT_FALSE(f.IsLoaded());
}

TEST_F(FormLifecycle, ModalDisplaysNestAndDisableTheFormsUnderThem) {
    frmLife& outer = Default<frmLife>();
    frmOther& inner = Default<frmOther>();
    bool outerDisabledMeanwhile = false;
    bool innerReturnedFirst = false;
    Later([&] {
        Later([&] {
            outerDisabledMeanwhile = !IsWindowEnabled(outer.hWnd());
            inner.Unload();
        });
        inner.Show(ShowMode::Modal, &outer);
        innerReturnedFirst = outer.IsLoaded() && outer.Visible();
        EXPECT_TRUE(IsWindowEnabled(outer.hWnd()));
        outer.Hide();
    });
    outer.Show(ShowMode::Modal);
    EXPECT_TRUE(outerDisabledMeanwhile);
    EXPECT_TRUE(innerReturnedFirst);
    EXPECT_FALSE(inner.IsLoaded());
}

TEST_F(FormLifecycle, ShowingModallyTwiceIsRefused) {
    frmOther& f = Default<frmOther>();
    bool refused = false;
    Later([&] {
        try {
            f.Show(ShowMode::Modal);
        } catch (const RuntimeError& e) {
            refused = e.Number() == 400;
        }
        f.Hide();
    });
    f.Show(ShowMode::Modal);
    EXPECT_TRUE(refused);
}

TEST_F(FormLifecycle, LoadMayUnloadItsOwnForm) {
    frmLife& f = Default<frmLife>();
    f.onLoad = [&] { f.Unload(); };
    f.Show(ShowMode::Modal);  // must return at once
    EXPECT_FALSE(f.IsLoaded());
}

TEST_F(FormLifecycle, LoadMayShowItselfAndAnotherFormModally) {
    frmLife& f = Default<frmLife>();
    frmOther& other = Default<frmOther>();
    f.onLoad = [&] {
        f.Show();
        Later([&] { other.Hide(); });
        other.Show(ShowMode::Modal);
    };
    f.Show();
    EXPECT_TRUE(f.Visible());
    EXPECT_EQ(Events(), (std::vector<std::string>{"Initialize", "Load", "Resize", "Other Load"}));
}

TEST_F(FormLifecycle, ErrorInLoadReturnsToTheStatementThatLoaded) {
    frmLife& f = Default<frmLife>();
    f.onLoad = [] { throw RuntimeError(err::Overflow); };
    EXPECT_THROW(f.Show(), RuntimeError);
}

TEST_F(FormLifecycle, MainFormUnloadUnloadsEveryOtherForm) {
    frmLife& main = Default<frmLife>();
    frmOther& other = Default<frmOther>();
    main.Show();
    other.Load();
    Form::SetMainForm(&main);
    main.Unload();
    Form::SetMainForm(nullptr);
    EXPECT_FALSE(main.IsLoaded());
    EXPECT_FALSE(other.IsLoaded());
    EXPECT_NE(std::find(Events().begin(), Events().end(), "Other Unload"), Events().end());
}

TEST_F(FormLifecycle, NewInstancesAreSeparateAndTerminateOnRelease) {
    {
        auto a = New<frmLife>();
        auto b = New<frmLife>();
        EXPECT_NE(a.get(), b.get());
        a->Load();
        EXPECT_FALSE(b->IsLoaded());
        a->Unload();
    }
    EXPECT_EQ(std::count(Events().begin(), Events().end(), "Terminate"), 2);
}

TEST_F(FormLifecycle, GeometryKeepsFractionsAndRefusesWhileMaximised) {
    frmLife& f = Default<frmLife>();
    f.Show();
    f.Move(1000.0f, 438.75f, 3000.5f, 2000.0f);
    EXPECT_FLOAT_EQ(f.Top(), 438.75f) << "read-back equals what was set";
    EXPECT_FLOAT_EQ(f.Width(), 3000.5f);
    RECT r{};
    GetWindowRect(f.hWnd(), &r);
    EXPECT_EQ(r.top, ToPixels(438.75f, ScaleMode::Twips, Axis::Y));
    f.SetWindowState(windowstate::Maximized);
    try {
        f.SetLeft(0);
        ADD_FAILURE() << "moving a maximised form must fail";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), 384);
    }
    EXPECT_EQ(f.WindowState(), windowstate::Maximized);
}

TEST_F(FormLifecycle, WritingWindowStateRaisesResizeOnlyOnChange) {
    frmLife& f = Default<frmLife>();
    f.Show();
    Events().clear();
    f.SetWindowState(windowstate::Normal);
    EXPECT_TRUE(Events().empty());
    f.SetWindowState(windowstate::Maximized);
    EXPECT_EQ(Events(), (std::vector<std::string>{"Resize"}));
    f.SetWindowState(windowstate::Normal);
    EXPECT_EQ(Events(), (std::vector<std::string>{"Resize", "Resize"}));
}

TEST_F(FormLifecycle, MinimisingAndRestoringByTheUserRaiseResize) {
    frmLife& f = Default<frmLife>();
    f.Show();
    Events().clear();
    ShowWindow(f.hWnd(), SW_MINIMIZE);
    EXPECT_EQ(f.WindowState(), windowstate::Minimized);
    ShowWindow(f.hWnd(), SW_RESTORE);
    EXPECT_EQ(Events(), (std::vector<std::string>{"Resize", "Resize"}));
}

TEST_F(FormLifecycle, ScaleConversions) {
    frmLife& f = Default<frmLife>();
    const float tpp = TwipsPerPixel(Axis::X);
    EXPECT_FLOAT_EQ(f.ScaleX(15, ScaleMode::Twips, ScaleMode::Pixels), 15 / tpp);
    EXPECT_FLOAT_EQ(f.ScaleX(2540, ScaleMode::HiMetric, ScaleMode::Twips), 1440);
    EXPECT_FLOAT_EQ(f.ScaleY(1, ScaleMode::Pixels), TwipsPerPixel(Axis::Y)) << "default target: the form's scale";
    f.SetScaleMode(ScaleMode::Pixels);
    RECT rc{};
    GetClientRect(f.hWnd(), &rc);
    EXPECT_FLOAT_EQ(f.ScaleWidth(), static_cast<float>(rc.right));
}

TEST_F(FormLifecycle, BuiltInPropertiesRefuseBadValues) {
    frmLife& f = Default<frmLife>();
    struct Case {
        const char* what;
        std::function<void()> set;
        std::int32_t number;
    };
    const Case cases[] = {
        {"window state out of range", [&] { f.SetWindowState(3); }, err::InvalidPropertyValue},
        {"window state beyond 16 bits", [&] { f.SetWindowState(40000); }, err::Overflow},
        {"mouse pointer out of range", [&] { f.SetMousePointer(77); }, err::InvalidPropertyValue},
        {"mouse pointer beyond 16 bits", [&] { f.SetMousePointer(70000); }, err::Overflow},
        {"negative width", [&] { f.SetWidth(-1); }, err::InvalidPropertyValue},
    };
    for (const Case& c : cases) EXPECT_EQ(ErrorNumber(c.set), c.number) << c.what;
    f.SetBackColor(0x80000005u);
    EXPECT_EQ(f.BackColor(), 0x80000005u);
}

TEST_F(FormLifecycle, DispatchAnswersByName) {
    frmLife& f = Default<frmLife>();
    f.Move(600, 300, 3000, 2000);
    auto disp = f.GetDispatch();
    auto get = [&](const wchar_t* name) {
        DISPID id = 0;
        LPOLESTR n = const_cast<LPOLESTR>(name);
        EXPECT_EQ(disp->GetIDsOfNames(IID_NULL, &n, 1, 0, &id), S_OK) << name;
        DISPPARAMS none{};
        VARIANT v;
        VariantInit(&v);
        EXPECT_EQ(disp->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &v, nullptr, nullptr), S_OK);
        VARIANT d;
        VariantInit(&d);
        VariantChangeType(&d, &v, 0, VT_R8);
        return d.dblVal;
    };
    EXPECT_EQ(static_cast<LONG_PTR>(get(L"hwnd")), static_cast<LONG>(reinterpret_cast<LONG_PTR>(f.hWnd())));
    EXPECT_FLOAT_EQ(static_cast<float>(get(L"LEFT")), 600);
    EXPECT_FLOAT_EQ(static_cast<float>(get(L"Width")), 3000);
    DISPID id = 0;
    LPOLESTR bad = const_cast<LPOLESTR>(L"Caption");
    EXPECT_EQ(disp->GetIDsOfNames(IID_NULL, &bad, 1, 0, &id), DISP_E_UNKNOWNNAME);
}

TEST_F(FormLifecycle, ADispatchKeptAfterItsFormWentFailsUnexpected) {
    auto f = New<frmLife>();
    f->Load();
    const auto disp = f->GetDispatch();
    f->Unload();
    f.reset();  // the last owner: the form object is gone
    DISPPARAMS none{};
    VARIANT v;
    VariantInit(&v);
    EXPECT_EQ(disp->Invoke(2, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &v, nullptr, nullptr), E_UNEXPECTED);
}

// A form whose load fails with a description in the program's code page (UTF-8), beyond ASCII.
class frmRefusing : public Form {
public:
    frmRefusing() : Form({.Caption = "Refusing"}) {}

protected:
    void Form_Load() override {
        throw RuntimeError(ObjectError + 7, "Gr\xC3\xB6\xC3\x9F" "e \xE2\x80\x9E" "Bild\xE2\x80\x9C \xE2\x82\xAC \xE6\x97\xA5");
    }
};

TEST(FormDispatchErrors, ADescriptionBeyondAsciiReachesTheCallerIntact) {
    auto f = New<frmRefusing>();
    const auto disp = f->GetDispatch();
    VARIANT width;
    VariantInit(&width);
    width.vt = VT_I4;
    width.lVal = 3000;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&width, &named, 1, 1};
    EXCEPINFO excep{};
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(L"Width");
    ASSERT_EQ(disp->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK);
    // Setting Width loads the form; its load's error is the call's.
    EXPECT_EQ(disp->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, &excep, nullptr),
              DISP_E_EXCEPTION);
    ASSERT_NE(excep.bstrDescription, nullptr);
    EXPECT_EQ(std::wstring(excep.bstrDescription, SysStringLen(excep.bstrDescription)),
              L"Gr\u00F6\u00DFe \u201EBild\u201C \u20AC \u65E5");
    EXPECT_EQ(HRESULT_CODE(excep.scode), 7) << "the number's low word";
    SysFreeString(excep.bstrDescription);
    SysFreeString(excep.bstrSource);
    SysFreeString(excep.bstrHelpFile);
}

class frmTipped : public Form {
public:
    frmTipped() : Form({.Caption = "Tipped"}) {}
    CommandButton Command1{*this, "Command1", {120, 120, 1215, 375}, {.Caption = "OK"}, {.ToolTipText = "Press"}};
    Label Label1{*this, "Label1", {120, 900, 1215, 375}, {.Caption = "Text"}, {.ToolTipText = "Read"}};
};

struct ToolSearch {
    HWND owner;
    int tools = 0;
};

BOOL CALLBACK CountTools(HWND h, LPARAM p) {
    auto& s = *reinterpret_cast<ToolSearch*>(p);
    char cls[64] = {};
    GetClassNameA(h, cls, sizeof cls);
    if (lstrcmpiA(cls, TOOLTIPS_CLASSA) == 0 && GetWindow(h, GW_OWNER) == s.owner)
        s.tools += static_cast<int>(SendMessageA(h, TTM_GETTOOLCOUNT, 0, 0));
    return TRUE;
}

// How many tools the tip windows the form owns hold (0 without a tip window).
int ToolsOfForm(HWND form) {
    ToolSearch search{form};
    EnumThreadWindows(GetCurrentThreadId(), &CountTools, reinterpret_cast<LPARAM>(&search));
    return search.tools;
}

TEST(FormToolTips, AFormShownAgainAfterUnloadHasItsTips) {
    auto f = New<frmTipped>();
    // The tip window is made when the pointer first comes over the form, with every tool set before.
    const auto pointerOver = [&] {
        for (const int x : {20, 30}) {
            formstest::MouseAt(formstest::ScreenPoint(f->hWnd(), x, 10));
            PumpUntil([] { return false; }, 30);
        }
    };
    f->Show();
    SetForegroundWindow(f->hWnd());
    EXPECT_EQ(ToolsOfForm(f->hWnd()), 0) << "no tip window before the pointer came";
    pointerOver();
    EXPECT_EQ(ToolsOfForm(f->hWnd()), 2);
    f->Unload();
    f->Show();
    pointerOver();
    EXPECT_EQ(ToolsOfForm(f->hWnd()), 2) << "the tip window of the new window holds the button's and the label's tools";
    f->Unload();
}

// The text of the tip on screen, empty while none is shown.
std::string ShownTip(HWND form) {
    struct Search {
        HWND owner;
        std::string text;
    } search{form, {}};
    EnumThreadWindows(GetCurrentThreadId(), [](HWND h, LPARAM p) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(p);
        char cls[64] = {};
        GetClassNameA(h, cls, sizeof cls);
        if (lstrcmpiA(cls, TOOLTIPS_CLASSA) != 0 || GetWindow(h, GW_OWNER) != s.owner || !IsWindowVisible(h)) return TRUE;
        char text[80] = {};
        TTTOOLINFOA ti{};
        ti.cbSize = sizeof ti;
        ti.lpszText = text;
        if (SendMessageA(h, TTM_GETCURRENTTOOLA, 0, reinterpret_cast<LPARAM>(&ti))) s.text = text;
        return TRUE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.text;
}

TEST(FormToolTips, ThePointerRestingOverAControlShowsItsTip) {
    auto f = New<frmTipped>();
    f->Show();
    SetForegroundWindow(f->hWnd());
    struct Case {
        const char* what;
        Control& control;
        const char* tip;
    };
    const Case cases[] = {{"a control with a window", f->Command1, "Press"},
                          {"a windowless control", f->Label1, "Read"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const RECT r = c.control.PixelRect();
        // Off the control first: a tip shows for the tool the pointer comes to.
        formstest::MouseAt(formstest::ScreenPoint(f->hWnd(), r.right + 40, r.bottom + 40));
        PumpUntil([&] { return ShownTip(f->hWnd()).empty(); }, 3000);
        for (int i = 0; i < 3; ++i) {
            formstest::MouseAt(formstest::ScreenPoint(f->hWnd(), (r.left + r.right) / 2 + i, (r.top + r.bottom) / 2));
            PumpUntil([] { return false; }, 30);
        }
        EXPECT_TRUE(PumpUntil([&] { return ShownTip(f->hWnd()) == c.tip; }, 5000)) << "shown: " << ShownTip(f->hWnd());
    }
    f->Unload();
}

TEST_F(FormLifecycle, AnErrorLeavingAModalLoopGivesTheOtherFormsBack) {
    frmLife& under = Default<frmLife>();
    frmOther& modal = Default<frmOther>();
    under.Show();
    constexpr UINT Boom = WM_APP + 0x177;
    const int filter = MessageLoop::AddFilter([](MSG& m) -> bool {
        if (m.message == Boom) throw std::runtime_error("filter failed");
        return false;
    });
    PostThreadMessageA(GetCurrentThreadId(), Boom, 0, 0);
    EXPECT_THROW(modal.Show(ShowMode::Modal), std::runtime_error);
    MessageLoop::RemoveFilter(filter);
    EXPECT_TRUE(IsWindowEnabled(under.hWnd()));
    EXPECT_FALSE(modal.IsModal());
}

// ---- the dispatch boundary ----

class frmFaulty : public Form {
public:
    frmFaulty() : Form({.Caption = "Faulty"}) { Timer1.Tick = [this] { Timer1_Timer(); }; }
    Timer Timer1{*this, "Timer1", {.Interval = 20, .Enabled = true}};
    int ticks = 0;

private:
    void Timer1_Timer() {
        ++ticks;
        if (ticks == 1) throw RuntimeError(err::Overflow);
    }
};

TEST(EventErrorBoundary, AnErrorEscapingAHandlerIsReportedOnceAndTheLoopGoesOn) {
    formstest::Script script;
    script->ExpectMsgBox("Run-time error 6:\n\nOverflow", mb::Critical, AppTitle(), answer::Ok);
    frmFaulty& f = Default<frmFaulty>();
    f.Load();
    EXPECT_TRUE(PumpUntil([&] { return f.ticks >= 3; }));
    f.Unload();
    ReleaseDefault<frmFaulty>();
    EXPECT_EQ(script->Remaining(), 0u);
}

}  // namespace

// ---- activation, self-unloading, End ----

namespace {

class frmActive : public Form {
public:
    frmActive() : Form({.Caption = "Active"}) {}
    int activations = 0;

protected:
    void Form_Activate() override { ++activations; }
};

class frmAbout : public Form {
public:
    frmAbout() : Form({.Caption = "About", .Border = BorderStyle::FixedDialog}) {}
};

BOOL CALLBACK FindDialog(HWND h, LPARAM p) {
    char cls[16] = {};
    GetClassNameA(h, cls, sizeof cls);
    if (std::string(cls) == "#32770" && IsWindowVisible(h)) {
        *reinterpret_cast<HWND*>(p) = h;
        return FALSE;
    }
    return TRUE;
}

// Closes the message box or dialog of this thread that is up, from inside its loop.
void AnswerSystemBox(int command) {
    Later([command] {
        HWND box = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), &FindDialog, reinterpret_cast<LPARAM>(&box));
        if (box) PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(command), 0);
    }, 100);
}

TEST(FormActivation, ActivateRunsWhenAnotherFormGaveUpTheActivationNotAfterAMessageBox) {
    frmActive& f = Default<frmActive>();
    f.Show();
    ASSERT_TRUE(PumpUntil([&] { return f.activations == 1; }, 2000));
    AnswerSystemBox(IDOK);
    EXPECT_EQ(MsgBox("Closing this box does not activate the form again"), answer::Ok);
    ASSERT_TRUE(formstest::PumpPosted()) << "the form's own note of the activation came before this";
    EXPECT_EQ(f.activations, 1);
    frmAbout& about = Default<frmAbout>();
    Later([&] { about.Unload(); }, 100);
    about.Show(ShowMode::Modal, &f);
    EXPECT_TRUE(PumpUntil([&] { return f.activations == 2; }, 2000)) << "back from another form: Activate";
    f.Unload();
    ReleaseDefault<frmActive>();
    ReleaseDefault<frmAbout>();
}

TEST(SystemAnswerer, TheInputDialogReturnsTheTextOnOkAndNothingOnCancel) {
    Later([] {
        HWND dlg = FindWindowA("#32770", "Rename File");
        if (!dlg) return;
        SetDlgItemTextA(dlg, 101, "new name.jpg");
        PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    }, 100);
    EXPECT_EQ(InputBox("Please type a new name for a.jpg below.", "Rename File", "a.jpg"), "new name.jpg");
    AnswerSystemBox(IDCANCEL);
    EXPECT_EQ(InputBox("Please enter the name of the new directory.", "Create New Directory"), "");
}

namespace {

// The title's width in the title bar's font.
int TitleTextWidth(HWND window) {
    char title[128]{};
    GetWindowTextA(window, title, sizeof title);
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT font = CreateFontIndirectA(&metrics.lfCaptionFont);
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE text{};
    GetTextExtentPoint32A(dc, title, lstrlenA(title), &text);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    DeleteObject(font);
    return text.cx;
}

}  // namespace

TEST(SystemAnswerer, AShortTextsBoxIsWideEnoughForItsTitle) {
    struct Seen {
        RECT box{}, button{};
        int title = 0;
    };
    std::optional<Seen> seen;
    Later([&] {
        HWND box = FindWindowA("#32770", "Quillview Error");
        if (!box) return;
        Seen s;
        GetWindowRect(box, &s.box);
        GetWindowRect(GetDlgItem(box, IDOK), &s.button);
        s.title = TitleTextWidth(box);
        seen = s;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }, 100);
    EXPECT_EQ(MsgBox("Error!", mb::Critical, "Quillview Error"), answer::Ok);
    ASSERT_TRUE(seen) << "the box was not found";
    const int width = seen->box.right - seen->box.left;
    EXPECT_GE(width, seen->title + 2 * GetSystemMetrics(SM_CXSIZE)) << "room for the title and the close button";
    const int buttonCentre = (seen->button.left + seen->button.right) / 2;
    EXPECT_NEAR(buttonCentre, (seen->box.left + seen->box.right) / 2, 4) << "the button stays in the middle";
}

class frmSelfUnload : public Form {
public:
    frmSelfUnload() : Form({.Caption = "Self"}) {
        Timer1.Tick = [this] {
            ++ticks;
            Unload();  // from its own timer
        };
    }
    Timer Timer1{*this, "Timer1", {.Interval = 10}};
    int ticks = 0;
};

TEST(FormLifecycleSelf, AFormMayUnloadItselfFromItsTimer) {
    auto f = New<frmSelfUnload>();
    f->Load();
    EXPECT_TRUE(PumpUntil([&] { return !f->IsLoaded(); }));
    EXPECT_EQ(f->ticks, 1);
}

// The child half of EndEndsTheProcessAtOnce: runs only when started by it.
TEST(EndChild, EndsAtOnce) {
    const char* marker = std::getenv("QV_FORMS_END_MARKER");
    if (!marker) GTEST_SKIP() << "runs as the child of FormEnd.EndEndsTheProcessAtOnce";
    struct frmEnding : Form {
        frmEnding() : Form({.Caption = "Ending"}) {}
        std::string path;
        void Form_Unload(int&) override { std::FILE* f = std::fopen((path + ".unload").c_str(), "w"); std::fclose(f); }
    };
    auto form = New<frmEnding>();
    form->path = marker;
    form->Show();
    std::FILE* before = std::fopen((std::string(marker) + ".before").c_str(), "w");
    std::fclose(before);
    End();
    std::FILE* after = std::fopen((std::string(marker) + ".after").c_str(), "w");  // never reached
    std::fclose(after);
}

TEST(FormEnd, EndEndsTheProcessAtOnce) {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string marker = std::string(temp) + "qv_forms_end_" + std::to_string(GetCurrentProcessId());
    SetEnvironmentVariableA("QV_FORMS_END_MARKER", marker.c_str());
    std::string cmd = "\"" + std::string(exe) + "\" --gtest_filter=EndChild.EndsAtOnce";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    SetEnvironmentVariableA("QV_FORMS_END_MARKER", nullptr);
    ASSERT_EQ(WaitForSingleObject(pi.hProcess, 60000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    EXPECT_EQ(code, 0u);
    EXPECT_NE(GetFileAttributesA((marker + ".before").c_str()), INVALID_FILE_ATTRIBUTES) << "the child reached End";
    EXPECT_EQ(GetFileAttributesA((marker + ".unload").c_str()), INVALID_FILE_ATTRIBUTES) << "no Unload event";
    EXPECT_EQ(GetFileAttributesA((marker + ".after").c_str()), INVALID_FILE_ATTRIBUTES) << "no further code";
    DeleteFileA((marker + ".before").c_str());
    DeleteFileA((marker + ".unload").c_str());
    DeleteFileA((marker + ".after").c_str());
}

}  // namespace

namespace {

class frmRunMain : public Form {
public:
    frmRunMain() : Form({.Caption = "Main"}) { Timer1.Tick = [this] { Unload(); }; }
    Timer Timer1{*this, "Timer1", {.Interval = 30}};
};

class frmRunOther : public Form {
public:
    frmRunOther() : Form({.Caption = "Other"}) {}
    bool unloaded = false;

protected:
    void Form_Unload(int& Cancel) override {
        unloaded = true;
        Cancel = 1;  // cannot keep the program alive
    }
};

TEST(ProgramRun, TheProgramEndsWhenItsMainFormUnloads) {
    auto main = New<frmRunMain>();
    auto other = New<frmRunOther>();
    Form::SetMainForm(main.get());
    main->Show();
    other->Load();
    forms::Run();
    Form::SetMainForm(nullptr);
    EXPECT_FALSE(main->IsLoaded());
    EXPECT_TRUE(other->unloaded);
    EXPECT_FALSE(other->IsLoaded());
}

TEST(ProgramRun, WithoutAMainFormTheLastFormEndsItAndWithNoFormRunReturnsAtOnce) {
    EXPECT_EQ(forms::Run(), 0);
    auto last = New<frmRunMain>();
    last->Load();
    forms::Run();
    EXPECT_FALSE(last->IsLoaded());
}

}  // namespace

namespace {

class frmDesigned : public Form {
public:
    explicit frmDesigned(FormDesign d) : Form(std::move(d)) {}
};

TEST(FormDesignAttributes, BorderStylesAndTaskBar) {
    struct Case {
        BorderStyle border;
        bool sizable;
        bool tool;
        bool caption;
    };
    const Case cases[] = {{BorderStyle::None, false, false, false},
                          {BorderStyle::FixedSingle, false, false, true},
                          {BorderStyle::Sizable, true, false, true},
                          {BorderStyle::FixedDialog, false, false, true},
                          {BorderStyle::FixedToolWindow, false, true, true},
                          {BorderStyle::SizableToolWindow, true, true, true}};
    for (const Case& c : cases) {
        frmDesigned f({.Caption = "x", .Border = c.border, .ShowInTaskbar = false});
        f.Show();
        const LONG_PTR style = GetWindowLongPtrA(f.hWnd(), GWL_STYLE);
        const LONG_PTR ex = GetWindowLongPtrA(f.hWnd(), GWL_EXSTYLE);
        EXPECT_EQ((style & WS_THICKFRAME) != 0, c.sizable) << static_cast<int>(c.border);
        EXPECT_EQ((ex & WS_EX_TOOLWINDOW) != 0, c.tool) << static_cast<int>(c.border);
        EXPECT_EQ((style & WS_CAPTION) == WS_CAPTION, c.caption) << static_cast<int>(c.border);
        EXPECT_NE(GetWindow(f.hWnd(), GW_OWNER), nullptr) << "not in the task bar: an owned window";
        EXPECT_TRUE(IsWindowVisible(f.hWnd()));
        f.Unload();
    }
}

TEST(FormDesignAttributes, CentredOnScreenAndMaximisedAtDesign) {
    frmDesigned centred({.Caption = "c", .Width = 3000, .Height = 2000, .StartUp = StartUpPosition::CenterScreen});
    centred.Show();
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoA(MonitorFromWindow(centred.hWnd(), MONITOR_DEFAULTTOPRIMARY), &mi);
    RECT r{};
    GetWindowRect(centred.hWnd(), &r);
    EXPECT_NEAR((r.left + r.right) / 2.0, (mi.rcWork.left + mi.rcWork.right) / 2.0, 1.0);
    EXPECT_NEAR((r.top + r.bottom) / 2.0, (mi.rcWork.top + mi.rcWork.bottom) / 2.0, 1.0);
    centred.Unload();

    frmDesigned maxed({.Caption = "m", .WindowState = windowstate::Maximized});
    maxed.Show();
    EXPECT_TRUE(IsZoomed(maxed.hWnd()));
    EXPECT_EQ(maxed.WindowState(), windowstate::Maximized);
    maxed.Unload();
}

}  // namespace
