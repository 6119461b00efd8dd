#include "main_frame.h"

#include "platform/ui/dialog_units.h"
#include "shell/ui/about_window.h"
#include "shell/ui/artwork.h"
#include "shell/ui/program_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QStatusBar>
#include <cmath>

namespace ui {

namespace {

// The frame's client area: the aerial picture, filling the area without distortion.
class Background : public QWidget {
public:
    explicit Background(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("?BACKGROUND"));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QImage& image = artwork::background();
        const QSize scaled = image.size().scaled(size(), Qt::KeepAspectRatioByExpanding);
        const QRect target(QPoint((width() - scaled.width()) / 2, (height() - scaled.height()) / 2),
                           scaled);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(target, image);
    }
};

const char* const kCommandProperty = "frameCommand";

}  // namespace

MainFrame::MainFrame(WindowServices& services, const WorkWindows& windows)
    : m_services(services), m_presenter(*this, windows, services.messages) {
    setObjectName(QStringLiteral("MAIN"));
    setWindowTitle(kFrameTitle);
    m_program = new ProgramWindow(this, shell::windows::kMain, services, true);
    setCentralWidget(new Background(this));
    resize(DialogUnits::standard().size(kFrameWidth, kFrameHeight));
    statusBar()->setObjectName(QStringLiteral("?STATUSBAR"));
    buildMenu();
}

MainFrame::~MainFrame() {
    // The About windows were given this frame's services; they close with it however it ends.
    for (const QPointer<QWidget>& w : m_abouts) {
        if (w) {
            w->close();
        }
    }
}

void MainFrame::restorePlacement() {
    m_program->restorePlacement();
}

void MainFrame::buildMenu() {
    QMenuBar* bar = menuBar();
    auto addCommand = [this](QAction* action, const MenuItem& item) {
        action->setStatusTip(item.helpText);
        action->setProperty(kCommandProperty, static_cast<int>(item.command));
        action->setObjectName(QStringLiteral("menu") + QString::number(item.number));
        const FrameCommand command = item.command;
        connect(action, &QAction::triggered, this,
                [this, command] { m_presenter.choose(command); });
    };
    for (const MenuItem& entry : frameMenu()) {
        if (entry.items.empty()) {
            // A command on the menu bar itself.
            auto* action = new QAction(entry.text, bar);
            addCommand(action, entry);
            bar->addAction(action);
            continue;
        }
        QMenu* menu = bar->addMenu(entry.text);
        menu->setObjectName(QStringLiteral("menu") + QString::number(entry.number));
        for (const MenuItem& item : entry.items) {
            addCommand(menu->addAction(item.text), item);
        }
        if (entry.text == QStringLiteral("&Window")) {
            m_windowMenu = menu;
            connect(menu, &QMenu::aboutToShow, this, &MainFrame::fillWindowList);
        }
    }
    // Commands on the menu bar show their help text while the mouse is on them, as the items of
    // the drop-down menus do.
    connect(bar, &QMenuBar::hovered, this, [this](QAction* action) {
        if (action->menu() == nullptr) {
            statusBar()->showMessage(action->statusTip());
        }
    });
}

QAction* MainFrame::action(FrameCommand command) const {
    for (QAction* a : findChildren<QAction*>()) {
        if (a->property(kCommandProperty).isValid() &&
            a->property(kCommandProperty).toInt() == static_cast<int>(command)) {
            return a;
        }
    }
    return nullptr;
}

QList<QWidget*> MainFrame::aboutWindows() const {
    QList<QWidget*> list;
    for (const QPointer<QWidget>& w : m_abouts) {
        if (w && w->isVisible()) {
            list.append(w.data());
        }
    }
    return list;
}

QList<QWidget*> MainFrame::openWindows() const {
    QList<QWidget*> list;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = w->windowType();
        if (w != this && w->isVisible() && (type == Qt::Window || type == Qt::Dialog) &&
            !w->windowTitle().isEmpty()) {
            list.append(w);
        }
    }
    return list;
}

void MainFrame::fillWindowList() {
    for (QAction* a : m_windowListActions) {
        m_windowMenu->removeAction(a);
        a->deleteLater();
    }
    m_windowListActions.clear();
    const QList<QWidget*> windows = openWindows();
    if (windows.isEmpty()) {
        return;
    }
    m_windowListActions.append(m_windowMenu->addSeparator());
    int n = 0;
    for (QWidget* w : windows) {
        ++n;
        QString title = w->windowTitle();
        title.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* a = m_windowMenu->addAction(QLatin1Char('&') + QString::number(n % 10) +
                                             QLatin1Char(' ') + title);
        QPointer<QWidget> target(w);
        connect(a, &QAction::triggered, this, [target] {
            if (target) {
                target->showNormal();
                target->raise();
                target->activateWindow();
            }
        });
        m_windowListActions.append(a);
    }
}

void MainFrame::openAbout() {
    m_abouts.removeAll(nullptr);
    m_abouts.append(AboutWindow::open(m_services));
}

void MainFrame::printerSetup() {
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>();
    }
    auto* dialog = new QPrintDialog(m_printer.get(), this);
    dialog->setObjectName(QStringLiteral("PrinterSetup"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    dialog->setWindowTitle(QStringLiteral("Printer Setup"));
    dialog->open();
}

void MainFrame::tileWindows() {
    const QList<QWidget*> windows = openWindows();
    if (windows.isEmpty()) {
        return;
    }
    // Side by side over the frame, in as square a grid as the number allows.
    const QRect area = geometry();
    const int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(windows.size()))));
    const int rows = static_cast<int>((windows.size() + columns - 1) / columns);
    for (int i = 0; i < windows.size(); ++i) {
        QWidget* w = windows.at(i);
        w->showNormal();
        const int c = i % columns;
        const int r = i / columns;
        const QPoint at(area.x() + c * area.width() / columns, area.y() + r * area.height() / rows);
        w->move(at);
        w->raise();
    }
}

void MainFrame::cascadeWindows() {
    const QList<QWidget*> windows = openWindows();
    const QPoint origin = geometry().topLeft();
    const int step = DialogUnits::standard().y(14);
    for (int i = 0; i < windows.size(); ++i) {
        QWidget* w = windows.at(i);
        w->showNormal();
        w->move(origin + QPoint(step * i, step * i));
        w->raise();
    }
}

void MainFrame::arrangeIcons() {
    // Minimized windows are the desktop's to arrange; the frame has no icons of its own.
}

void MainFrame::closeFrame() {
    close();
}

void MainFrame::setWorkWindowOpen(bool open) {
    for (QAction* a : menuBar()->actions()) {
        a->setEnabled(!open);
    }
}

void MainFrame::closeEvent(QCloseEvent* event) {
    if (m_presenter.workWindowOpen()) {
        event->ignore();  // the working window closes first
        return;
    }
    for (QWidget* w : openWindows()) {
        w->close();
    }
    event->accept();
}

}  // namespace ui
