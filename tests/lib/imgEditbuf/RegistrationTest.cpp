// The server's identity: class and interface identifiers, programmatic identifiers, the type library and
// the dispatch identifiers and order of every member.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "lib/comserver/Bstr.h"
#include "lib/comserver/ComPtr.h"
#include "lib/imgEditbuf/Client.h"
#include "rvimgctl.h"
#include "tests/lib/imgEditbuf/ServerSupport.h"

namespace imgbuf::test {
namespace {

using comserver::ComPtr;

constexpr IID EarlierImgEditCtlBufIid = {0xBEA83270, 0x975B, 0x469A, {0x8C, 0xDB, 0xC0, 0x50, 0x5F, 0x6B, 0x79, 0x3A}};

TEST(Registration, ProgIdsNameTheClasses) {
    CLSID clsid = {};
    ASSERT_EQ(CLSIDFromProgID(L"rvimgctl.clsImgEditCtlBuf", &clsid), S_OK);
    EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_clsImgEditCtlBuf));
    ASSERT_EQ(CLSIDFromProgID(L"rvimgctl.cDIBSection", &clsid), S_OK);
    EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_cDIBSection));
}

TEST(Registration, TypeLibraryIsImageControlBuffer41) {
    ComPtr<ITypeLib> library;
    ASSERT_EQ(LoadRegTypeLib(LIBID_rvimgctl, 4, 1, 1033, library.Put()), S_OK);
    comserver::Bstr doc;
    ASSERT_EQ(library->GetDocumentation(-1, nullptr, doc.Put(), nullptr, nullptr), S_OK);
    EXPECT_EQ(doc.Text(), "Image Control Buffer");
    TLIBATTR* attr = nullptr;
    ASSERT_EQ(library->GetLibAttr(&attr), S_OK);
    EXPECT_EQ(attr->wMajorVerNum, 4);
    EXPECT_EQ(attr->wMinorVerNum, 1);
    EXPECT_EQ(attr->lcid, 1033u);
    library->ReleaseTLibAttr(attr);
}

// The members of an interface in vtable order, with their dispatch identifiers.
std::vector<std::pair<std::string, MEMBERID>> MembersOf(REFIID iid) {
    ComPtr<ITypeLib> library;
    EXPECT_EQ(LoadRegTypeLib(LIBID_rvimgctl, 4, 1, 1033, library.Put()), S_OK);
    ComPtr<ITypeInfo> described;
    ComPtr<ITypeInfo> vtable;
    HREFTYPE ref = 0;
    std::vector<std::pair<std::string, MEMBERID>> members;
    if (!library || FAILED(library->GetTypeInfoOfGuid(iid, described.Put())) ||
        FAILED(described->GetRefTypeOfImplType(-1, &ref)) || FAILED(described->GetRefTypeInfo(ref, vtable.Put()))) {
        ADD_FAILURE() << "no vtable description";
        return members;
    }
    TYPEATTR* attr = nullptr;
    vtable->GetTypeAttr(&attr);
    for (UINT i = 0; i < attr->cFuncs; ++i) {
        FUNCDESC* func = nullptr;
        vtable->GetFuncDesc(i, &func);
        comserver::Bstr name;
        vtable->GetDocumentation(func->memid, name.Put(), nullptr, nullptr, nullptr);
        members.emplace_back(name.Text(), func->memid);
        vtable->ReleaseFuncDesc(func);
    }
    vtable->ReleaseTypeAttr(attr);
    return members;
}

TEST(Registration, ImgEditCtlBufMembersInOrderWithTheirIds) {
    const std::vector<std::pair<std::string, MEMBERID>> expected = {
        {"LoadImage", 0x60030000}, {"LoadOtherImage", 0x60030001}, {"SavetoTIFF", 0x60030002},
        {"SaveToJpeg", 0x60030003}, {"LoadJPGFile", 0x60030004}};
    EXPECT_EQ(MembersOf(IID__clsImgEditCtlBuf), expected);
}

TEST(Registration, DibSectionMembersInOrder) {
    std::vector<std::string> names;
    for (const auto& member : MembersOf(IID__cDIBSection)) names.push_back(member.first);
    const std::vector<std::string> expected = {
        "CopyToClipboard", "CreateDIB", "CreateFromPicture", "Create", "BytesPerScanLine", "Width", "Height",
        "LoadPictureBlt", "PaintPicture", "hdc", "hDib", "DIBSectionBitsPtr", "RandomiseBits", "ClearUp",
        "Resample"};
    EXPECT_EQ(names, expected);
}

TEST(Registration, ClassesAreCreatedByClassIdentifier) {
    ComPtr<IUnknown> buffer;
    ASSERT_EQ(CoCreateInstance(CLSID_clsImgEditCtlBuf, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, buffer.PutVoid()), S_OK);
    ComPtr<IUnknown> dib;
    ASSERT_EQ(CoCreateInstance(CLSID_cDIBSection, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, dib.PutVoid()), S_OK);
    EXPECT_TRUE(buffer.As<_clsImgEditCtlBuf>(IID__clsImgEditCtlBuf));
    EXPECT_TRUE(dib.As<_cDIBSection>(IID__cDIBSection));
    EXPECT_TRUE(buffer.As<ISupportErrorInfo>(IID_ISupportErrorInfo));
}

TEST(Registration, ImgEditCtlBufAnswersToItsEarlierInterface) {
    ComPtr<IUnknown> buffer;
    ASSERT_EQ(CoCreateInstance(CLSID_clsImgEditCtlBuf, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, buffer.PutVoid()), S_OK);
    const auto earlier = buffer.As<_clsImgEditCtlBuf>(EarlierImgEditCtlBufIid);
    ASSERT_TRUE(earlier);
    // The same object, through the same members.
    EXPECT_EQ(earlier.As<IUnknown>(IID_IUnknown).Get(), buffer.Get());
    BSTR path = SysAllocString(L"");
    VARIANT_BOOL ok = VARIANT_TRUE;
    IPictureDisp* none = nullptr;
    LONG quality = 0;
    EXPECT_EQ(earlier->SaveToJpeg(&path, &none, &quality, &ok), S_OK);
    EXPECT_EQ(ok, VARIANT_FALSE);
    SysFreeString(path);
}

TEST(Registration, LateBoundCallsReachTheMembers) {
    comserver::ComPtr<IDispatch> object = comserver::CreateObject("rvimgctl.cDIBSection");
    ASSERT_TRUE(object);
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(L"Resample");
    ASSERT_EQ(object->GetIDsOfNames(IID_NULL, &name, 1, 1033, &id), S_OK);
    EXPECT_EQ(id, 0x6003000E);
}

}  // namespace
}  // namespace imgbuf::test
