// The main program's shared objects of the system services library, created on first use.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "lib/services/Client.h"
#include "main/core/Module1.h"
#include "tests/lib/comserver/TestSupport.h"
#include "tests/support/Apartment.h"

namespace {

TEST(Module1Services, CreatedOnceOnFirstUse) {
    const qvtest::Apartment apartment;
    const testsupport::ServerModule server(ORCMCLS_DLL);
    ASSERT_EQ(server.Call("DllRegisterServer"), S_OK);
    std::string folder;
    EXPECT_EQ(Module1::gStdFunctions().GetFile("C:\\dir\\file.ext", folder), "file.ext");
    EXPECT_EQ(folder, "C:\\dir");
    EXPECT_FALSE(Module1::gShell().GetWindowsDir().empty());
    EXPECT_EQ(Module1::gComdlg().CustomColor(16), -1);
    // One object for the program's life: what one use leaves, the next finds.
    Module1::gComdlg().SetCustomColor(3, 0x123456);
    EXPECT_EQ(Module1::gComdlg().CustomColor(3), 0x123456);
    EXPECT_EQ(Module1::gFileAssoc().GetLastErrorMsg(), "");
    server.Call("DllUnregisterServer");
}

}  // namespace
