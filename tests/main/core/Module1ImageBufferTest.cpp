// The main program's way to the picture buffer library: a new object per load or save.

#include <windows.h>

#include <gtest/gtest.h>

#include "lib/imgEditbuf/Client.h"
#include "main/core/Module1.h"
#include "platform/runtime/RuntimeError.h"
#include "tests/lib/comserver/TestSupport.h"
#include "tests/support/Apartment.h"

namespace {

std::int32_t ErrorOf(void (*call)()) {
    try {
        call();
    } catch (const forms::RuntimeError& e) {
        return e.Number();
    }
    return 0;
}

TEST(Module1ImageBuffer, NewObjectPerUseAnd429WithoutTheLibrary) {
    const qvtest::Apartment apartment;
    const testsupport::ServerModule server(RVIMGCTL_DLL);
    ASSERT_EQ(server.Call("DllRegisterServer"), S_OK);
    {
        const imgbuf::client::ImgEditCtlBuf buffer = Module1::NewImgEditCtlBuf();
        EXPECT_FALSE(buffer.SaveToJpeg("", nullptr, 75));
        EXPECT_EQ(ErrorOf([] { Module1::NewImgEditCtlBuf().LoadOtherImage("C:\\no\\such\\picture.png"); }),
                  forms::err::InvalidPicture);
    }
    ASSERT_EQ(server.Call("DllUnregisterServer"), S_OK);
    EXPECT_EQ(ErrorOf([] { Module1::NewImgEditCtlBuf(); }), forms::err::CannotCreateObject);
}

}  // namespace
