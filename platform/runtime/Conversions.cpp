#include "platform/runtime/Conversions.h"

#include <windows.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "platform/runtime/CharClasses.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Strings.h"

namespace forms {
namespace {

template <typename Int>
Int RoundToRange(double value) {
    const double rounded = RoundHalfEven(value);
    // Written so that NaN fails too.
    if (!(rounded >= static_cast<double>(std::numeric_limits<Int>::min()) &&
          rounded <= static_cast<double>(std::numeric_limits<Int>::max()))) {
        throw RuntimeError(err::Overflow);
    }
    return static_cast<Int>(rounded);
}

using chars::IsDigit;
using chars::TrimBlanks;

std::string UserDecimalSeparator() {
    wchar_t buffer[8] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8) <= 1) return ".";
    return FromWide(buffer);
}

std::string WithUpperExponent(std::string text) {
    std::replace(text.begin(), text.end(), 'e', 'E');
    return text;
}

template <typename Float, typename... Format>
std::string ToChars(Float value, Format... format) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format...);
    return std::string(buffer, result.ptr);
}

}  // namespace

double RoundHalfEven(double value) {
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction < 0.5) return floor;
    if (fraction > 0.5) return floor + 1.0;
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

std::int16_t CInt(double value) { return RoundToRange<std::int16_t>(value); }
std::int32_t CLng(double value) { return RoundToRange<std::int32_t>(value); }
std::int16_t CInt(std::string_view text) { return CInt(ToDouble(text)); }
std::int32_t CLng(std::string_view text) { return CLng(ToDouble(text)); }

std::int32_t IntDiv(double dividend, double divisor) {
    const std::int32_t a = CLng(dividend);
    const std::int32_t b = CLng(divisor);
    if (b == 0) throw RuntimeError(err::DivisionByZero);
    if (a == std::numeric_limits<std::int32_t>::min() && b == -1) throw RuntimeError(err::Overflow);
    return a / b;
}

double ToDouble(std::string_view text) {
    double value = 0.0;
    if (!ParseNumber(text, UserDecimalSeparator(), value)) throw RuntimeError(err::TypeMismatch);
    if (std::isinf(value)) throw RuntimeError(err::Overflow);
    return value;
}

bool IsNumeric(std::string_view text) {
    double value = 0.0;
    return ParseNumber(text, UserDecimalSeparator(), value) && std::isfinite(value);
}

bool ToBoolean(std::string_view text) {
    const std::string_view word = TrimBlanks(text);
    if (TextEquals(word, "True")) return true;
    if (TextEquals(word, "False")) return false;
    return ToDouble(word) != 0.0;
}

std::string NumberText(double value) {
    if (value == 0.0) return "0";  // no "-0"
    return WithUpperExponent(ToChars(value, std::chars_format::general, 15));
}

std::string NumberText(float value) {
    if (value == 0.0f) return "0";
    // The shortest digits that read back as this float, shown in fixed notation up to the seven digits a
    // single-precision value is printed with.
    const std::string shortest = ToChars(value, std::chars_format::scientific);
    const auto digits = std::count_if(shortest.begin(), shortest.begin() + shortest.find('e'), IsDigit);
    const int precision = std::max(static_cast<int>(digits), 7);
    return WithUpperExponent(ToChars(value, std::chars_format::general, precision));
}

}  // namespace forms
