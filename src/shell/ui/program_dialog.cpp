#include "program_dialog.h"

#include "shell/ui/program_window.h"

namespace ui {

ProgramDialog::ProgramDialog(const shell::WindowInfo& info, WindowServices& services,
                             bool resizable, QWidget* parent)
    : QDialog(parent),
      m_services(services),
      m_program(new ProgramWindow(this, info, services, resizable)),
      m_form(this) {
    setObjectName(info.section.toString());
    setSizeGripEnabled(resizable);
    // The windows of this program have no "What's this?" button.
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    if (resizable) {
        setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    }
}

int ProgramDialog::run() {
    m_program->restorePlacement();
    return exec();
}

void ProgramDialog::open() {
    m_program->restorePlacement();
    QDialog::open();
}

}  // namespace ui
