#pragma once
// The help window: the program's Dutch help text, one page per help keyword, shipped inside the
// program. One window serves the whole program; asking for help brings it to the front on the
// page of the keyword (the table of contents for an empty or unknown keyword). It is not modal:
// the window that asked stays usable.

#include "platform/ui/core/help.h"

#include <QWidget>

class QTextBrowser;

namespace ui {

class HelpWindow : public QWidget, public HelpService {
    Q_OBJECT
public:
    static inline const QString kTitle = QStringLiteral("Help bij V-Wolkan Vaduvevedu");

    explicit HelpWindow(QWidget* parent = nullptr);

    void showHelp(const QString& keyword) override;

    // The keyword whose page is shown; empty for the table of contents.
    [[nodiscard]] QString currentKeyword() const { return m_keyword; }
    [[nodiscard]] QTextBrowser* browser() const { return m_browser; }

    // The page of a keyword inside the program ("qrc:/help/GS1.html"); whether it is there.
    [[nodiscard]] static QString pagePath(const QString& keyword);
    [[nodiscard]] static bool hasPage(const QString& keyword);

private:
    QTextBrowser* m_browser;
    QString m_keyword;
};

}  // namespace ui
