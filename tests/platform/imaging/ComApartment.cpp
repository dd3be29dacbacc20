// The system codecs are COM objects: the whole run takes place in one single-threaded apartment.

#include <gtest/gtest.h>
#include <objbase.h>

namespace {

class ComApartment : public testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
    void TearDown() override { CoUninitialize(); }
};

[[maybe_unused]] testing::Environment* const apartment = testing::AddGlobalTestEnvironment(new ComApartment);

}  // namespace
