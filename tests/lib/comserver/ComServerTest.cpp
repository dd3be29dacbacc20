// The shared server frame, driven through a small server of its own: registration, creation by CLSID and
// ProgID, calls through the dual interface and by name, rich errors both ways, and the helpers.

#include <windows.h>
#include <oleauto.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "FrameTest.h"
#include "TestSupport.h"
#include "lib/comserver/Bstr.h"
#include "lib/comserver/ClientError.h"
#include "lib/comserver/ErrorCode.h"
#include "lib/comserver/LateBound.h"
#include "lib/comserver/Variant.h"
#include "platform/runtime/RuntimeError.h"
#include "tests/support/Apartment.h"

using comserver::Bstr;
using comserver::ComPtr;
using comserver::Variant;

namespace {

using testsupport::ClassesKeyExists;
using testsupport::GuidText;

std::string ClassesValue(const std::string& path, const char* name) {
    char data[1024] = {};
    DWORD size = sizeof data;
    if (RegGetValueA(HKEY_CLASSES_ROOT, path.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return "<none>";
    return data;
}

struct Server : testsupport::ServerModule {
    Server() : ServerModule(QV_FRAMETEST_DLL) {}
};

// The server registered for the tests that call it; unregistered at the end.
class FrameTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        com_ = std::make_unique<qvtest::Apartment>();
        server_ = std::make_unique<Server>();
        ASSERT_TRUE(server_->Loaded());
        ASSERT_EQ(server_->Call("DllRegisterServer"), S_OK);
    }
    static void TearDownTestSuite() {
        server_->Call("DllUnregisterServer");
        server_.reset();
        com_.reset();
    }
    static ComPtr<_Probe> NewProbe() { return comserver::CreateInstance<_Probe>(CLSID_Probe, IID__Probe); }

    static inline std::unique_ptr<qvtest::Apartment> com_;
    static inline std::unique_ptr<Server> server_;
};

TEST_F(FrameTest, DualInterfaceCallPassesTextBothWays) {
    const auto probe = NewProbe();
    Bstr text("äbc");
    VARIANT_BOOL upper = VARIANT_FALSE;
    Bstr result;
    ASSERT_EQ(probe->Echo(reinterpret_cast<BSTR*>(&text), &upper, result.Put()), S_OK);
    EXPECT_EQ(result.Text(), "äbc");
    EXPECT_EQ(text.Text(), "seen");
}

TEST_F(FrameTest, RaisedErrorArrivesWithNumberSourceAndDescription) {
    struct Case {
        std::int32_t number;
        HRESULT hr;
    };
    const Case cases[] = {
        {53, static_cast<HRESULT>(0x800A0035)},
        {forms::ObjectError + 0x201, static_cast<HRESULT>(0x80040201)},
    };
    const auto probe = NewProbe();
    for (const Case& c : cases) {
        const Bstr description("Thing went wrong");
        const HRESULT hr = probe->Fail(c.number, description.Get());
        EXPECT_EQ(hr, c.hr);
        const forms::RuntimeError e = comserver::ErrorFromHresult(hr, probe.Get(), IID__Probe);
        EXPECT_EQ(e.Number(), c.number);
        EXPECT_EQ(e.Description(), "Thing went wrong");
        EXPECT_EQ(e.Source(), "QvFrameTest.Probe");
    }
}

TEST_F(FrameTest, ErrorWithoutDescriptionGetsTheStandardOne) {
    const auto probe = NewProbe();
    const HRESULT hr = probe->put_Count(-1);
    const forms::RuntimeError e = comserver::ErrorFromHresult(hr, probe.Get(), IID__Probe);
    EXPECT_EQ(e.Number(), forms::err::InvalidPropertyValue);
    EXPECT_EQ(e.Description(), "Invalid property value");
}

TEST_F(FrameTest, LateBoundByProgIdFillsDefaultsAndRaisesErrors) {
    const comserver::LateBound probe(comserver::CreateObject("QvFrameTest.Probe"));
    // The optional Boolean takes its default from the type library (-1: upper case).
    EXPECT_EQ(probe.Call("Echo", {Variant("abc")}).ToText(), "ABC");
    EXPECT_EQ(probe.Call("Echo", {Variant("abc"), Variant::Bool(false)}).ToText(), "abc");
    // An optional Variant left out arrives as missing.
    EXPECT_EQ(probe.Call("Twice", {Variant(4)}).ToLong(), 1);
    EXPECT_EQ(probe.Call("Twice", {Variant(4), Variant(0)}).ToLong(), 2);
    probe.Put("Count", Variant(7));
    EXPECT_EQ(probe.Get("Count").ToLong(), 7);
    try {
        probe.Call("Fail", {Variant(76), Variant("No such folder")});
        FAIL() << "no error";
    } catch (const forms::RuntimeError& e) {
        EXPECT_EQ(e.Number(), 76);
        EXPECT_EQ(e.Description(), "No such folder");
        EXPECT_EQ(e.Source(), "QvFrameTest.Probe");
    }
    try {
        probe.Get("NoSuchMember");
        FAIL() << "no error";
    } catch (const forms::RuntimeError& e) {
        EXPECT_EQ(e.Number(), forms::err::ObjectLacksMember);
    }
}

TEST_F(FrameTest, ByReferenceArgumentWritesBackThroughDispatch) {
    const comserver::LateBound probe(comserver::CreateObject("QvFrameTest.Probe"));
    Variant value(21);
    Variant ref;
    V_VT(ref.Get()) = VT_I4 | VT_BYREF;
    V_I4REF(ref.Get()) = &V_I4(value.Get());
    probe.Call("Twice", {ref});
    EXPECT_EQ(value.ToLong(), 42);
}

// A script passes each variable as a reference to a Variant holding whatever the variable holds.
Variant ScriptReference(Variant& variable) {
    Variant reference;
    V_VT(reference.Get()) = VT_VARIANT | VT_BYREF;
    V_VARIANTREF(reference.Get()) = variable.Get();
    return reference;
}

TEST_F(FrameTest, ScriptVariablesReachTypedByReferenceParametersAndGetTheirResults) {
    const comserver::LateBound probe(comserver::CreateObject("QvFrameTest.Probe"));
    Variant text("abc");
    Variant upper = Variant::Bool(true);
    EXPECT_EQ(probe.Call("Echo", {ScriptReference(text), ScriptReference(upper)}).ToText(), "ABC");
    EXPECT_EQ(text.Type(), VT_BSTR);
    EXPECT_EQ(text.ToText(), "seen");

    // Coerced in; the result comes back with the parameter's type.
    Variant number("21");
    EXPECT_EQ(probe.Call("Twice", {ScriptReference(number), Variant(0)}).ToLong(), 2);
    EXPECT_EQ(number.Type(), VT_I4);
    EXPECT_EQ(number.ToLong(), 42);

    // What does not convert is refused as a typed caller's would be, and the variable stays as it was.
    Variant word("abc");
    try {
        probe.Call("Twice", {ScriptReference(word)});
        FAIL() << "no error";
    } catch (const forms::RuntimeError& e) {
        EXPECT_EQ(e.Number(), forms::err::TypeMismatch);
    }
    EXPECT_EQ(word.Type(), VT_BSTR);
    EXPECT_EQ(word.ToText(), "abc");

    // An object variable reaches an object's by-reference parameter; an empty one arrives as none.
    PICTDESC description = {sizeof description, PICTYPE_NONE};
    ComPtr<IPictureDisp> picture;
    ASSERT_HRESULT_SUCCEEDED(
        OleCreatePictureIndirect(&description, IID_IPictureDisp, TRUE, reinterpret_cast<void**>(picture.Put())));
    Variant object = Variant::Object(picture.Get());
    Variant nothing;
    EXPECT_TRUE(probe.Call("Drop", {ScriptReference(object)}).ToBool());
    EXPECT_FALSE(probe.Call("Drop", {ScriptReference(nothing)}).ToBool());
    for (const Variant* v : {&object, &nothing}) {
        EXPECT_EQ(v->Type(), VT_DISPATCH);
        EXPECT_EQ(V_DISPATCH(v->Get()), nullptr);
    }
}

TEST_F(FrameTest, CanUnloadOnlyWithoutLiveObjects) {
    {
        const auto probe = NewProbe();
        EXPECT_EQ(server_->Call("DllCanUnloadNow"), S_FALSE);
    }
    CoFreeUnusedLibraries();
    EXPECT_EQ(server_->Call("DllCanUnloadNow"), S_OK);
}

TEST(Registration, WritesTheClassAndRemovesExactlyThatAgain) {
    const qvtest::Apartment com;
    const Server server;
    ASSERT_TRUE(server.Loaded());
    const std::string clsid = GuidText(CLSID_Probe);
    const std::string libid = GuidText(LIBID_QvFrameTest);
    const std::string iid = GuidText(IID__Probe);
    ASSERT_EQ(server.Call("DllRegisterServer"), S_OK);
    EXPECT_EQ(ClassesValue("QvFrameTest.Probe\\CLSID", nullptr), clsid);
    EXPECT_EQ(ClassesValue("CLSID\\" + clsid + "\\ProgID", nullptr), "QvFrameTest.Probe");
    EXPECT_EQ(ClassesValue("CLSID\\" + clsid + "\\InprocServer32", "ThreadingModel"), "Apartment");
    const std::string server32 = ClassesValue("CLSID\\" + clsid + "\\InprocServer32", nullptr);
    EXPECT_NE(server32.find(QV_FRAMETEST_DLL), std::string::npos) << server32;
    EXPECT_EQ(ClassesValue("CLSID\\" + clsid + "\\TypeLib", nullptr), libid);
    EXPECT_TRUE(ClassesKeyExists("TypeLib\\" + libid + "\\1.0"));
    EXPECT_TRUE(ClassesKeyExists("Interface\\" + iid));

    ASSERT_EQ(server.Call("DllUnregisterServer"), S_OK);
    for (const std::string& key : {std::string("QvFrameTest.Probe"), "CLSID\\" + clsid, "TypeLib\\" + libid, "Interface\\" + iid})
        EXPECT_FALSE(ClassesKeyExists(key)) << key;
    try {
        comserver::CreateInstance<_Probe>(CLSID_Probe, IID__Probe);
        FAIL() << "created";
    } catch (const forms::RuntimeError& e) {
        EXPECT_EQ(e.Number(), forms::err::CannotCreateObject);
    }
    try {
        comserver::CreateObject("QvFrameTest.Probe");
        FAIL() << "created";
    } catch (const forms::RuntimeError& e) {
        EXPECT_EQ(e.Number(), forms::err::CannotCreateObject);
    }
}

TEST(ErrorCode, NumbersAndHresultsMapBothWays) {
    struct Case {
        std::int32_t number;
        HRESULT hr;
    };
    const Case cases[] = {
        {5, static_cast<HRESULT>(0x800A0005)},
        {429, static_cast<HRESULT>(0x800A01AD)},
        {65535, static_cast<HRESULT>(0x800AFFFF)},
        {forms::ObjectError + 1, static_cast<HRESULT>(0x80040001)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(comserver::HresultOfError(c.number), c.hr) << c.number;
        EXPECT_EQ(comserver::ErrorOfHresult(c.hr), c.number) << c.number;
    }
    EXPECT_EQ(comserver::ErrorOfHresult(REGDB_E_CLASSNOTREG), 429);
    EXPECT_EQ(comserver::ErrorOfHresult(DISP_E_TYPEMISMATCH), 13);
    EXPECT_EQ(comserver::ErrorOfHresult(E_OUTOFMEMORY), 7);
}

TEST(Text, ConvertsThroughTheActiveCodePageWithEmbeddedNuls) {
    const std::string text("a\0ü€", 7);
    const Bstr b(text);
    EXPECT_EQ(SysStringLen(b.Get()), 4u);
    EXPECT_EQ(b.Text(), text);
    EXPECT_EQ(comserver::ToString(nullptr), "");
    EXPECT_EQ(Bstr("").Text(), "");
}

TEST(VariantHelpers, MissingBooleansAndConversions) {
    EXPECT_TRUE(comserver::IsMissing(Variant::Missing().Get()));
    EXPECT_FALSE(comserver::IsMissing(Variant(0).Get()));
    EXPECT_EQ(comserver::ToVariantBool(true), -1);
    EXPECT_FALSE(comserver::IsTrue(1));
    EXPECT_EQ(Variant("12").ToLong(), 12);
    EXPECT_EQ(Variant(12).ToText(), "12");
    EXPECT_TRUE(Variant::Bool(true).ToBool());
    try {
        Variant("abc").ToLong();
        FAIL();
    } catch (const forms::RuntimeError& e) {
        EXPECT_EQ(e.Number(), forms::err::TypeMismatch);
    }
}

}  // namespace
