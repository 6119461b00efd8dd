#include "shell/window_ids.h"

namespace shell {

QString windowTitle(QStringView id, QStringView title) {
    if (id.isEmpty() || title.startsWith(id)) {
        return title.toString();
    }
    return id.toString() + QStringLiteral(" - ") + title.toString();
}

}  // namespace shell
