#include "platform/runtime/Dates.h"

#include <gtest/gtest.h>

#include <cmath>

namespace forms {
namespace {

Date MakeDate(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    time.wSecond = static_cast<WORD>(second);
    return FromSystemTime(time);
}

TEST(Dates, TodayIsMidnightOfNow) {
    const Date today = Today();
    EXPECT_EQ(today, std::trunc(today));
    EXPECT_LE(Now() - today, 1.0);
}

TEST(Dates, StoredTextsReadBack) {
    // Days above 12 catch a day/month swap; the second date is one the update program writes with a time.
    for (const Date date : {MakeDate(2026, 12, 10), MakeDate(1999, 1, 31), MakeDate(2031, 7, 4),
                            MakeDate(2026, 12, 13, 17, 45, 30)}) {
        SCOPED_TRACE(GeneralDateText(date));
        EXPECT_EQ(DateFromText(ShortDateText(date), 0), std::trunc(date));
        EXPECT_NEAR(DateFromText(GeneralDateText(date), 0), date, 1.0 / 86400 / 2);
    }
}

TEST(Dates, GeneralTextShowsTimeOnlyWhenThereIsOne) {
    const Date midnight = MakeDate(2026, 3, 15);
    EXPECT_EQ(GeneralDateText(midnight), ShortDateText(midnight));
    const std::string withTime = GeneralDateText(MakeDate(2026, 3, 15, 9, 5, 7));
    EXPECT_EQ(withTime.rfind(ShortDateText(midnight) + " ", 0), 0u) << withTime;
    EXPECT_GT(withTime.size(), ShortDateText(midnight).size() + 4);
}

TEST(Dates, TextThatIsNoDateGivesTheFallback) {
    for (const char* text : {"", "not a date", "32/13/2026x"}) {
        EXPECT_EQ(DateFromText(text, 42.0), 42.0) << text;
        EXPECT_FALSE(ParseDate(text).has_value()) << text;
    }
}

TEST(Dates, DaysBetweenCountsCalendarDays) {
    struct Case {
        Date from, to;
        long days;
    };
    const Case cases[] = {
        {MakeDate(2026, 1, 1, 23, 59), MakeDate(2026, 1, 2, 0, 1), 1},
        {MakeDate(2026, 1, 2, 0, 1), MakeDate(2026, 1, 2, 23, 59), 0},
        {MakeDate(2026, 1, 1), MakeDate(2026, 2, 5), 35},
        {MakeDate(2026, 1, 1), MakeDate(2026, 2, 4, 23), 34},
        {MakeDate(2026, 3, 2), MakeDate(2026, 3, 1), -1},
        {MakeDate(1899, 12, 29, 6), MakeDate(1899, 12, 31, 18), 2},  // across day 0, where dates turn negative
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DaysBetween(c.from, c.to), c.days) << c.from << " -> " << c.to;
    }
}

}  // namespace
}  // namespace forms
