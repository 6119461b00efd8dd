#pragma once
// The main frame: title "SV0 - V-Wolkan-Dazevovirovu V-2010.1", 505 by 318 dialog units unless
// its settings section holds a position, the program's icon, the aerial picture as background,
// the menu with access keys and a status bar that shows the help text of the menu entry under
// the mouse. The commands are the FramePresenter's; this class only shows and forwards. Closing
// the frame closes the About windows and the help with it, which ends the program.

#include "shell/ui/core/frame_presenter.h"
#include "shell/ui/core/window_services.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <memory>

class QAction;
class QMenu;
class QPrinter;

namespace ui {

class ProgramWindow;

class MainFrame : public QMainWindow, private FrameView {
    Q_OBJECT
public:
    MainFrame(WindowServices& services, const WorkWindows& windows);
    ~MainFrame() override;

    // Restores the stored position; call once before show().
    void restorePlacement();

    [[nodiscard]] FramePresenter& presenter() { return m_presenter; }
    // The menu action of a command (for tests and the window menu).
    [[nodiscard]] QAction* action(FrameCommand command) const;
    // The About windows that are open.
    [[nodiscard]] QList<QWidget*> aboutWindows() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // FrameView
    void openAbout() override;
    void printerSetup() override;
    void tileWindows() override;
    void cascadeWindows() override;
    void arrangeIcons() override;
    void closeFrame() override;
    void setWorkWindowOpen(bool open) override;

    void buildMenu();
    void fillWindowList();
    [[nodiscard]] QList<QWidget*> openWindows() const;

    WindowServices& m_services;
    FramePresenter m_presenter;
    ProgramWindow* m_program;
    QMenu* m_windowMenu = nullptr;
    QList<QAction*> m_windowListActions;
    QList<QPointer<QWidget>> m_abouts;
    std::unique_ptr<QPrinter> m_printer;
};

}  // namespace ui
