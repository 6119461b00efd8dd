#include "shell/window_placement.h"

#include "shell/window_ids.h"

#include <optional>

namespace shell {
namespace {

const QString kMaximize = QStringLiteral("Maximize");
const QString kMinimize = QStringLiteral("Minimize");
const QString kXPos = QStringLiteral("XPos");
const QString kYPos = QStringLiteral("YPos");
const QString kWidth = QStringLiteral("Width");
const QString kHeight = QStringLiteral("Height");
const QString kYes = QStringLiteral("Yes");
const QString kNo = QStringLiteral("No");

std::optional<int> number(const platform::IniDocument& doc, QStringView section, QStringView key) {
    const auto text = doc.value(section, key);
    if (!text) {
        return std::nullopt;
    }
    bool ok = false;
    const int v = text->toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

}  // namespace

WindowPlacement restorePlacement(const platform::IniDocument& doc, QStringView section,
                                 WindowPlacement opened) {
    const auto maximize = doc.value(section, kMaximize);
    if (!maximize || (*maximize != kYes && *maximize != kNo)) {
        return opened;
    }
    WindowPlacement p = opened;
    const bool storedMaximized = *maximize == kYes;
    if (!storedMaximized) {
        p.maximized = false;
    }
    if (const auto x = number(doc, section, kXPos)) {
        p.x = *x;
    }
    if (const auto y = number(doc, section, kYPos)) {
        p.y = *y;
    }
    if (p.resizable) {
        if (const auto w = number(doc, section, kWidth)) {
            p.width = *w;
        }
        if (const auto h = number(doc, section, kHeight)) {
            p.height = *h;
        }
    }
    if (storedMaximized) {
        p.maximized = true;
    }
    p.minimized = doc.value(section, kMinimize) == kYes;
    return p;
}

WindowPlacement restorePlacement(const platform::SettingsFile& settings, QStringView section,
                                 WindowPlacement opened) {
    return restorePlacement(settings.read(), section, opened);
}

void savePlacement(platform::IniDocument& doc, QStringView section,
                   const WindowPlacement& placement) {
    doc.setValue(section, kMaximize, placement.maximized ? kYes : kNo);
    doc.setValue(section, kMinimize, placement.minimized ? kYes : kNo);
    const bool normal = !placement.maximized && !placement.minimized;
    if (normal) {
        doc.setValue(section, kXPos, QString::number(placement.x));
        doc.setValue(section, kYPos, QString::number(placement.y));
    } else {
        doc.remove(section, kXPos);
        doc.remove(section, kYPos);
    }
    if (normal && placement.resizable) {
        doc.setValue(section, kWidth, QString::number(placement.width));
        doc.setValue(section, kHeight, QString::number(placement.height));
    } else {
        doc.remove(section, kWidth);
        doc.remove(section, kHeight);
    }
}

bool savePlacement(platform::SettingsFile& settings, QStringView section,
                   const WindowPlacement& placement) {
    return settings.update(
        [&](platform::IniDocument& doc) { savePlacement(doc, section, placement); });
}

QString readSortHeader(const platform::SettingsFile& settings) {
    return settings.value(kSortHeaderSection, kSortHeaderKey).value_or(QString());
}

bool writeSortHeader(platform::SettingsFile& settings, QStringView sortHeader) {
    return settings.setValue(kSortHeaderSection, kSortHeaderKey, sortHeader);
}

}  // namespace shell
