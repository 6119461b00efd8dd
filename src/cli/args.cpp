#include "args.h"

namespace cli {

std::optional<Args> parseArgs(const QStringList& arguments, QString& error) {
    Args args;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        if (a.startsWith(QStringLiteral("--"))) {
            if (kValueOptions.contains(a)) {
                if (i + 1 >= arguments.size()) {
                    error = QStringLiteral("Optie %1 verwacht een waarde.").arg(a);
                    return std::nullopt;
                }
                args.options.insert(a, arguments.at(++i));
            } else {
                args.options.insert(a, QString());
            }
        } else if (args.command.isEmpty()) {
            args.command = a;
        } else {
            args.positional.append(a);
        }
    }
    return args;
}

}  // namespace cli
