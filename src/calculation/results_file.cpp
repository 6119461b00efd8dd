#include "calculation/results_file.h"

#include "platform/cp1252.h"
#include "platform/text_line_file.h"

#include <QDir>
#include <QFileInfo>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace calculation {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

QString trimmedRight(QString text) {
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' ')) {
        --end;
    }
    text.truncate(end);
    return text;
}

}  // namespace

double readNumberField(std::string_view field) {
    size_t i = 0;
    while (i < field.size() && field[i] == ' ') {
        ++i;
    }
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) {
        negative = field[i] == '-';
        ++i;
    }
    std::string number;  // without the sign: from_chars does not take "+"
    bool digits = false;
    while (i < field.size() && isDigit(field[i])) {
        number.push_back(field[i++]);
        digits = true;
    }
    if (i < field.size() && field[i] == '.') {
        number.push_back(field[i++]);
        while (i < field.size() && isDigit(field[i])) {
            number.push_back(field[i++]);
            digits = true;
        }
    }
    if (!digits) {
        return 0;
    }
    // An exponent counts only when at least one digit follows it.
    if (i < field.size() && (field[i] == 'e' || field[i] == 'E')) {
        size_t j = i + 1;
        if (j < field.size() && (field[j] == '+' || field[j] == '-')) {
            ++j;
        }
        if (j < field.size() && isDigit(field[j])) {
            number.append(field.substr(i, j - i));
            while (j < field.size() && isDigit(field[j])) {
                number.push_back(field[j++]);
            }
        }
    }
    double value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too small gives 0, too large the largest finite value: tell them apart by the exponent.
        const size_t e = number.find_first_of("eE");
        const bool tiny = e != std::string::npos && number.find('-', e) != std::string::npos;
        value = tiny ? 0.0 : std::numeric_limits<double>::max();
    }
    return negative ? -value : value;
}

std::string_view lineField(std::string_view line, size_t first, size_t last) {
    if (first > line.size()) {
        return {};
    }
    return line.substr(first - 1, last - first + 1);
}

void readResults(platform::TextLineReader& reader, Gridq& gridq, QString& locVersienrregel) {
    std::string line;
    if (!reader.readLine(line)) {
        return;
    }
    if (!reader.readLine(line)) {
        return;
    }
    locVersienrregel = trimmedRight(platform::cp1252::toUnicode(line)).left(kVersienrregelLength);
    if (!reader.readLine(line)) {
        return;
    }
    while (reader.readLine(line)) {
        const double number = std::trunc(
            readNumberField(lineField(line, kVolgnummerFirstColumn, kVolgnummerLastColumn)));
        if (number == 0 || !(std::fabs(number) <= std::numeric_limits<int32_t>::max())) {
            continue;
        }
        GridqRow* row = findByVolgnummer(gridq, static_cast<int64_t>(number));
        if (row == nullptr) {
            continue;
        }
        setLoad(*row, readNumberField(lineField(line, kLoadFirstColumn, kLoadLastColumn)));
    }
}

void getCalResults(const QString& path, Gridq& gridq, QString& locVersienrregel,
                   platform::MessageSink& messages) {
    // In numbered order every result line finds its row at once; the grid ends in that order
    // whatever happens below.
    sortByVolgnummer(gridq);
    platform::TextLineReader reader;
    if (reader.open(path)) {
        readResults(reader, gridq, locVersienrregel);
        reader.close();
    } else {
        const QString fullPath = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
        messages.show(platform::Message{
            QString(), trimmedRight(reader.errorText()) + kErrorForFile + fullPath});
    }
}

}  // namespace calculation
