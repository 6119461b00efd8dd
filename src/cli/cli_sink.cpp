#include "cli_sink.h"

#include <cstdio>

namespace cli {

platform::Button StderrSink::show(const platform::Message& message) {
    ++m_count;
    QString line = message.title.isEmpty() ? QString() : message.title + QStringLiteral(": ");
    line += platform::lineBreaks(message.text);
    std::fputs(line.toUtf8().constData(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
    if ((message.buttons & (platform::Yes | platform::No)) == (platform::Yes | platform::No)) {
        return m_yes ? platform::Yes : platform::No;
    }
    if (message.buttons & platform::Ok) {
        return platform::Ok;
    }
    return message.defaultButton;
}

}  // namespace cli
