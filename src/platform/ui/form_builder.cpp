#include "form_builder.h"

#include "platform/ui/column_model.h"
#include "platform/ui/dialog_units.h"
#include "platform/ui/numeric_edit.h"
#include "platform/ui/numeric_spin_box.h"
#include "platform/ui/record_list.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QStatusTipEvent>

namespace ui {

namespace {

// Keeps the status line along the window's bottom edge and shows the status texts of the
// window's controls: under the mouse (the status-tip events every widget sends to its window)
// and with the focus.
class StatusLineKeeper : public QObject {
public:
    StatusLineKeeper(QWidget* window, QStatusBar* bar)
        : QObject(bar), m_window(window), m_bar(bar) {
        window->installEventFilter(this);
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
            if (now != nullptr && now->window() == m_window && !now->statusTip().isEmpty()) {
                m_bar->showMessage(now->statusTip());
            }
        });
        follow();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_window) {
            if (event->type() == QEvent::StatusTip) {
                m_bar->showMessage(static_cast<QStatusTipEvent*>(event)->tip());
                return true;
            }
            if (event->type() == QEvent::Resize) {
                follow();
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void follow() {
        const int h = m_bar->sizeHint().height();
        m_bar->setGeometry(0, m_window->height() - h, m_window->width(), h);
        m_bar->raise();
    }

    QWidget* m_window;
    QStatusBar* m_bar;
};

}  // namespace

FormBuilder::FormBuilder(QWidget* window) : FormBuilder(window, DialogUnits::standard()) {}

FormBuilder::FormBuilder(QWidget* window, const DialogUnits& units)
    : m_window(window), m_units(units) {
    window->setFont(DialogUnits::designFont());
}

void FormBuilder::windowSize(int w, int h, bool resizable) {
    m_height = m_units.y(h);
    QSize size = m_units.size(w, h);
    if (m_status != nullptr) {
        size.rheight() += m_status->sizeHint().height();
    }
    if (resizable) {
        m_window->setMinimumSize(size);
        m_window->resize(size);
    } else {
        m_window->setFixedSize(size);
    }
}

void FormBuilder::place(QWidget* control, Place p) const {
    const QSize hint = control->sizeHint();
    const int w = p.w > 0 ? m_units.x(p.w) : hint.width();
    const int h = p.h > 0 ? m_units.y(p.h) : hint.height();
    control->setGeometry(m_units.x(p.x), m_units.y(p.y), w, h);
}

QLabel* FormBuilder::text(QStringView useName, QStringView text, Place p, bool bold) {
    auto* label = new QLabel(text.toString(), m_window);
    label->setObjectName(useName.toString());
    label->setTextFormat(Qt::PlainText);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    place(label, p);
    return label;
}

QLabel* FormBuilder::prompt(QStringView text, Place p, QWidget* field) {
    auto* label = new QLabel(text.toString(), m_window);
    label->setObjectName(QStringLiteral("?PROMPT:") + field->objectName());
    label->setBuddy(field);
    place(label, p);
    return label;
}

QLineEdit* FormBuilder::entry(QStringView useName, Place p, int maxChars) {
    auto* edit = new QLineEdit(m_window);
    edit->setObjectName(useName.toString());
    edit->setMaxLength(maxChars);
    place(edit, p);
    return edit;
}

NumericEdit* FormBuilder::number(QStringView useName, QStringView picture,
                                 platform::MessageSink& messages, Place p) {
    auto* edit = new NumericEdit(picture, messages, m_window);
    edit->setObjectName(useName.toString());
    place(edit, p);
    return edit;
}

NumericSpinBox* FormBuilder::spin(QStringView useName, QStringView picture, double minimum,
                                  double maximum, double step, Place p) {
    auto* box = new NumericSpinBox(picture, m_window);
    box->setObjectName(useName.toString());
    box->setRange(minimum, maximum);
    box->setSingleStep(step);
    place(box, p);
    return box;
}

QComboBox* FormBuilder::dropList(QStringView useName, Place p, const QStringList& entries) {
    auto* box = new QComboBox(m_window);
    box->setObjectName(useName.toString());
    box->addItems(entries);
    place(box, p);
    return box;
}

QCheckBox* FormBuilder::check(QStringView useName, QStringView text, Place p) {
    auto* box = new QCheckBox(text.toString(), m_window);
    box->setObjectName(useName.toString());
    place(box, p);
    return box;
}

QPushButton* FormBuilder::button(QStringView useName, QStringView text, Place p, QStringView tip) {
    auto* button = new QPushButton(text.toString(), m_window);
    button->setObjectName(useName.toString());
    button->setAutoDefault(false);
    if (!tip.isEmpty()) {
        button->setToolTip(tip.toString());
        button->setStatusTip(tip.toString());
    }
    place(button, p);
    return button;
}

RecordListView* FormBuilder::list(QStringView useName, Place p, ColumnTableModel* model,
                                  QStringView statusText) {
    auto* view = new RecordListView(m_window);
    view->setObjectName(useName.toString());
    if (model != nullptr) {
        view->setColumnModel(model, m_units);
    }
    if (!statusText.isEmpty()) {
        view->setStatusTip(statusText.toString());
    }
    place(view, p);
    return view;
}

QStatusBar* FormBuilder::statusLine() {
    if (m_status == nullptr) {
        m_status = new QStatusBar(m_window);
        m_status->setObjectName(QStringLiteral("?STATUSBAR"));
        m_status->setSizeGripEnabled(false);
        if (m_height > 0) {
            // The window was sized already: make room below the design height.
            const int extra = m_status->sizeHint().height();
            if (m_window->minimumHeight() == m_window->maximumHeight()) {
                m_window->setFixedHeight(m_height + extra);
            } else {
                m_window->setMinimumHeight(m_height + extra);
                m_window->resize(m_window->width(), m_height + extra);
            }
        }
        new StatusLineKeeper(m_window, m_status);
    }
    return m_status;
}

}  // namespace ui
