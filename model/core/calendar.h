#pragma once
// Proleptic Gregorian calendar arithmetic on whole days, for the hour index of a period.

#include <cstdint>

namespace zivirare::calendar {

[[nodiscard]] constexpr bool isLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

[[nodiscard]] constexpr int daysInMonth(int y, int m) {
    constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

[[nodiscard]] constexpr bool isValidDate(int y, int m, int d) {
    return y >= 1 && y <= 9999 && m >= 1 && m <= 12 && d >= 1 && d <= daysInMonth(y, m);
}

// Days since 1970-01-01 (negative before), after H. Hinnant's days_from_civil.
[[nodiscard]] constexpr int64_t daysFromCivil(int y, int m, int d) {
    const int yy = m <= 2 ? y - 1 : y;
    const int era = (yy >= 0 ? yy : yy - 399) / 400;
    const int yoe = yy - era * 400;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return static_cast<int64_t>(era) * 146097 + doe - 719468;
}

// Day of the year, 1 for 1 January.
[[nodiscard]] constexpr int dayOfYear(int y, int m, int d) {
    return static_cast<int>(daysFromCivil(y, m, d) - daysFromCivil(y, 1, 1)) + 1;
}

struct Date {
    int year, month, day;
};

// Inverse of daysFromCivil.
[[nodiscard]] constexpr Date civilFromDays(int64_t z) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t y = yoe + era * 400;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const int64_t m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int>(m <= 2 ? y + 1 : y), static_cast<int>(m), static_cast<int>(d)};
}

}  // namespace zivirare::calendar
