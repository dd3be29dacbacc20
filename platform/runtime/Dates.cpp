#include "platform/runtime/Dates.h"

#include <oleauto.h>

#include <cmath>

#include "platform/runtime/Strings.h"

namespace forms {
namespace {

SYSTEMTIME ToSystemTime(Date date) {
    SYSTEMTIME time{};
    VariantTimeToSystemTime(date, &time);
    return time;
}

std::string Formatted(int(WINAPI* format)(LCID, DWORD, const SYSTEMTIME*, LPCSTR, LPSTR, int), DWORD flags,
                      const SYSTEMTIME& time) {
    char buffer[128] = {};
    const int n = format(LOCALE_USER_DEFAULT, flags, &time, nullptr, buffer, sizeof buffer);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n - 1)) : std::string{};
}

// The day part of a date; for dates before 1899 the fraction counts away from zero, so floor is not it.
double DayOf(Date date) { return std::trunc(date); }

}  // namespace

Date FromSystemTime(const SYSTEMTIME& time) {
    double date = 0;
    SystemTimeToVariantTime(const_cast<SYSTEMTIME*>(&time), &date);
    return date;
}

Date Now() {
    SYSTEMTIME local{};
    GetLocalTime(&local);
    local.wMilliseconds = 0;
    return FromSystemTime(local);
}

Date Today() { return DayOf(Now()); }

Date FromFileTime(const FILETIME& utc) {
    SYSTEMTIME universal{};
    SYSTEMTIME local{};
    FileTimeToSystemTime(&utc, &universal);
    SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local);
    local.wMilliseconds = 0;
    return FromSystemTime(local);
}

std::string ShortDateText(Date date) { return Formatted(GetDateFormatA, DATE_SHORTDATE, ToSystemTime(date)); }

std::string GeneralDateText(Date date) {
    const SYSTEMTIME time = ToSystemTime(date);
    const bool hasDay = DayOf(date) != 0;
    const bool hasTime = date != DayOf(date);
    if (!hasTime) return Formatted(GetDateFormatA, DATE_SHORTDATE, time);
    const std::string clock = Formatted(GetTimeFormatA, 0, time);
    return hasDay ? Formatted(GetDateFormatA, DATE_SHORTDATE, time) + " " + clock : clock;
}

std::optional<Date> ParseDate(std::string_view text) {
    std::wstring wide = ToWide(text);
    if (wide.empty()) return std::nullopt;
    double date = 0;
    if (FAILED(VarDateFromStr(wide.data(), LOCALE_USER_DEFAULT, 0, &date))) return std::nullopt;
    return date;
}

Date DateFromText(std::string_view text, Date fallback) { return ParseDate(text).value_or(fallback); }

long DaysBetween(Date from, Date to) { return static_cast<long>(DayOf(to) - DayOf(from)); }

}  // namespace forms
