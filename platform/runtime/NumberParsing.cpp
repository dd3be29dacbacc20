// The parser of numeric text, apart from the locale it is given: settings values and typed text reach it.
// Portable.
#include "platform/runtime/CharClasses.h"
#include "platform/runtime/Conversions.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string>
#include <system_error>

namespace forms {

using chars::IsDigit;
using chars::TrimBlanks;

bool ParseNumber(std::string_view text, std::string_view localeSeparator, double& value) {
    text = TrimBlanks(text);
    // Rebuilt in the one form from_chars reads, whatever separator the text used.
    std::string plain;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') plain += '-';
        ++i;
    }
    int mantissaDigits = 0;
    int integerDigits = 0;  // significant digits before the separator, for telling overflow from underflow
    bool separatorSeen = false;
    while (i < text.size()) {
        const char c = text[i];
        if (IsDigit(c)) {
            plain += c;
            ++mantissaDigits;
            if (!separatorSeen && (integerDigits > 0 || c != '0')) ++integerDigits;
            ++i;
        } else if (!separatorSeen && c == '.') {
            plain += '.';
            separatorSeen = true;
            ++i;
        } else if (!separatorSeen && !localeSeparator.empty() && text.substr(i).starts_with(localeSeparator)) {
            plain += '.';
            separatorSeen = true;
            i += localeSeparator.size();
        } else {
            break;
        }
    }
    if (mantissaDigits == 0) return false;
    long exponent = 0;  // only its size matters, capped so that no digit run can overflow it
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        plain += 'e';
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            negativeExponent = text[i] == '-';
            plain += text[i++];
        }
        const std::size_t digitsFrom = i;
        for (; i < text.size() && IsDigit(text[i]); ++i) {
            plain += text[i];
            exponent = std::min(exponent * 10 + (text[i] - '0'), 100000L);
        }
        if (i == digitsFrom) return false;
        if (negativeExponent) exponent = -exponent;
    }
    if (i != text.size()) return false;
    double parsed = 0.0;
    const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), parsed);
    if (result.ec == std::errc::result_out_of_range) {
        const bool tooLarge = integerDigits + exponent > 0;
        const bool negative = plain.front() == '-';
        parsed = tooLarge ? std::numeric_limits<double>::infinity() : 0.0;
        if (negative) parsed = -parsed;
    } else if (result.ec != std::errc{} || result.ptr != plain.data() + plain.size()) {
        return false;
    }
    value = parsed;
    return true;
}

}  // namespace forms
