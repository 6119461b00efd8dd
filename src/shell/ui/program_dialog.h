#pragma once
// The base of the program's working windows and forms: a dialog that is a ProgramWindow (title
// with identifier, stored position, F1 help, window font and icon) with a FormBuilder for its
// controls. run() shows it modally and returns when it closes, as the frame's working windows
// and the forms of a browser are called; tests call open() instead and drive it while it is
// shown.
//
//     class UpdateGeurGevLocWindow : public ui::ProgramDialog {
//     public:
//         UpdateGeurGevLocWindow(ui::WindowServices& s, QWidget* parent)
//             : ProgramDialog(shell::windows::kUpdateGeurGevLoc, s, true, parent) {
//             form().windowSize(236, 99, true);
//             ...
//         }
//     };

#include "platform/ui/form_builder.h"
#include "shell/ui/core/window_services.h"
#include "shell/window_ids.h"

#include <QDialog>

namespace ui {

class ProgramWindow;

class ProgramDialog : public QDialog {
    Q_OBJECT
public:
    ProgramDialog(const shell::WindowInfo& info, WindowServices& services, bool resizable,
                  QWidget* parent = nullptr);

    // Restores the position, shows the window modally, returns the dialog's result when closed.
    int run();
    // Restores the position and shows the window without waiting.
    void open() override;

    [[nodiscard]] FormBuilder& form() { return m_form; }
    [[nodiscard]] ProgramWindow& programWindow() { return *m_program; }
    [[nodiscard]] WindowServices& services() { return m_services; }

private:
    WindowServices& m_services;
    ProgramWindow* m_program;
    FormBuilder m_form;
};

}  // namespace ui
