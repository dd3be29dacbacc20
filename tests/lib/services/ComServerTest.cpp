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
#include "platform/runtime/RuntimeError.h"
#include "tests/support/Apartment.h"

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

TEST_F(ServerTest, MembersHaveThePublishedDispatchIdentifiers) {
    struct Case {
        const char* progId;
        const char* member;
        DISPID id;
    };
    const Case cases[] = {
        {"Toolcraft.clsShell", "ShowInTaskBar", 0x60030000},
        {"Toolcraft.clsShell", "FormStayOnTop", 0x60030007},
        {"Toolcraft.clsShell", "ShowProperties", 0x60030013},
        {"Toolcraft.stdFunctions", "GetFile", 0x60030000},
        {"Toolcraft.stdFunctions", "GetShortName", 0x60030001},
        {"Toolcraft.Comdlg", "DialogHook", 0x60030004},
        {"Toolcraft.Comdlg", "APIReturn", 0x68030003},
        {"Toolcraft.Comdlg", "ExtendedError", 0x68030002},
        {"Toolcraft.Comdlg", "VBGetOpenFileName", 0x60030005},
        {"Toolcraft.Comdlg", "VBGetSaveFileName", 0x60030008},
        {"Toolcraft.Comdlg", "VBGetFileTitle", 0x6003000A},
        {"Toolcraft.Comdlg", "VBChooseColor", 0x6003000B},
        {"Toolcraft.Comdlg", "CustomColor", 0x68030001},
        {"Toolcraft.Comdlg", "VBChooseFont", 0x6003000D},
        {"Toolcraft.Comdlg", "VBPrintDlg", 0x6003000E},
        {"Toolcraft.Comdlg", "VBPageSetupDlg", 0x6003000F},
        {"Toolcraft.clsReg_n_FileAssoc", "savekey", 0x60030004},
        {"Toolcraft.clsReg_n_FileAssoc", "DeleteValue", 0x6003000A},
        {"Toolcraft.clsReg_n_FileAssoc", "UndoAssociation", 0x6003000E},
        {"Toolcraft.clsReg_n_FileAssoc", "GetLastErrorMsg", 0x68030002},
        {"Toolcraft.clsReg_n_FileAssoc", "ShowPrograms", 0x6003000F},
        {"Toolcraft.clsReg_n_FileAssoc", "ProgramFN", 0x68030001},
        {"Toolcraft.clsReg_n_FileAssoc", "ProgramFP", 0x68030000},
    };
    for (const Case& c : cases) {
        const auto object = comserver::CreateObject(c.progId);
        Bstr name(c.member);
        LPOLESTR names[] = {name.Get()};
        DISPID id = DISPID_UNKNOWN;
        EXPECT_EQ(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK) << c.member;
        EXPECT_EQ(id, c.id) << c.progId << "." << c.member;
    }
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

TEST(TypeLibrary, FifteenEnumerationsWithTheirIdentifiers) {
    const qvtest::Apartment apartment;
    ITypeLib* raw = nullptr;
    const std::wstring path = [] {
        const std::string narrow = ORCMCLS_DLL;
        return std::wstring(narrow.begin(), narrow.end());
    }();
    ASSERT_HRESULT_SUCCEEDED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, &raw));
    const auto library = comserver::ComPtr<ITypeLib>::Attach(raw);
    int enumerations = 0;
    for (UINT i = 0; i < library->GetTypeInfoCount(); ++i) {
        TYPEKIND kind{};
        library->GetTypeInfoType(i, &kind);
        if (kind == TKIND_ENUM) ++enumerations;
    }
    EXPECT_EQ(enumerations, 15);

    // Hkeys {...79-...}: its first member is the classes root as a signed 32-bit value.
    comserver::ComPtr<ITypeInfo> hkeys;
    GUID id{};
    CLSIDFromString(L"{9053BB79-4712-4540-A11D-D6C1606600FA}", &id);
    ASSERT_HRESULT_SUCCEEDED(library->GetTypeInfoOfGuid(id, hkeys.Put()));
    VARDESC* member = nullptr;
    ASSERT_HRESULT_SUCCEEDED(hkeys->GetVarDesc(0, &member));
    EXPECT_EQ(Variant::CopyOf(*member->lpvarValue).ToLong(), static_cast<std::int32_t>(0x80000000u));
    hkeys->ReleaseVarDesc(member);
    TLIBATTR* attributes = nullptr;
    ASSERT_HRESULT_SUCCEEDED(library->GetLibAttr(&attributes));
    EXPECT_EQ(attributes->wMajorVerNum, 1);
    EXPECT_EQ(attributes->wMinorVerNum, 0);
    EXPECT_EQ(attributes->lcid, 1033u);
    library->ReleaseTLibAttr(attributes);
}

TEST(VersionRecord, DescribesTheLibraryAsSelfRegistering) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(ORCMCLS_DLL, &handle);
    ASSERT_GT(size, 0u);
    std::string data(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoA(ORCMCLS_DLL, 0, size, data.data()));
    const auto text = [&](const char* name) -> std::string {
        char* value = nullptr;
        UINT length = 0;
        const std::string key = std::string("\\StringFileInfo\\040904B0\\") + name;
        if (!VerQueryValueA(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &length)) return "<none>";
        return std::string(value, length > 0 ? length - 1 : 0);
    };
    EXPECT_EQ(text("FileDescription"), "Common Classes for Quillview");
    EXPECT_EQ(text("FileVersion"), "1.00");
    EXPECT_EQ(text("ProductVersion"), "1.00");
    EXPECT_NE(text("OLESelfRegister"), "<none>");
}

TEST(ServerRegistration, UnregistrationLeavesNoKeyBehind) {
    const qvtest::Apartment apartment;
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
