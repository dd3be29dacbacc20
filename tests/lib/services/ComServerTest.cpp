// orcmcls.dll as the programs meet it: registered, created by class identifier and by ProgID, called
// through the dual interface and by name, errors arriving with number and description.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "PropertyBag.h"
#include "ServerFixture.h"
#include "Toolcraft.h"
#include "lib/comserver/Bstr.h"
#include "lib/comserver/ClientError.h"
#include "lib/comserver/LateBound.h"
#include "lib/services/Client.h"
#include "platform/forms/RuntimeError.h"

using comserver::Bstr;
using comserver::LateBound;
using comserver::Variant;

namespace {

struct ClassCase {
    const CLSID& clsid;
    const IID& iid;
    const char* progId;
};
const ClassCase kClasses[] = {
    {CLSID_clsShell, IID__clsShell, "Toolcraft.clsShell"},
    {CLSID_stdFunctions, IID__stdFunctions, "Toolcraft.stdFunctions"},
    {CLSID_Comdlg, IID__Comdlg, "Toolcraft.Comdlg"},
    {CLSID_clsReg_n_FileAssoc, IID__clsReg_n_FileAssoc, "Toolcraft.clsReg_n_FileAssoc"},
};

using testsupport::ClassesKeyExists;
using testsupport::GuidText;

class ServerTest : public RegisteredServer {};

TEST_F(ServerTest, EveryClassCreatesByClassIdentifierAndByProgId) {
    for (const ClassCase& c : kClasses) {
        const auto byClsid = comserver::CreateUnknown(c.clsid, c.iid);
        EXPECT_TRUE(byClsid) << c.progId;
        const auto byProgId = comserver::CreateObject(c.progId);
        EXPECT_TRUE(byProgId) << c.progId;
        // The default interface is dual: the same object answers for it by ProgID too.
        EXPECT_TRUE(byProgId.As<IUnknown>(c.iid)) << c.progId;
    }
}

TEST_F(ServerTest, DualInterfaceAndDispatchGiveTheSameResults) {
    const auto functions = services::client::StdFunctions::Create();
    std::string folder = "unchanged";
    EXPECT_EQ(functions.GetFile("C:\\dir\\file.ext", folder), "file.ext");
    EXPECT_EQ(folder, "C:\\dir");

    const LateBound byName(comserver::CreateObject("Toolcraft.stdFunctions"));
    EXPECT_EQ(byName.Call("GetFile", {Variant("C:\\dir\\file.ext")}).ToText(), "file.ext");
    const LateBound shell(comserver::CreateObject("Toolcraft.clsShell"));
    EXPECT_EQ(shell.Call("GetTmpPath").ToText(), services::client::Shell::Create().GetTmpPath());
    const LateBound dialogs(comserver::CreateObject("Toolcraft.Comdlg"));
    EXPECT_EQ(dialogs.Call("CustomColor", {Variant(16)}).ToLong(), -1);
    EXPECT_EQ(dialogs.Get("APIReturn").ToLong(), 0);
    const LateBound registry(comserver::CreateObject("Toolcraft.clsReg_n_FileAssoc"));
    // A missing value is Empty, not empty text.
    EXPECT_TRUE(registry.Call("getstring", {Variant(static_cast<std::int32_t>(0x80000001u)),
                                            Variant("Software\\QuillviewTest\\NoSuchKey"), Variant("x")})
                    .IsEmpty());
    EXPECT_EQ(registry.Get("GetLastErrorMsg").ToText(), "");
}

TEST_F(ServerTest, RaisedErrorsArriveWithNumberAndDescription) {
    // A window object without the members the call reads late-bound.
    const auto form = PropertyBag::Create({{"hwnd", 1, Variant(0)}});
    try {
        services::client::Shell::Create().FormStayOnTop(form->Dispatch(), true);
        FAIL() << "no error";
    } catch (const forms::RuntimeError& e) {
        EXPECT_EQ(e.Number(), 438);
        EXPECT_EQ(e.Description(), "Object doesn't support this property or method");
        EXPECT_EQ(e.Source(), "Toolcraft.clsShell");
    }
    // The same through IDispatch::Invoke by name.
    const LateBound dialogs(comserver::CreateObject("Toolcraft.Comdlg"));
    try {
        // Margins in inches times 1000 beyond 32 bits: the overflow error, before any dialog shows.
        dialogs.Call("VBPageSetupDlg", {Variant(0), Variant::Bool(false), Variant::Bool(false), Variant::Bool(false),
                                        Variant::Bool(false), Variant(3000000)});
        FAIL() << "no error";
    } catch (const forms::RuntimeError& e) {
        EXPECT_EQ(e.Number(), forms::err::Overflow);
        EXPECT_EQ(e.Description(), "Overflow");
        EXPECT_EQ(e.Source(), "Toolcraft.Comdlg");
    }
}

TEST(ServerRegistration, UnregistrationLeavesNoKeyBehind) {
    const ComApartment apartment;
    const OrcmclsModule module;
    ASSERT_EQ(module.Call("DllRegisterServer"), S_OK);
    for (const ClassCase& c : kClasses) {
        EXPECT_TRUE(ClassesKeyExists("CLSID\\" + GuidText(c.clsid) + "\\InprocServer32")) << c.progId;
        EXPECT_TRUE(ClassesKeyExists(c.progId));
    }
    ASSERT_EQ(module.Call("DllUnregisterServer"), S_OK);
    for (const ClassCase& c : kClasses) {
        EXPECT_FALSE(ClassesKeyExists("CLSID\\" + GuidText(c.clsid))) << c.progId;
        EXPECT_FALSE(ClassesKeyExists(c.progId)) << c.progId;
        EXPECT_FALSE(ClassesKeyExists("Interface\\" + GuidText(c.iid))) << c.progId;
    }
    EXPECT_FALSE(ClassesKeyExists("TypeLib\\" + GuidText(LIBID_Toolcraft)));
    try {
        services::client::Shell::Create();
        FAIL() << "created";
    } catch (const forms::RuntimeError& e) {
        EXPECT_EQ(e.Number(), forms::err::CannotCreateObject);
    }
}

}  // namespace
