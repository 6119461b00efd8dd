#pragma once
// The About window: the product's name and version, the maker's logo, the ministry that
// commissioned the program with its logo. No buttons, no input; closed with its close box. Each
// opens as an independent window that deletes itself when closed, so the frame stays usable and
// several may be open at once.

#include "shell/ui/core/window_services.h"

#include <QWidget>

namespace ui {

class ProgramWindow;

class AboutWindow : public QWidget {
    Q_OBJECT
public:
    explicit AboutWindow(WindowServices& services);
    // A new About window, placed from its settings section and shown.
    static AboutWindow* open(WindowServices& services);

private:
    ProgramWindow* m_program;
};

}  // namespace ui
