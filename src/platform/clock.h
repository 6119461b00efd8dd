#pragma once
// The current local date and time, behind an interface so that tests can fix it.

#include <QDateTime>

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    [[nodiscard]] virtual QDateTime now() const = 0;
};

class SystemClock : public Clock {
public:
    [[nodiscard]] QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// Always the same moment, changeable by the test.
class FixedClock : public Clock {
public:
    explicit FixedClock(QDateTime moment) : m_moment(std::move(moment)) {}
    [[nodiscard]] QDateTime now() const override { return m_moment; }
    void set(QDateTime moment) { m_moment = std::move(moment); }

private:
    QDateTime m_moment;
};

}  // namespace platform
