#include "form_windows.h"

#include "platform/ui/keys.h"
#include "platform/ui/numeric_edit.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace ui {

namespace {

constexpr int kFirstField = 1;

// The entry of a station list that matches `value` (letter case aside), or -1.
int stationIndex(const QComboBox* box, const QString& value) {
    for (int i = 0; i < box->count(); ++i) {
        if (box->itemText(i).compare(value, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

}  // namespace

// ---- the common form --------------------------------------------------------------------------

QWidget* RecordFormWindow::Control::widget() const {
    if (text != nullptr) {
        return text;
    }
    if (number != nullptr) {
        return number;
    }
    return station;
}

RecordFormWindow::RecordFormWindow(const shell::WindowInfo& info, WindowServices& services,
                                   definitions::RecordFormPresenter& presenter, QWidget* parent)
    : ProgramDialog(info, services, true, parent), m_presenter(presenter) {
    setWindowTitle(m_presenter.caption());
}

QWidget* RecordFormWindow::field(int n) const {
    if (n < kFirstField || n > static_cast<int>(m_controls.size())) {
        return nullptr;
    }
    return m_controls[static_cast<std::size_t>(n - 1)].widget();
}

void RecordFormWindow::add(Control control) {
    m_controls.push_back(control);
    const int n = static_cast<int>(m_controls.size());
    installHistoryKey(control.widget(), [this, n] {
        m_presenter.recall(n);
        showValue(n);
    });
}

void RecordFormWindow::addText(QStringView useName, QStringView prompt, Place promptPlace,
                               Place place, int maxChars) {
    Control c;
    c.text = form().entry(useName, place, maxChars);
    form().prompt(prompt, promptPlace, c.text);
    add(c);
}

void RecordFormWindow::addNumber(QStringView useName, QStringView picture, QStringView prompt,
                                 Place promptPlace, Place place) {
    Control c;
    c.number = form().number(useName, picture, services().messages, place);
    form().prompt(prompt, promptPlace, c.number);
    add(c);
}

void RecordFormWindow::addStation(QStringView useName, QStringView prompt, Place promptPlace,
                                  Place place) {
    Control c;
    c.station = form().dropList(useName, place, definitions::UpdateBedrijvenPresenter::stations());
    form().prompt(prompt, promptPlace, c.station);
    add(c);
}

void RecordFormWindow::addButtons(Place cancel, Place confirm, QStringView confirmTip) {
    QPushButton* no = form().button(u"?CANCEL", u"&Annuleren", cancel, u"Annuleer invoeren");
    markLeavesWithoutReading(no);
    QPushButton* yes = form().button(u"?OK", u"&Bevestigen", confirm, confirmTip);
    connect(no, &QPushButton::clicked, this, &RecordFormWindow::reject);
    connect(yes, &QPushButton::clicked, this, &RecordFormWindow::confirm);
}

void RecordFormWindow::ready() {
    form().statusLine();
    showValues();
    focusField(kFirstField);
}

void RecordFormWindow::showValue(int n) {
    const Control& c = m_controls[static_cast<std::size_t>(n - 1)];
    const QVariant v = m_presenter.value(n);
    if (c.text != nullptr) {
        c.text->setText(v.toString());
        c.text->setModified(false);
    } else if (c.number != nullptr) {
        c.number->setValue(v.toDouble());
    } else if (c.station != nullptr) {
        c.station->setCurrentIndex(stationIndex(c.station, v.toString()));
    }
}

void RecordFormWindow::showValues() {
    for (int n = kFirstField; n <= static_cast<int>(m_controls.size()); ++n) {
        showValue(n);
    }
}

bool RecordFormWindow::takeValues() {
    for (int n = kFirstField; n <= static_cast<int>(m_controls.size()); ++n) {
        const Control& c = m_controls[static_cast<std::size_t>(n - 1)];
        if (c.text != nullptr) {
            m_presenter.setValue(n, c.text->text());
        } else if (c.number != nullptr) {
            if (c.number->isModified() && !c.number->commit()) {
                return false;
            }
            m_presenter.setValue(n, c.number->value());
        } else if (c.station != nullptr) {
            // A station the list does not offer stays as stored until the user picks one.
            if (c.station->currentIndex() >= 0 &&
                c.station->currentText().compare(m_presenter.value(n).toString(),
                                                 Qt::CaseInsensitive) != 0) {
                m_presenter.setValue(n, c.station->currentText());
            }
        }
    }
    return true;
}

bool RecordFormWindow::takeValuesQuietly() {
    bool unread = false;
    for (int n = kFirstField; n <= static_cast<int>(m_controls.size()); ++n) {
        const Control& c = m_controls[static_cast<std::size_t>(n - 1)];
        if (c.number != nullptr && c.number->isModified()) {
            const EntryReading reading = readNumber(c.number->text(), c.number->picture());
            if (reading.ok()) {
                m_presenter.setValue(n, *reading.value);
            } else {
                unread = true;
            }
        } else if (c.number != nullptr) {
            m_presenter.setValue(n, c.number->value());
        } else if (c.text != nullptr) {
            m_presenter.setValue(n, c.text->text());
        } else if (c.station != nullptr && c.station->currentIndex() >= 0 &&
                   c.station->currentText().compare(m_presenter.value(n).toString(),
                                                    Qt::CaseInsensitive) != 0) {
            m_presenter.setValue(n, c.station->currentText());
        }
    }
    return unread;
}

void RecordFormWindow::confirm() {
    if (!takeValues()) {
        return;
    }
    apply(m_presenter.confirm());
}

void RecordFormWindow::reject() {
    const bool unread = takeValuesQuietly();
    apply(m_presenter.cancel(unread));
}

void RecordFormWindow::apply(const definitions::FormStep& step) {
    if (step.redisplay) {
        showValues();
    }
    if (step.close) {
        if (m_presenter.response() == definitions::Response::Completed) {
            accept();
        } else {
            QDialog::reject();
        }
        return;
    }
    if (step.focus > 0) {
        focusField(step.focus);
    }
}

void RecordFormWindow::focusField(int n) {
    QWidget* w = field(n);
    if (w == nullptr) {
        return;
    }
    w->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->selectAll();
    }
}

// ---- UPDATEBEDRIJVEN --------------------------------------------------------------------------

UpdateBedrijvenWindow::UpdateBedrijvenWindow(WindowServices& services,
                                             definitions::UpdateBedrijvenPresenter& form,
                                             QWidget* parent)
    : RecordFormWindow(shell::windows::kUpdateBedrijven, services, form, parent) {
    this->form().windowSize(307, 88, true);
    addText(u"?BED:NAAM", u"Naam:", {1, 7, 41, 10}, {45, 7, 250, 10}, 254);
    addStation(u"?BED:METEO", u"Meteo:", {1, 21, 41, 10}, {45, 21, 100, 0});
    addButtons({194, 63, 49, 14}, {247, 63, 49, 14}, u"Accepteer gegevens en sluit het window");
    ready();
}

// ---- UPDATEBRONNEN ----------------------------------------------------------------------------

UpdateBronnenWindow::UpdateBronnenWindow(WindowServices& services,
                                         definitions::UpdateBronnenPresenter& form, QWidget* parent)
    : RecordFormWindow(shell::windows::kUpdateBronnen, services, form, parent) {
    this->form().windowSize(248, 163, true);
    struct Row {
        const char16_t* useName;
        const char16_t* prompt;
        const char16_t* picture;  // nullptr: the text field
        const char16_t* hint;     // nullptr: none
    };
    static constexpr Row kRows[] = {
        {u"?BRO:USER_ID", u"Bron ID:", nullptr, nullptr},
        {u"?BRO:X_COORD", u"X Coord:", u"@N9_", u"[0 - 281800 m]"},
        {u"?BRO:Y_COORD", u"Y Coord:", u"@N9_", u"[300000 - 625000 m]"},
        {u"?BRO:ST_HOOGTE", u"EP Hoogte:", u"@N10_`1", u"[0,0 - 100,0 m]"},
        {u"?BRO:GEMGEBHOOGTE", u"Gem Geb Hoogte:", u"@N10_`1", u"[0,0 - 100,0 m]"},
        {u"?BRO:ST_BINNENDIAM", u"EP Binnendiam:", u"@N10_`2", u"[0,10 - 99,00 m]"},
        {u"?BRO:ST_UITTREE", u"EP Uittree:", u"@N9_`2", u"[0,10 - 10,00 m/s]"},
        {u"?BRO:E_VERGUND", u"E Aanvraag:", u"@N11_", u"[0 - 1500000 ouE/s ]"},
    };
    static constexpr int kY[] = {9, 24, 40, 56, 72, 88, 104, 120};
    // The prompts and hints are laid out for a narrower font than the system's: the prompts
    // start further left and the hints run to the window's edge, so that no text is cut.
    const auto promptAt = [](int y) { return Place{1, y, 71, 10}; };
    for (std::size_t i = 0; i < std::size(kRows); ++i) {
        const Row& r = kRows[i];
        const int y = kY[i];
        if (r.picture == nullptr) {
            addText(r.useName, r.prompt, promptAt(y), {73, y, 84, 10}, 20);
        } else {
            addNumber(r.useName, r.picture, r.prompt, promptAt(y), {73, y, 44, 10});
            this->form().text(QStringLiteral("?HINT:") + QStringView(r.useName).mid(1).toString(),
                              r.hint, {120, y, 124, 9});
        }
    }
    addButtons({72, 140, 68, 14}, {160, 140, 68, 14}, u"Accepteer invoer en sluit het venster");
    ready();
}

// ---- UPDATEGEURGEVLOC -------------------------------------------------------------------------

UpdateGeurGevLocWindow::UpdateGeurGevLocWindow(WindowServices& services,
                                               definitions::UpdateGeurGevLocPresenter& form,
                                               QWidget* parent)
    : RecordFormWindow(shell::windows::kUpdateGeurGevLoc, services, form, parent) {
    this->form().windowSize(236, 99, true);
    addText(u"?GGL:USER_ID", u"GGL ID:", {19, 6, 45, 10}, {67, 6, 84, 10}, 20);
    addNumber(u"?GGL:X_COOR", u"@N9_", u"X Coor:", {19, 20, 45, 10}, {67, 20, 64, 10});
    addNumber(u"?GGL:Y_COOR", u"@N9_", u"Y Coor:", {19, 35, 45, 10}, {67, 35, 64, 10});
    addNumber(u"?GGL:GEURNORM", u"@N10_`1", u"Geur Norm:", {19, 48, 45, 10}, {67, 48, 66, 10});
    this->form().text(u"?HINT:GGL:X_COOR", u"[0 - 281800 m]", {137, 21, 95, 10});
    this->form().text(u"?HINT:GGL:Y_COOR", u"[300000 - 625000 m]", {137, 36, 95, 10});
    this->form().text(u"?HINT:GGL:GEURNORM", u"[ouE/m3]", {137, 48, 95, 10});
    addButtons({67, 71, 64, 14}, {158, 71, 64, 14}, u"Accepteer invoer en sluit het venster");
    ready();
}

// ---- COPYBEDRIJF ------------------------------------------------------------------------------

CopyBedrijfWindow::CopyBedrijfWindow(WindowServices& services,
                                     definitions::CopyBedrijfPresenter& copy, QWidget* parent)
    : ProgramDialog(shell::windows::kCopyBedrijf, services, true, parent), m_copy(copy) {
    setWindowTitle(definitions::CopyBedrijfPresenter::kCaption);
    form().windowSize(307, 88, true);
    m_naam = form().entry(u"?LOC:NAAM", {45, 7, 250, 10},
                          definitions::CopyBedrijfPresenter::kNaamLength);
    form().prompt(u"Naam:", {1, 7, 41, 10}, m_naam);
    m_meteo = form().dropList(u"?LOC:METEO", {45, 21, 100, 0},
                              definitions::CopyBedrijfPresenter::stations());
    form().prompt(u"Meteo:", {1, 21, 41, 10}, m_meteo);
    QPushButton* no =
        form().button(u"?CANCEL", u"&Annuleren", {193, 68, 49, 14}, u"Annuleer invoeren");
    QPushButton* yes = form().button(u"?OK", u"&Bevestigen", {252, 68, 49, 14},
                                     u"Accepteer invoer en sluit het venster");
    connect(no, &QPushButton::clicked, this, &CopyBedrijfWindow::reject);
    connect(yes, &QPushButton::clicked, this, &CopyBedrijfWindow::confirm);
    connect(this, &QDialog::rejected, this, [this] { m_copy.cancel(); });
    form().statusLine();
    m_naam->setText(m_copy.naam());
    m_meteo->setCurrentIndex(stationIndex(m_meteo, m_copy.meteo()));
    m_naam->setFocus(Qt::OtherFocusReason);
}

void CopyBedrijfWindow::confirm() {
    m_copy.setNaam(m_naam->text());
    if (m_meteo->currentIndex() >= 0) {
        m_copy.setMeteo(m_meteo->currentText());
    }
    (void)m_copy.confirm();
    accept();
}

}  // namespace ui
