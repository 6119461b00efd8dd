#include "program_window.h"

#include "platform/ui/dialog_units.h"
#include "platform/ui/keys.h"
#include "shell/ui/artwork.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

namespace ui {

ProgramWindow::ProgramWindow(QWidget* window, const shell::WindowInfo& info,
                             WindowServices& services, bool resizable)
    : QObject(window),
      m_window(window),
      m_info(info),
      m_services(services),
      m_resizable(resizable) {
    window->setFont(DialogUnits::designFont());
    window->setWindowIcon(artwork::applicationIcon());
    window->installEventFilter(this);
    installHelpKey(window, m_info.helpKeyword.toString(), m_services.help);
}

shell::WindowPlacement ProgramWindow::placement() const {
    shell::WindowPlacement p;
    if (!m_window) {
        return p;
    }
    const QRect g = m_window->isMaximized() || m_window->isMinimized() ? m_window->normalGeometry()
                                                                       : m_window->geometry();
    p.x = g.x();
    p.y = g.y();
    p.width = g.width();
    p.height = g.height();
    p.maximized = m_window->windowState().testFlag(Qt::WindowMaximized);
    p.minimized = m_window->windowState().testFlag(Qt::WindowMinimized);
    p.resizable = m_resizable;
    return p;
}

void ProgramWindow::applyPlacement(const shell::WindowPlacement& p) {
    const QRect now = m_window->geometry();
    QSize size = m_resizable ? QSize(p.width, p.height) : now.size();
    if (!size.isValid() || size.isEmpty()) {
        size = now.size();
    }
    size = size.expandedTo(m_window->minimumSize());
    QRect target(QPoint(p.x, p.y), size);
    // A position stored on a screen that is no longer there (or edited by hand) must not put
    // the window where nobody can reach it: then it opens on the primary screen.
    if (QGuiApplication::screenAt(target.topLeft() + QPoint(20, 20)) == nullptr &&
        QGuiApplication::screenAt(target.center()) == nullptr) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            target.setSize(
                target.size().boundedTo(area.size()).expandedTo(m_window->minimumSize()));
            target.moveTopLeft(area.topLeft());
        }
    }
    if (target != now) {
        m_window->setGeometry(target);
    }
    Qt::WindowStates state = m_window->windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized);
    if (p.maximized) {
        state |= Qt::WindowMaximized;
    }
    if (p.minimized) {
        state |= Qt::WindowMinimized;
    }
    m_window->setWindowState(state);
}

void ProgramWindow::restorePlacement() {
    if (!m_window) {
        return;
    }
    const shell::WindowPlacement opened = placement();
    const shell::WindowPlacement restored =
        shell::restorePlacement(m_services.settings, m_info.section, opened);
    const bool same = restored.x == opened.x && restored.y == opened.y &&
                      restored.width == opened.width && restored.height == opened.height &&
                      restored.maximized == opened.maximized &&
                      restored.minimized == opened.minimized;
    if (!same) {
        applyPlacement(restored);
    }
}

void ProgramWindow::savePlacement() {
    if (m_window) {
        shell::savePlacement(m_services.settings, m_info.section, placement());
    }
}

bool ProgramWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window) {
        switch (event->type()) {
            case QEvent::Show:
                if (!m_opened) {
                    m_opened = true;
                    m_window->setWindowTitle(
                        shell::windowTitle(m_info.id, m_window->windowTitle()));
                }
                break;
            case QEvent::Hide:
                // Hidden for good (closed, or a dialog that is done); a minimized window stays
                // visible.
                if (m_opened && !m_window->isVisible()) {
                    savePlacement();
                    m_opened = false;
                }
                break;
            default:
                break;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace ui
