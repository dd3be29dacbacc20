#pragma once
// Dates as the runtime keeps them: OLE automation dates (days since 30 December 1899, the time as the fraction),
// shown and read in the system locale's forms.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace forms {

using Date = double;

Date Today();  // midnight of the local date
Date Now();
Date FromSystemTime(const SYSTEMTIME& time);
Date FromFileTime(const FILETIME& utc);  // shown in local time, as file dates are

// The locale's short date ("12/10/2026"), and the general form: short date and long time, the date alone at
// midnight, the time alone on day 0.
std::string ShortDateText(Date date);
std::string GeneralDateText(Date date);

// A stored date text (short date, or date and time) read back; `fallback` when it is not a date.
std::optional<Date> ParseDate(std::string_view text);
Date DateFromText(std::string_view text, Date fallback);

// Calendar days from `from` to `to` (the times of day do not count); negative when `to` lies before.
long DaysBetween(Date from, Date to);

}  // namespace forms
