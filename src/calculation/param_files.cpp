#include "calculation/param_files.h"

#include "calculation/number_text.h"
#include "platform/cp1252.h"
#include "platform/text_line_file.h"

#include <QDir>
#include <QFile>

namespace calculation {

namespace {

QString trimmedRight(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' ')) {
        --end;
    }
    return text.left(end);
}

// The label: trailing blanks removed, then padded back to exactly 20 characters.
std::string labelField(const QString& userId) {
    std::string label = platform::cp1252::fromUnicode(trimmedRight(userId.left(kUserIdLength)));
    label.resize(kUserIdLength, ' ');
    return label;
}

void writeFile(const QString& path, const std::vector<std::string>& lines) {
    platform::TextLineWriter file;
    if (!file.create(path)) {
        return;
    }
    for (const auto& line : lines) {
        file.writeLine(line);
    }
    file.close();
}

}  // namespace

QString meteoFileFor(const QString& bedMeteo) {
    const QString station = trimmedRight(bedMeteo).toUpper();
    if (station == QLatin1String("EINDHOVEN")) {
        return kMeteoEindhoven;
    }
    if (station == QLatin1String("SCHIPHOL")) {
        return kMeteoSchiphol;
    }
    return {};
}

std::vector<std::string> paramLines(const ParamFileInput& input) {
    std::vector<std::string> lines;
    const QString meteo = meteoFileFor(input.bedMeteo);
    if (!meteo.isEmpty()) {
        // The full path of the input directory, as the model opens it on this system.
        QString dir = QDir(trimmedRight(input.inputDir)).absolutePath();
        if (!dir.endsWith(QLatin1Char('/'))) {
            dir += QLatin1Char('/');
        }
        const QByteArray path = QFile::encodeName(dir + meteo);
        lines.emplace_back(path.constData(), static_cast<size_t>(path.size()));
    }
    for (const char* fixed : {"1995", "1", "1", "1", "1999", "12", "31", "24", "5000"}) {
        lines.emplace_back(fixed);
    }
    lines.push_back(roundedText(input.locRuwheid, 2));
    lines.emplace_back("20");
    return lines;
}

std::vector<std::string> bronnenLines(const ParamFileInput& input, const Gridq& gridq) {
    std::vector<std::string> lines;
    lines.push_back(kBronnenTitle + platform::cp1252::fromUnicode(trimmedRight(input.bedNaam)) +
                    kBronnenMadeOn +
                    input.today.toString(QStringLiteral("yyyy-MM-dd")).toStdString());
    lines.emplace_back(kBronnenHeader);
    for (const auto& row : gridq) {
        if (!row.isBron()) {
            break;
        }
        std::string line = integerText(row.volgnummer);
        for (const std::string& field :
             {labelField(row.userId), roundedText(row.xPos, 0), roundedText(row.yPos, 0),
              roundedText(row.stHoogte, 1), roundedText(row.gebHoogte, 1),
              roundedText(row.stBinnen, 2), roundedText(row.stUittree, 2),
              roundedText(row.eVergund, 0)}) {
            line += ' ';
            line += field;
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<std::string> gglLines(const Gridq& gridq) {
    std::vector<std::string> lines;
    lines.emplace_back(kGglHeader);
    for (const auto& row : gridq) {
        if (!row.isGgl()) {
            break;
        }
        std::string line = integerText(row.volgnummer);
        for (const std::string& field : {labelField(row.userId), roundedText(row.xPos, 0),
                                         roundedText(row.yPos, 0), roundedText(row.limit, 1)}) {
            line += ' ';
            line += field;
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

void makeParamFile(const ParamFileInput& input, Gridq& gridq) {
    const QString dir = trimmedRight(input.inputDir);
    writeFile(dir + kParamFile, paramLines(input));

    sortByTypeThenId(gridq);
    writeFile(input.inputDir + kBronnenFile, bronnenLines(input, gridq));

    sortByTypeDescThenId(gridq);
    writeFile(input.inputDir + kGglFile, gglLines(gridq));
}

}  // namespace calculation
