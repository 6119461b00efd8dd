#pragma once
// The program's pictures, drawn in code so that they need no image files: the application icon
// (a cloud over a farm), the frame's background (an aerial view of fields and farms, 960 by 768
// pixels), the maker's logo and the ministry's logo (133 by 20 pixels).

#include <QIcon>
#include <QImage>
#include <QSize>

namespace ui::artwork {

[[nodiscard]] QIcon applicationIcon();
[[nodiscard]] const QImage& background();
[[nodiscard]] QImage makerLogo(QSize size);
[[nodiscard]] QImage ministryLogo();

}  // namespace ui::artwork
