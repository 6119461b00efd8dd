#pragma once
// Every message the program shows goes through a MessageSink: the windows render it as a message
// box, the command line prints it and answers questions from its options, tests record it and
// answer from a script. Core code never shows anything itself.

#include <QString>
#include <QStringList>
#include <deque>
#include <exception>
#include <functional>
#include <vector>

namespace platform {

enum class Icon { None, Information, Warning, Question, Error };

enum Button : int {
    NoButton = 0,
    Ok = 1,
    Yes = 2,
    No = 4,
    Cancel = 8,
    Retry = 16,
    Abort = 32,
    Ignore = 64,
};
using Buttons = int;

struct Message {
    QString title;  // empty: a box without caption
    QString text;   // "|" stands for a line break, see lineBreaks()
    Icon icon = Icon::None;
    Buttons buttons = Ok;
    Button defaultButton = Ok;
    bool beep = false;
};

// The text with every "|" turned into a line break, as it is shown.
[[nodiscard]] QString lineBreaks(const QString& text);

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // Shows the message and returns the button the user chose; a sink that cannot ask returns
    // the message's default button.
    virtual Button show(const Message& message) = 0;
};

// Thrown after a fatal message has been shown; the program ends when it reaches main.
class FatalError : public std::exception {
public:
    explicit FatalError(QString title, QString text)
        : m_title(std::move(title)), m_text(std::move(text)) {}
    const char* what() const noexcept override { return "fatal error"; }
    const QString& title() const { return m_title; }
    const QString& text() const { return m_text; }

private:
    QString m_title;
    QString m_text;
};

// The store's error manager: English notices, Yes/No questions and fatal errors, all with a
// title. A fatal error appends kFatalSuffix to its text, shows it with OK and throws FatalError.
class ErrorManager {
public:
    static inline const QString kFatalSuffix = QStringLiteral("  Press OK to end this application");

    explicit ErrorManager(MessageSink& sink) : m_sink(sink) {}

    void notice(const QString& title, const QString& text);
    // Yes/No question; true for Yes.
    [[nodiscard]] bool ask(const QString& title, const QString& text, Button defaultButton = Yes);
    [[noreturn]] void fatal(const QString& title, const QString& text);

    MessageSink& sink() { return m_sink; }

private:
    MessageSink& m_sink;
};

// A sink for tests and batch runs: keeps every message and answers from a script. When the
// script is empty it answers `fallback`, or the message's default button when fallback is NoButton.
class RecordingSink : public MessageSink {
public:
    Button show(const Message& message) override;

    std::vector<Message> messages;
    std::deque<Button> answers;
    Button fallback = NoButton;

    [[nodiscard]] QStringList texts() const;
    [[nodiscard]] QStringList titles() const;
    void clear() { messages.clear(); }
};

}  // namespace platform
