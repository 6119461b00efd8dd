#pragma once
// Help on a window, as presenters and windows see it: show the help text of a keyword. An empty
// keyword shows the table of contents (the frame has no keyword of its own).

#include <QString>
#include <QStringList>

namespace ui {

class HelpService {
public:
    virtual ~HelpService() = default;
    virtual void showHelp(const QString& keyword) = 0;
};

// Keeps the keywords asked for; for tests.
class RecordingHelp : public HelpService {
public:
    void showHelp(const QString& keyword) override { keywords.append(keyword); }
    QStringList keywords;
};

}  // namespace ui
