#pragma once
// The test prefix's registration of orcmcls.dll (through its own DllRegisterServer) and a COM apartment.

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "tests/lib/comserver/TestSupport.h"
#include "tests/support/Apartment.h"


struct OrcmclsModule : testsupport::ServerModule {
    OrcmclsModule() : ServerModule(ORCMCLS_DLL) {}
};

// Every test of a suite deriving from this runs against the registered server.
class RegisteredServer : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        apartment_ = std::make_unique<qvtest::Apartment>();
        module_ = std::make_unique<OrcmclsModule>();
        ASSERT_EQ(module_->Call("DllRegisterServer"), S_OK);
    }
    static void TearDownTestSuite() {
        module_->Call("DllUnregisterServer");
        module_.reset();
        apartment_.reset();
    }

private:
    static inline std::unique_ptr<qvtest::Apartment> apartment_;
    static inline std::unique_ptr<OrcmclsModule> module_;
};
