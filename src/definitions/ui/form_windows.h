#pragma once
// The windows of the company form (UPDATEBEDRIJVEN, "SV03"), the emission-point form
// (UPDATEBRONNEN, "SV04"), the sensitive-location form (UPDATEGEURGEVLOC, "SV05") and the company
// copy dialog (COPYBEDRIJF). They only show their presenter's values and hand back what the user
// typed; what confirming and cancelling do is the presenter's.
//
// Use-names: the record fields ("?BED:NAAM", "?BRO:X_COORD", "?GGL:GEURNORM", ...), "?LOC:NAAM"
// and "?LOC:METEO" in the copy dialog, and "?CANCEL" and "?OK" for the two buttons.

#include "definitions/copy_bedrijf.h"
#include "definitions/forms.h"
#include "shell/ui/program_dialog.h"

#include <vector>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace ui {

class NumericEdit;

// What the three entry forms share: fields numbered from 1 in tab order, the history key in each,
// the two buttons, the cancel question on Escape and on closing the window.
class RecordFormWindow : public ProgramDialog {
    Q_OBJECT
public:
    [[nodiscard]] definitions::RecordFormPresenter& presenter() { return m_presenter; }
    // The control of field n (1-based).
    [[nodiscard]] QWidget* field(int n) const;

    // "&Annuleren", Escape and the window's close button.
    void reject() override;

protected:
    RecordFormWindow(const shell::WindowInfo& info, WindowServices& services,
                     definitions::RecordFormPresenter& presenter, QWidget* parent);

    void addText(QStringView useName, QStringView prompt, Place promptPlace, Place place,
                 int maxChars);
    void addNumber(QStringView useName, QStringView picture, QStringView prompt, Place promptPlace,
                   Place place);
    void addStation(QStringView useName, QStringView prompt, Place promptPlace, Place place);
    void addButtons(Place cancel, Place confirm, QStringView confirmTip);
    // After every control is there: the values shown, the focus in field 1.
    void ready();

private:
    struct Control {
        QLineEdit* text = nullptr;
        NumericEdit* number = nullptr;
        QComboBox* station = nullptr;
        [[nodiscard]] QWidget* widget() const;
    };

    void add(Control control);
    void showValue(int n);
    void showValues();
    // Hands the typed values to the presenter; false when a number was refused (its message
    // shown, the focus in it). `quietly`: never a message, unreadable entries are reported
    // through the result instead (true: something could not be read).
    bool takeValues();
    bool takeValuesQuietly();
    void confirm();
    void apply(const definitions::FormStep& step);
    void focusField(int n);

    definitions::RecordFormPresenter& m_presenter;
    std::vector<Control> m_controls;
};

class UpdateBedrijvenWindow : public RecordFormWindow {
    Q_OBJECT
public:
    UpdateBedrijvenWindow(WindowServices& services, definitions::UpdateBedrijvenPresenter& form,
                          QWidget* parent = nullptr);
};

class UpdateBronnenWindow : public RecordFormWindow {
    Q_OBJECT
public:
    UpdateBronnenWindow(WindowServices& services, definitions::UpdateBronnenPresenter& form,
                        QWidget* parent = nullptr);
};

class UpdateGeurGevLocWindow : public RecordFormWindow {
    Q_OBJECT
public:
    UpdateGeurGevLocWindow(WindowServices& services, definitions::UpdateGeurGevLocPresenter& form,
                           QWidget* parent = nullptr);
};

class CopyBedrijfWindow : public ProgramDialog {
    Q_OBJECT
public:
    CopyBedrijfWindow(WindowServices& services, definitions::CopyBedrijfPresenter& copy,
                      QWidget* parent = nullptr);

private:
    void confirm();

    definitions::CopyBedrijfPresenter& m_copy;
    QLineEdit* m_naam;
    QComboBox* m_meteo;
};

}  // namespace ui
