#pragma once
// Number conversions of the runtime, in one place: whole numbers round half to even, 16- and 32-bit targets
// overflow with error 6, text -> number fails with error 13, number -> text is plain decimal with ".".

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

namespace forms {

// Half to even ("banker's rounding"): 0.5 -> 0, 1.5 -> 2, 2.5 -> 2, -2.5 -> -2.
double RoundHalfEven(double value);
std::int16_t CInt(double value);
std::int32_t CLng(double value);
// Text forms of the above: ToDouble, then the rounding and range check.
std::int16_t CInt(std::string_view text);
std::int32_t CLng(std::string_view text);

// Whole-number division: both operands rounded half to even to 32-bit numbers, the quotient truncated toward
// zero. Division by zero raises 11.
std::int32_t IntDiv(double dividend, double divisor);

// Numeric text: optional blanks around, optional sign, digits with "." or the user's decimal separator, optional
// exponent. Empty or non-numeric text raises 13.
double ToDouble(std::string_view text);
bool IsNumeric(std::string_view text);
// The parser behind ToDouble with the locale's separator given, for callers and tests that fix it.
bool ParseNumber(std::string_view text, std::string_view localeSeparator, double& value);

// "True"/"False" in any case, or numeric text (non-zero is true); anything else raises 13.
bool ToBoolean(std::string_view text);

// Number -> text: "." as separator, no padding, no leading blank. Doubles keep 15 significant digits,
// single-precision values print their shortest text that reads back as the same float (438.75, 1.5).
std::string NumberText(double value);
std::string NumberText(float value);
template <std::integral T>
    requires(!std::same_as<T, bool>)
std::string NumberText(T value) {
    return std::to_string(value);
}
// Booleans as stored text and across component interfaces.
inline std::string BooleanText(bool value) { return value ? "True" : "False"; }
inline constexpr std::int16_t BooleanValue(bool value) { return value ? -1 : 0; }

}  // namespace forms
