#include "calculation/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace calculation {

namespace {

constexpr int kSignificantDigits = 15;

// Adds one to a string of decimal digits.
void incrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

}  // namespace

std::string integerText(int64_t value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string roundedText(double value, int decimals) {
    if (!std::isfinite(value)) {
        return "0";
    }
    decimals = decimals < 0 ? 0 : (decimals > 15 ? 15 : decimals);

    // d.dddddddddddddde±x: the 15 significant digits and the exponent.
    char buffer[40];
    const auto printed = std::to_chars(buffer, buffer + sizeof buffer, value,
                                       std::chars_format::scientific, kSignificantDigits - 1);
    const std::string_view text(buffer, static_cast<size_t>(printed.ptr - buffer));
    const bool negative = text.front() == '-';
    const std::string_view body = negative ? text.substr(1) : text;
    const size_t e = body.find('e');
    std::string digits;
    digits.reserve(kSignificantDigits);
    for (char c : body.substr(0, e)) {
        if (c != '.') {
            digits.push_back(c);
        }
    }
    const int exponent = std::atoi(std::string(body.substr(e + 1)).c_str());

    // The value is 0.digits × 10^(exponent + 1); keep the digits down to the last decimal.
    const int kept = exponent + 1 + decimals;
    std::string integer;  // the result times 10^decimals
    if (kept >= kSignificantDigits) {
        integer = digits + std::string(static_cast<size_t>(kept - kSignificantDigits), '0');
    } else if (kept >= 0) {
        integer = digits.substr(0, static_cast<size_t>(kept));
        if (digits[static_cast<size_t>(kept)] >= '5') {
            incrementDigits(integer);
        }
    }
    const size_t firstNonZero = integer.find_first_not_of('0');
    if (firstNonZero == std::string::npos) {
        return "0";
    }
    integer.erase(0, firstNonZero);
    if (integer.size() <= static_cast<size_t>(decimals)) {
        integer.insert(0, static_cast<size_t>(decimals) + 1 - integer.size(), '0');
    }
    const size_t point = integer.size() - static_cast<size_t>(decimals);
    std::string result = negative ? "-" : "";
    result += integer.substr(0, point);
    std::string fraction = integer.substr(point);
    while (!fraction.empty() && fraction.back() == '0') {
        fraction.pop_back();
    }
    if (!fraction.empty()) {
        result += '.';
        result += fraction;
    }
    return result;
}

double roundDecimal(double value, int decimals) {
    const std::string text = roundedText(value, decimals);
    double result = 0;
    std::from_chars(text.data(), text.data() + text.size(), result);
    return result;
}

}  // namespace calculation
