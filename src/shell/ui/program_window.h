#pragma once
// What every window of the program does the same way, set up by one object the window creates
// for itself:
// - its title gets the window identifier in front when the window opens ("SV02 - ...", unless
//   the title already begins with it);
// - its position (and size, when resizable) is restored from its settings section before it
//   is first shown and saved there when it closes;
// - F1 shows the help on its keyword (the frame's empty keyword: the table of contents);
// - it uses the window font (the system's sans-serif at 8 points) and the program's icon.
// Positions are stored in pixels: what is written is what is read back.

#include "shell/ui/core/window_services.h"
#include "shell/window_ids.h"
#include "shell/window_placement.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace ui {

class ProgramWindow : public QObject {
    Q_OBJECT
public:
    // `window` is a top-level widget (a QWidget, QDialog or QMainWindow); the object becomes its
    // child. Nothing is restored yet: call restorePlacement() before the window is shown.
    ProgramWindow(QWidget* window, const shell::WindowInfo& info, WindowServices& services,
                  bool resizable);

    // Takes the stored position from the settings section.
    void restorePlacement();
    // Writes the window's position now (done by itself when the window closes).
    void savePlacement();

    [[nodiscard]] shell::WindowPlacement placement() const;
    [[nodiscard]] const shell::WindowInfo& info() const { return m_info; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyPlacement(const shell::WindowPlacement& placement);

    QPointer<QWidget> m_window;
    shell::WindowInfo m_info;
    WindowServices& m_services;
    bool m_resizable;
    bool m_opened = false;
};

}  // namespace ui
