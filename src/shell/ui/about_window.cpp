#include "about_window.h"

#include "platform/ui/dialog_units.h"
#include "shell/ui/artwork.h"
#include "shell/ui/core/about.h"
#include "shell/ui/program_window.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPixmap>

namespace ui {

namespace {

QLabel* textLabel(QWidget* parent, const QString& name, const QString& text, const DialogUnits& du,
                  const about::Box& box) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    du.place(label, box.x, box.y, box.w, box.h);
    return label;
}

// Arial at `points`, made smaller where the text would not fit its box in this font.
QFont fittingFont(const QString& text, int points, QSize box) {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    for (int p = points; p >= 6; --p) {
        font.setPointSize(p);
        const QFontMetrics m(font);
        if (m.horizontalAdvance(text) <= box.width() && m.height() <= box.height() + 4) {
            break;
        }
    }
    return font;
}

}  // namespace

AboutWindow::AboutWindow(WindowServices& services) : QWidget(nullptr) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("AboutQuickWolkan"));
    setWindowTitle(about::kTitle);
    m_program = new ProgramWindow(this, shell::windows::kAbout, services, false);
    const DialogUnits& du = DialogUnits::standard();
    setFixedSize(du.size(about::kWidth, about::kHeight));
    setAutoFillBackground(true);

    auto* maker = new QLabel(this);
    maker->setObjectName(QStringLiteral("?MAKERLOGO"));
    du.place(maker, about::kMakerLogo.x, about::kMakerLogo.y, about::kMakerLogo.w,
             about::kMakerLogo.h);
    maker->setPixmap(QPixmap::fromImage(artwork::makerLogo(maker->size())));
    maker->setToolTip(about::kMaker);

    // The product's name and version run to the window's right edge.
    auto* product =
        textLabel(this, QStringLiteral("?PRODUCT"), about::kProduct, du, about::kProductText);
    product->resize(width() - product->x(), product->height());
    product->setFont(fittingFont(about::kProduct, about::kProductPoints, product->size()));
    auto* version =
        textLabel(this, QStringLiteral("?VERSION"), about::kVersion, du, about::kVersionText);
    version->setFont(fittingFont(about::kVersion, about::kVersionPoints, version->size()));

    auto* line1 = textLabel(this, QStringLiteral("?MINISTRY1"), about::kMinistryLine1, du,
                            about::kMinistryText1);
    auto* line2 = textLabel(this, QStringLiteral("?MINISTRY2"), about::kMinistryLine2, du,
                            about::kMinistryText2);
    for (QLabel* line : {line1, line2}) {
        line->resize(width() - line->x(), line->height());
        // A system font wider than the design font must not cut the ministry's name off.
        QFont font = line->font();
        while (font.pointSize() > 6 &&
               QFontMetrics(font).horizontalAdvance(line->text()) > line->width()) {
            font.setPointSize(font.pointSize() - 1);
        }
        line->setFont(font);
    }

    auto* ministry = new QLabel(this);
    ministry->setObjectName(QStringLiteral("?MINISTRYLOGO"));
    du.place(ministry, about::kMinistryLogo.x, about::kMinistryLogo.y, about::kMinistryLogo.w,
             about::kMinistryLogo.h);
    // The picture keeps its proportions inside its box.
    ministry->setAlignment(Qt::AlignCenter);
    ministry->setPixmap(
        QPixmap::fromImage(artwork::ministryLogo())
            .scaled(ministry->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    ministry->setToolTip(about::kMinistryLine1 + QLatin1Char(' ') + about::kMinistryLine2);
}

AboutWindow* AboutWindow::open(WindowServices& services) {
    auto* window = new AboutWindow(services);
    window->m_program->restorePlacement();
    window->show();
    return window;
}

}  // namespace ui
