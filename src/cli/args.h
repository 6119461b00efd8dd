#pragma once
// The command line of vaduvevedu-cli: a command with its positional arguments, and options of
// the form --name or --name VALUE.

#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

namespace cli {

struct Args {
    QString command;
    QStringList positional;          // after the command
    QMap<QString, QString> options;  // "--naam" -> "Jansen"; a flag maps to an empty text

    [[nodiscard]] bool has(const QString& option) const { return options.contains(option); }
    [[nodiscard]] QString value(const QString& option) const { return options.value(option); }
};

// Options that take a value; every other option is a flag.
inline const QStringList kValueOptions = {QStringLiteral("--naam"), QStringLiteral("--meteo"),
                                          QStringLiteral("--ruwheid"), QStringLiteral("--save"),
                                          QStringLiteral("--out")};

// nullopt with `error` set when an option that takes a value has none.
[[nodiscard]] std::optional<Args> parseArgs(const QStringList& arguments, QString& error);

}  // namespace cli
