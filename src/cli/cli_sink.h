#pragma once
// Messages of the command line: every message goes to stderr as "Title: text" (a message without
// title as its text alone), with "|" shown as a line break. Questions are answered No unless the
// user gave --yes; a question whose only answers are other buttons gets its default.

#include <QTextStream>

#include "platform/messages.h"

namespace cli {

class StderrSink : public platform::MessageSink {
public:
    explicit StderrSink(bool yes) : m_yes(yes) {}
    platform::Button show(const platform::Message& message) override;

    // The number of messages shown so far, so a command can tell whether something went wrong
    // that it did not see itself.
    int count() const { return m_count; }

private:
    bool m_yes;
    int m_count = 0;
};

}  // namespace cli
