#include "help_window.h"

#include "platform/ui/dialog_units.h"
#include "platform/ui/keys.h"
#include "shell/ui/artwork.h"

#include <QFile>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace ui {

namespace {
const QString kContents = QStringLiteral("index");
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(kTitle);
    setWindowIcon(artwork::applicationIcon());
    setFont(DialogUnits::designFont());
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("?HELPTEXT"));
    m_browser->setOpenExternalLinks(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    const DialogUnits& du = DialogUnits::standard();
    resize(du.size(300, 260));
    // Links between the pages keep the keyword up to date.
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
        const QString page = url.fileName().section(QLatin1Char('.'), 0, 0);
        m_keyword = page == kContents ? QString() : page;
    });
    installHelpKey(this, QString(), *this);
}

QString HelpWindow::pagePath(const QString& keyword) {
    return QStringLiteral(":/help/") + (keyword.isEmpty() ? kContents : keyword) +
           QStringLiteral(".html");
}

bool HelpWindow::hasPage(const QString& keyword) {
    // Keywords are names, never paths.
    for (QChar c : keyword) {
        if (!c.isLetterOrNumber() && c != QLatin1Char('_')) {
            return false;
        }
    }
    return QFile::exists(pagePath(keyword));
}

void HelpWindow::showHelp(const QString& keyword) {
    const QString page = hasPage(keyword) ? keyword : QString();
    m_browser->setSource(QUrl(QStringLiteral("qrc") + pagePath(page)));
    m_keyword = page;
    show();
    raise();
    activateWindow();
}

}  // namespace ui
