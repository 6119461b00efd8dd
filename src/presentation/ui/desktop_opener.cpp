#include "presentation/ui/bubble_chart_host.h"

#include <QDesktopServices>
#include <QUrl>

namespace presentation {

bool DesktopOpener::open(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace presentation
