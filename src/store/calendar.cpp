#include "store/calendar.h"

namespace store {
namespace {

constexpr int64_t kHundredthsPerDay = 24LL * 60 * 60 * 100;

int64_t dayZero() {
    static const int64_t julian = QDate(1800, 12, 28).toJulianDay();
    return julian;
}

}  // namespace

int32_t dayNumber(const QDate& date) {
    if (!date.isValid()) {
        return 0;
    }
    const int64_t n = date.toJulianDay() - dayZero();
    return n > 0 && n <= INT32_MAX ? static_cast<int32_t>(n) : 0;
}

QDate dateOf(int32_t dayNumber) {
    if (dayNumber <= 0) {
        return {};
    }
    return QDate::fromJulianDay(dayZero() + dayNumber);
}

int32_t timeNumber(const QTime& time) {
    if (!time.isValid()) {
        return 0;
    }
    return time.msecsSinceStartOfDay() / 10 + 1;
}

QTime timeOf(int32_t timeNumber) {
    if (timeNumber <= 0 || timeNumber > kHundredthsPerDay) {
        return {};
    }
    return QTime::fromMSecsSinceStartOfDay((timeNumber - 1) * 10);
}

int32_t durationFromMs(int64_t milliseconds) {
    const int64_t h = milliseconds / 10;
    return h > INT32_MAX ? INT32_MAX : (h < INT32_MIN ? INT32_MIN : static_cast<int32_t>(h));
}

int64_t durationToMs(int32_t hundredths) {
    return static_cast<int64_t>(hundredths) * 10;
}

int32_t today(const platform::Clock& clock) {
    return dayNumber(clock.now().date());
}

int32_t timeNow(const platform::Clock& clock) {
    return timeNumber(clock.now().time());
}

}  // namespace store
