#include "platform/runtime/Conversions.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "platform/runtime/RuntimeError.h"
#include "tests/platform/forms/ErrorNumber.h"
#include "platform/runtime/Strings.h"

namespace forms {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Each case: the value, and the result or nullopt for error 6.
template <typename Int, typename Convert>
void CheckRounding(std::initializer_list<std::pair<double, std::optional<Int>>> cases, Convert convert) {
    for (const auto& [value, expected] : cases) {
        SCOPED_TRACE(value);
        if (expected) {
            EXPECT_EQ(convert(value), *expected);
        } else {
            EXPECT_EQ(ErrorNumber([&] { convert(value); }), err::Overflow);
        }
    }
}

TEST(Conversions, CIntRoundsHalfToEvenAndOverflowsBeyond16Bits) {
    using I = std::optional<std::int16_t>;
    CheckRounding<std::int16_t>({{0.5, I(0)},          {1.5, I(2)},       {2.5, I(2)},       {3.5, I(4)},
                                 {-0.5, I(0)},         {-1.5, I(-2)},     {-2.5, I(-2)},     {2.4999, I(2)},
                                 {2.5001, I(3)},       {-2.5001, I(-3)},  {32766.5, I(32766)}, {32767.4, I(32767)},
                                 {32767.5, I()},       {-32768.5, I(-32768)}, {-32768.6, I()}, {40000, I()},
                                 {kNaN, I()},          {0, I(0)}},
                                [](double v) { return CInt(v); });
}

TEST(Conversions, CLngRoundsHalfToEvenAndOverflowsBeyond32Bits) {
    using L = std::optional<std::int32_t>;
    CheckRounding<std::int32_t>({{2147483646.5, L(2147483646)}, {2147483647.4, L(2147483647)},
                                 {2147483647.5, L()}, {-2147483648.5, L(std::numeric_limits<std::int32_t>::min())},
                                 {-2147483649.0, L()}, {100000.5, L(100000)}, {100001.5, L(100002)},
                                 {-7.5, L(-8)}},
                                [](double v) { return CLng(v); });
}

TEST(Conversions, IntDivRoundsOperandsThenTruncates) {
    struct Case {
        double a, b;
        std::int32_t expected;  // or the error when `error` is set
        std::int32_t error;
    };
    const Case cases[] = {
        {7, 2, 3, 0},     {-7, 2, -3, 0},   {7, -2, -3, 0}, {2.5, 1, 2, 0},  {3.5, 1, 4, 0},
        {7, 2.5, 3, 0},   {7.5, 2, 4, 0},   {1, 0.4, 0, err::DivisionByZero}, {1, 0, 0, err::DivisionByZero},
        {-2147483648.0, -1, 0, err::Overflow}, {3e9, 1, 0, err::Overflow},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << " \\ " << c.b);
        if (c.error == 0) {
            EXPECT_EQ(IntDiv(c.a, c.b), c.expected);
        } else {
            EXPECT_EQ(ErrorNumber([&] { IntDiv(c.a, c.b); }), c.error);
        }
    }
}

TEST(Conversions, NumericTextAcceptsBlanksSignsAndExponents) {
    struct Case {
        const char* text;
        double expected;
    };
    const Case cases[] = {
        {"12", 12},   {" 12 ", 12},   {"\t7", 7},       {"007", 7},     {"+3", 3},     {"-0.25", -0.25},
        {".5", 0.5},  {"5.", 5},      {"1e3", 1000},    {"1.5E-2", 0.015}, {"438.75", 438.75},
        {"1e-400", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_DOUBLE_EQ(ToDouble(c.text), c.expected);
        EXPECT_TRUE(IsNumeric(c.text));
    }
}

TEST(Conversions, NonNumericTextRaisesTypeMismatch) {
    for (const char* text : {"", " ", "abc", "1.2.3", "12a", "1e", "1e+", "-", ".", "1 2", "--1", "0x10", "1,000x"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ErrorNumber([&] { ToDouble(text); }), err::TypeMismatch);
        EXPECT_EQ(ErrorNumber([&] { CInt(std::string_view(text)); }), err::TypeMismatch);
        EXPECT_FALSE(IsNumeric(text));
    }
    EXPECT_EQ(ErrorNumber([] { ToDouble("1e400"); }), err::Overflow);
    EXPECT_EQ(ErrorNumber([] { CInt(std::string_view("40000")); }), err::Overflow);
}

TEST(Conversions, DecimalSeparatorIsDotOrTheLocales) {
    double value = 0;
    ASSERT_TRUE(ParseNumber("1,5", ",", value));
    EXPECT_DOUBLE_EQ(value, 1.5);
    ASSERT_TRUE(ParseNumber(" 1.5 ", ",", value));
    EXPECT_DOUBLE_EQ(value, 1.5);
    EXPECT_FALSE(ParseNumber("1,5.5", ",", value));
    EXPECT_FALSE(ParseNumber("1,5", ".", value));

    // The running locale's own separator works through ToDouble.
    wchar_t sep[8] = {};
    ASSERT_GT(GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, sep, 8), 1);
    EXPECT_DOUBLE_EQ(ToDouble("2" + FromWide(sep) + "25"), 2.25);
}

TEST(Conversions, ToBooleanReadsWordsAndNumbers) {
    struct Case {
        const char* text;
        bool expected;
    };
    const Case cases[] = {{"True", true},  {"true", true}, {" FALSE ", false}, {"False", false},
                          {"0", false},    {"-1", true},   {"1", true},        {"0.0", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ToBoolean(c.text), c.expected);
    }
    for (const char* text : {"", "yes", "Truee", "T"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ErrorNumber([&] { ToBoolean(text); }), err::TypeMismatch);
    }
}

TEST(Conversions, NumberTextIsPlainDecimal) {
    struct Case {
        double value;
        const char* expected;
    };
    const Case doubles[] = {{0.5, "0.5"},       {1, "1"},         {-0.0, "0"},       {0.1 + 0.2, "0.3"},
                            {-12.75, "-12.75"}, {1e15, "1E+15"},  {123456789012345.0, "123456789012345"},
                            {0.0001, "0.0001"}, {0.00001, "1E-05"}};
    for (const auto& c : doubles) {
        EXPECT_EQ(NumberText(c.value), c.expected);
    }
    struct FloatCase {
        float value;
        const char* expected;
    };
    const FloatCase floats[] = {{438.75f, "438.75"}, {1.5f, "1.5"},       {0.1f, "0.1"},
                                {100000.0f, "100000"}, {1e7f, "1E+07"},   {1.0000001f, "1.0000001"},
                                {-2880.0f, "-2880"}};
    for (const auto& c : floats) {
        EXPECT_EQ(NumberText(c.value), c.expected);
    }
    EXPECT_EQ(NumberText(120), "120");
    EXPECT_EQ(NumberText(std::int16_t{-5}), "-5");
    EXPECT_EQ(NumberText(3000000000LL), "3000000000");
}

TEST(Conversions, SingleTextReadsBackAsTheSameFloat) {
    // A spread of magnitudes and awkward fractions, from a fixed seed so a failure reproduces.
    std::uint32_t state = 12345;
    for (int i = 0; i < 2000; ++i) {
        state = state * 1664525u + 1013904223u;
        const float value = std::ldexp(static_cast<float>(state >> 8) / 65536.0f, static_cast<int>(state % 40) - 20);
        const std::string text = NumberText(value);
        ASSERT_EQ(static_cast<float>(ToDouble(text)), value) << text;
    }
}

}  // namespace
}  // namespace forms
