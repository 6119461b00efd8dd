#include "messages.h"

namespace platform {

QString lineBreaks(const QString& text) {
    QString shown = text;
    shown.replace(QLatin1Char('|'), QLatin1Char('\n'));
    return shown;
}

void ErrorManager::notice(const QString& title, const QString& text) {
    m_sink.show(Message{title, text, Icon::Information, Ok, Ok, false});
}

bool ErrorManager::ask(const QString& title, const QString& text, Button defaultButton) {
    return m_sink.show(Message{title, text, Icon::Question, Yes | No, defaultButton, false}) == Yes;
}

void ErrorManager::fatal(const QString& title, const QString& text) {
    const QString shown = text + kFatalSuffix;
    m_sink.show(Message{title, shown, Icon::Error, Ok, Ok, false});
    throw FatalError(title, shown);
}

Button RecordingSink::show(const Message& message) {
    messages.push_back(message);
    if (!answers.empty()) {
        const Button answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return fallback != NoButton ? fallback : message.defaultButton;
}

QStringList RecordingSink::texts() const {
    QStringList list;
    for (const auto& m : messages) {
        list.append(m.text);
    }
    return list;
}

QStringList RecordingSink::titles() const {
    QStringList list;
    for (const auto& m : messages) {
        list.append(m.title);
    }
    return list;
}

}  // namespace platform
