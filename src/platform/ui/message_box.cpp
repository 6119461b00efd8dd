#include "message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

namespace ui {

namespace {

struct ButtonPair {
    platform::Button ours;
    QMessageBox::StandardButton theirs;
};

constexpr ButtonPair kButtons[] = {
    {platform::Ok, QMessageBox::Ok},         {platform::Yes, QMessageBox::Yes},
    {platform::No, QMessageBox::No},         {platform::Cancel, QMessageBox::Cancel},
    {platform::Retry, QMessageBox::Retry},   {platform::Abort, QMessageBox::Abort},
    {platform::Ignore, QMessageBox::Ignore},
};

QMessageBox::Icon iconOf(platform::Icon icon) {
    switch (icon) {
        case platform::Icon::Information:
            return QMessageBox::Information;
        case platform::Icon::Warning:
            return QMessageBox::Warning;
        case platform::Icon::Question:
            return QMessageBox::Question;
        case platform::Icon::Error:
            return QMessageBox::Critical;
        case platform::Icon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

MessageBoxSink::MessageBoxSink(QWidget* parent)
    : m_parent(parent), m_beep([] { QApplication::beep(); }) {}

std::unique_ptr<QMessageBox> MessageBoxSink::build(const platform::Message& message,
                                                   QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(parent);
    box->setWindowTitle(message.title);
    box->setTextFormat(Qt::PlainText);
    box->setText(platform::lineBreaks(message.text));
    box->setIcon(iconOf(message.icon));
    QMessageBox::StandardButtons buttons;
    for (const ButtonPair& pair : kButtons) {
        if ((message.buttons & pair.ours) != 0) {
            buttons |= pair.theirs;
        }
    }
    if (buttons == QMessageBox::NoButton) {
        buttons = QMessageBox::Ok;  // a box must be closable
    }
    box->setStandardButtons(buttons);
    for (const ButtonPair& pair : kButtons) {
        if (pair.ours == message.defaultButton && (buttons & pair.theirs)) {
            box->setDefaultButton(pair.theirs);
        }
    }
    for (const auto escape : {QMessageBox::Cancel, QMessageBox::No, QMessageBox::Ok}) {
        if (buttons & escape) {
            box->setEscapeButton(escape);
            break;
        }
    }
    return box;
}

platform::Button MessageBoxSink::buttonOf(const QMessageBox& box, int standardButton) {
    for (const ButtonPair& pair : kButtons) {
        if (standardButton == pair.theirs) {
            return pair.ours;
        }
    }
    // Closed without a button (window close box): the escape answer.
    if (QAbstractButton* escape = box.escapeButton()) {
        const auto theirs = box.standardButton(escape);
        for (const ButtonPair& pair : kButtons) {
            if (theirs == pair.theirs) {
                return pair.ours;
            }
        }
    }
    return platform::NoButton;
}

platform::Button MessageBoxSink::show(const platform::Message& message) {
    QWidget* parent = m_parent ? m_parent.data() : QApplication::activeWindow();
    auto box = build(message, parent);
    box->exec();
    QAbstractButton* clicked = box->clickedButton();
    const int standard = clicked != nullptr ? box->standardButton(clicked) : QMessageBox::NoButton;
    const platform::Button answer = buttonOf(*box, standard);
    box.reset();
    if (message.beep && m_beep) {
        m_beep();
    }
    return answer;
}

}  // namespace ui
