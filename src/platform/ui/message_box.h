#pragma once
// Message boxes for every message of the program: a MessageSink that shows a platform::Message
// as a modal box on the GUI thread. Title or none, "|" shown as line breaks, the message's icon,
// buttons and default button; Escape answers Cancel, No or OK, whichever the box has (in that
// order); the beep sounds when the box is closed, as the forms want it after a refused entry.

#include "platform/messages.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

class QMessageBox;

namespace ui {

class MessageBoxSink : public platform::MessageSink {
public:
    explicit MessageBoxSink(QWidget* parent = nullptr);

    platform::Button show(const platform::Message& message) override;

    // The box for a message, not yet shown; show() runs it modally.
    [[nodiscard]] static std::unique_ptr<QMessageBox> build(const platform::Message& message,
                                                            QWidget* parent);
    // The Message button that a box button stands for.
    [[nodiscard]] static platform::Button buttonOf(const QMessageBox& box, int standardButton);

    // The window the boxes are centred on; nullptr: the active window.
    void setParent(QWidget* parent) { m_parent = parent; }
    // Replaces the beep (tests count it).
    void setBeeper(std::function<void()> beeper) { m_beep = std::move(beeper); }

private:
    QPointer<QWidget> m_parent;
    std::function<void()> m_beep;
};

}  // namespace ui
