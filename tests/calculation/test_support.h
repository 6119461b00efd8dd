#pragma once
// Helpers shared by the calculation tests.

#include "calculation/berekenen.h"
#include "calculation/gridq.h"

#include <gtest/gtest.h>
#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <deque>
#include <ostream>
#include <string>

// Readable failure output for Qt texts.
void PrintTo(const QString& text, std::ostream* out);
void PrintTo(const QStringList& texts, std::ostream* out);

namespace calctest {

// Prints a case of a parameterised test by its name (bring it in with a using-declaration in
// the namespace of the case).
template <class Case>
requires requires(const Case& c) {
    c.name;
}
void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

// Names the instances of a parameterised test after the `name` of their case.
struct CaseName {
    template <class Case>
    std::string operator()(const testing::TestParamInfo<Case>& info) const {
        return info.param.name;
    }
};

[[nodiscard]] QString dataPath(const QString& name);
[[nodiscard]] QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);

// An emission-point row and a location row as a load makes them (numbers set by the caller).
[[nodiscard]] calculation::GridqRow bron(int32_t id, const QString& label, int32_t x, int32_t y);
[[nodiscard]] calculation::GridqRow ggl(int32_t id, const QString& label, int32_t x, int32_t y,
                                        double limit);

// A clock that answers from a list of moments, repeating the last one.
class ScriptedClock : public calculation::Clock {
public:
    explicit ScriptedClock(std::deque<QDateTime> moments) : m_moments(std::move(moments)) {}
    [[nodiscard]] QDateTime now() const override;

private:
    mutable std::deque<QDateTime> m_moments;
};

}  // namespace calctest
