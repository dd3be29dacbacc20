// The system codecs are COM objects: the whole run takes place in one single-threaded apartment.

#include "tests/support/Apartment.h"

namespace {

[[maybe_unused]] const bool apartment = qvtest::ApartmentForTheWholeRun();

}  // namespace
