#include "keys.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>
#include <QWidget>

namespace ui {

namespace {

class HistoryKeyFilter : public QObject {
public:
    HistoryKeyFilter(QObject* parent, std::function<void()> recall)
        : QObject(parent), m_recall(std::move(recall)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            const auto mods = key->modifiers() & ~Qt::KeypadModifier;
            if (key->key() == Qt::Key_H && mods == Qt::ControlModifier) {
                if (event->type() == QEvent::KeyPress) {
                    m_recall();
                }
                event->accept();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_recall;
};

}  // namespace

void installHelpKey(QWidget* window, const QString& keyword, HelpService& help) {
    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_F1), window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, window,
                     [&help, keyword] { help.showHelp(keyword); });
}

void installHistoryKey(QWidget* field, std::function<void()> recall) {
    auto* filter = new HistoryKeyFilter(field, std::move(recall));
    field->installEventFilter(filter);
    // An editable drop-down list types into its own line edit.
    for (QLineEdit* inner : field->findChildren<QLineEdit*>()) {
        inner->installEventFilter(filter);
    }
}

}  // namespace ui
