#pragma once
// Declaring a window's controls the way its layout gives them: each control with its use-name
// (the object name tests find it by, e.g. "?BED:NAAM"), its text with "&" before the access
// letter, and its place in dialog units (x, y, width, height; a width or height of 0 takes the
// control's natural size). Controls join the tab order in the order they are declared. A window
// that shows status-bar texts gets a status line along its bottom edge: it shows the text of the
// control under the mouse or with the focus.
//
//     FormBuilder form(this);
//     form.windowSize(236, 99, false);
//     auto* id = form.entry(u"?GGL:USER_ID", {67, 6, 84, 10}, 20);
//     form.prompt(u"GGL &ID:", {27, 6, 36, 10}, id);
//     auto* x = form.number(u"?GGL:X_COOR", u"@N9_", messages, {67, 20, 64, 10});
//     form.button(u"?OK", u"&Bevestigen", {158, 71, 64, 14},
//                 u"Accepteer invoer en sluit het venster");

#include "platform/messages.h"

#include <QString>
#include <QStringView>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QWidget;

namespace ui {

class ColumnTableModel;
class DialogUnits;
class NumericEdit;
class NumericSpinBox;
class RecordListView;

struct Place {
    int x = 0;
    int y = 0;
    int w = 0;  // 0: natural width
    int h = 0;  // 0: natural height
};

class FormBuilder {
public:
    explicit FormBuilder(QWidget* window);
    FormBuilder(QWidget* window, const DialogUnits& units);

    // The window's design size. A resizable window may grow but not shrink below it; the status
    // line, when there is one, comes below it.
    void windowSize(int w, int h, bool resizable);

    // A text; bold for the captions of lists.
    QLabel* text(QStringView useName, QStringView text, Place place, bool bold = false);
    // The prompt of a field: its access letter moves the focus into `field`.
    QLabel* prompt(QStringView text, Place place, QWidget* field);
    QLineEdit* entry(QStringView useName, Place place, int maxChars);
    NumericEdit* number(QStringView useName, QStringView picture, platform::MessageSink& messages,
                        Place place);
    NumericSpinBox* spin(QStringView useName, QStringView picture, double minimum, double maximum,
                         double step, Place place);
    QComboBox* dropList(QStringView useName, Place place, const QStringList& entries);
    QCheckBox* check(QStringView useName, QStringView text, Place place);
    // `tip`, when given, is the button's status-bar text and tooltip.
    QPushButton* button(QStringView useName, QStringView text, Place place, QStringView tip = {});
    RecordListView* list(QStringView useName, Place place, ColumnTableModel* model,
                         QStringView statusText = {});

    // The window's status line (made on first use).
    QStatusBar* statusLine();

    [[nodiscard]] const DialogUnits& units() const { return m_units; }

private:
    void place(QWidget* control, Place place) const;

    QWidget* m_window;
    const DialogUnits& m_units;
    QStatusBar* m_status = nullptr;
    int m_height = 0;  // design height in pixels
};

}  // namespace ui
