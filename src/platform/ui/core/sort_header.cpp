#include "sort_header.h"

#include <utility>

namespace ui {

SortHeaderState::SortHeaderState(QStringList fieldNames) : m_fields(std::move(fieldNames)) {}

int SortHeaderState::levelOf(int column) const {
    for (std::size_t i = 0; i < m_levels.size(); ++i) {
        if (m_levels[i].column == column) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int SortHeaderState::primaryColumn() const {
    return m_levels.empty() ? -1 : m_levels.front().column;
}

void SortHeaderState::click(int column, SortClick kind) {
    if (kind == SortClick::Clear) {
        m_levels.clear();
        return;
    }
    if (column < 0 || column >= columnCount() || m_fields.at(column).isEmpty()) {
        return;
    }
    const int level = levelOf(column);
    if (kind == SortClick::Add) {
        if (level >= 0) {
            m_levels[static_cast<std::size_t>(level)].descending =
                !m_levels[static_cast<std::size_t>(level)].descending;
        } else {
            m_levels.push_back({column, false});
        }
        return;
    }
    // Plain click: this column alone; a second click on the only sorting column reverses it.
    const bool reverse = m_levels.size() == 1 && level == 0 && !m_levels.front().descending;
    m_levels.clear();
    m_levels.push_back({column, reverse});
}

QString SortHeaderState::marker(int column) const {
    const int level = levelOf(column);
    if (level < 0) {
        return {};
    }
    QString text = QStringLiteral("[");
    text +=
        m_levels[static_cast<std::size_t>(level)].descending ? QLatin1Char('-') : QLatin1Char('+');
    if (m_levels.size() > 1) {
        text += QString::number(level + 1);
    }
    text += QLatin1Char(']');
    return text;
}

QString SortHeaderState::headerText(int column, const QString& header) const {
    return header + marker(column);
}

QString SortHeaderState::toText() const {
    QStringList parts;
    for (const SortLevel& level : m_levels) {
        const QString& name = m_fields.at(level.column);
        parts.append(level.descending ? QLatin1Char('-') + name : name);
    }
    return parts.join(QLatin1Char(','));
}

bool SortHeaderState::fromText(const QString& text) {
    m_levels.clear();
    bool clean = true;
    const QStringList parts = text.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (QString part : parts) {
        part = part.trimmed();
        bool descending = false;
        if (part.startsWith(QLatin1Char('-'))) {
            descending = true;
            part = part.mid(1).trimmed();
        }
        int column = -1;
        for (int i = 0; i < columnCount(); ++i) {
            if (!m_fields.at(i).isEmpty() &&
                m_fields.at(i).compare(part, Qt::CaseInsensitive) == 0) {
                column = i;
                break;
            }
        }
        if (column < 0 || levelOf(column) >= 0) {
            clean = false;
            continue;
        }
        m_levels.push_back({column, descending});
    }
    return clean;
}

}  // namespace ui
