#include "update/protocol/FormBody.h"

#include <gtest/gtest.h>

namespace {

using update::protocol::FormEncode;
using update::protocol::StandardForm;
using update::protocol::StandardFormBody;

TEST(FormBody, EncodesEveryByteThatCouldChangeTheForm) {
    struct Row {
        const char* value;
        const char* encoded;
    };
    const Row rows[] = {
        {"a&b=c", "a%26b%3Dc"},
        {"100%", "100%25"},
        {"x+y", "x%2By"},
        {"two words", "two+words"},
        {"caf\xC3\xA9", "caf%C3%A9"},
        {"l1\r\nl2", "l1%0D%0Al2"},
        {"A-z_0.9*", "A-z_0.9*"},
        {"x@y.example", "x%40y.example"},
    };
    for (const auto& r : rows) EXPECT_EQ(FormEncode(r.value), r.encoded) << r.value;
}

TEST(FormBody, FieldsInTheirOrderAndCase) {
    StandardForm f;
    f.title = "Mr";
    f.firstName = "Jo";
    f.secondName = "Doe";
    f.email = "jo@x.example";
    f.subject = "s";
    f.recipient = "r@x.example&recipient=evil@x.example";
    f.mainText = "m";
    f.internalInfo = "i";
    f.date = "1/2/2026";
    f.locale = "L";
    f.dataSeg = "d";
    EXPECT_EQ(StandardFormBody(f),
              "email=jo%40x.example&Title=Mr&FirstName=Jo&SecondName=Doe&subject=s"
              "&recipient=r%40x.example%26recipient%3Devil%40x.example&MainText=m&InternalInfo=i"
              "&Date=1%2F2%2F2026&Locale=L&DataSeg=d");
}

}  // namespace
