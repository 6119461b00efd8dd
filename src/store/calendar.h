#pragma once
// Dates, times of day and durations as the record files keep them.
//
// A date is a day number: days since 28 December 1800, so 1 January 1801 is day 4; 0 means no
// date. A time of day is hundredths of a second since midnight plus one, so 00:00:00.00 is 1;
// 0 means no time. A duration is hundredths of a second, without the added one.

#include "platform/clock.h"

#include <QDate>
#include <QTime>
#include <cstdint>

namespace store {

// The day number of a date; 0 for an invalid date or one before day 1.
[[nodiscard]] int32_t dayNumber(const QDate& date);
// The date of a day number; an invalid QDate for 0 and below.
[[nodiscard]] QDate dateOf(int32_t dayNumber);

// The time of day as hundredths of a second plus one (milliseconds are cut to hundredths); 0 for
// an invalid time.
[[nodiscard]] int32_t timeNumber(const QTime& time);
// The time of a time number; an invalid QTime for 0 and below or beyond the day.
[[nodiscard]] QTime timeOf(int32_t timeNumber);

// A duration in hundredths of a second from milliseconds (cut, not rounded) and back.
[[nodiscard]] int32_t durationFromMs(int64_t milliseconds);
[[nodiscard]] int64_t durationToMs(int32_t hundredths);

// Today's day number and the time number of now.
[[nodiscard]] int32_t today(const platform::Clock& clock);
[[nodiscard]] int32_t timeNow(const platform::Clock& clock);

}  // namespace store
