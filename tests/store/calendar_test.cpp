// Day numbers, time numbers and durations.

#include "store/calendar.h"

#include <gtest/gtest.h>

namespace store {
namespace {

TEST(Calendar, DayNumbers) {
    struct Case {
        const char* name;
        QDate date;
        int32_t day;
    };
    const Case cases[] = {{"first_of_1801", QDate(1801, 1, 1), 4},
                          {"day_one", QDate(1800, 12, 29), 1},
                          {"leap_day_1900_absent", QDate(1900, 3, 1), 36222},
                          {"y2k", QDate(2000, 1, 1), 72687},
                          {"leap_day_2024", QDate(2024, 2, 29), 81512}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(dayNumber(c.date), c.day);
        EXPECT_EQ(dateOf(c.day), c.date);
    }
    EXPECT_EQ(dayNumber(QDate()), 0);
    EXPECT_EQ(dayNumber(QDate(1800, 12, 28)), 0);
    EXPECT_FALSE(dateOf(0).isValid());
}

TEST(Calendar, TimesAreHundredthsPlusOne) {
    struct Case {
        const char* name;
        QTime time;
        int32_t number;
    };
    const Case cases[] = {{"midnight", QTime(0, 0), 1},
                          {"one_hundredth", QTime(0, 0, 0, 10), 2},
                          {"noon", QTime(12, 0), 4320001},
                          {"last_hundredth", QTime(23, 59, 59, 990), 8640000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(timeNumber(c.time), c.number);
        EXPECT_EQ(timeOf(c.number), c.time);
    }
    EXPECT_EQ(timeNumber(QTime(0, 0, 0, 19)), 2);  // milliseconds cut to hundredths
    EXPECT_FALSE(timeOf(0).isValid());
    EXPECT_FALSE(timeOf(8640001).isValid());
}

TEST(Calendar, DurationsAndTheClock) {
    EXPECT_EQ(durationFromMs(12345), 1234);
    EXPECT_EQ(durationToMs(1234), 12340);
    platform::FixedClock clock(QDateTime(QDate(1801, 1, 1), QTime(0, 0, 1)));
    EXPECT_EQ(today(clock), 4);
    EXPECT_EQ(timeNow(clock), 101);
}

}  // namespace
}  // namespace store
