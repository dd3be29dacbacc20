#include "tests/support/Apartment.h"

#include <objbase.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <memory>

namespace qvtest {

Apartment::Apartment(Kind kind) noexcept
    : kind_(kind),
      entered_(SUCCEEDED(kind == Kind::Ole ? OleInitialize(nullptr)
                                           : CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}

Apartment::~Apartment() {
    if (!entered_) return;
    if (kind_ == Kind::Ole) {
        OleUninitialize();
    } else {
        CoUninitialize();
    }
}

namespace {

class ApartmentEnvironment : public testing::Environment {
public:
    explicit ApartmentEnvironment(Apartment::Kind kind) : kind_(kind) {}
    void SetUp() override {
        apartment_ = std::make_unique<Apartment>(kind_);
        ASSERT_TRUE(apartment_->Entered());
    }
    void TearDown() override { apartment_.reset(); }

private:
    Apartment::Kind kind_;
    std::unique_ptr<Apartment> apartment_;
};

}  // namespace

bool ApartmentForTheWholeRun(Apartment::Kind kind) {
    testing::AddGlobalTestEnvironment(new ApartmentEnvironment(kind));
    return true;
}

}  // namespace qvtest
