#include "artwork.h"

#include "shell/ui/core/about.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <cmath>

namespace ui::artwork {

namespace {

// The largest pixel size, at most `pixels`, at which `text` fits `width` in `font`.
QFont fitted(QFont font, const QString& text, int pixels, double width) {
    for (; pixels > 5; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetricsF(font).horizontalAdvance(text) <= width) {
            break;
        }
    }
    return font;
}

void drawIcon(QPainter& p, int s) {
    const double u = s / 64.0;
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, s);
    sky.setColorAt(0, QColor(0x6f, 0xb7, 0xf0));
    sky.setColorAt(1, QColor(0xcf, 0xe9, 0xff));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRoundedRect(QRectF(0, 0, s, s), 10 * u, 10 * u);
    // Meadow.
    p.setBrush(QColor(0x4c, 0x9a, 0x3a));
    p.drawRect(QRectF(0, 46 * u, s, 18 * u));
    // Barn with its roof.
    p.setBrush(QColor(0xb3, 0x2d, 0x22));
    p.drawRect(QRectF(16 * u, 36 * u, 30 * u, 18 * u));
    QPainterPath roof;
    roof.moveTo(13 * u, 37 * u);
    roof.lineTo(31 * u, 26 * u);
    roof.lineTo(49 * u, 37 * u);
    roof.closeSubpath();
    p.setBrush(QColor(0x5a, 0x3a, 0x2a));
    p.drawPath(roof);
    p.setBrush(QColor(0xf3, 0xe6, 0xc8));
    p.drawRect(QRectF(27 * u, 44 * u, 8 * u, 10 * u));
    // Cloud.
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(22 * u, 17 * u), 9 * u, 7 * u);
    p.drawEllipse(QPointF(33 * u, 13 * u), 11 * u, 9 * u);
    p.drawEllipse(QPointF(45 * u, 18 * u), 8 * u, 6 * u);
    p.drawRect(QRectF(22 * u, 17 * u, 23 * u, 7 * u));
}

QImage renderBackground() {
    QImage image(960, 768, QImage::Format_RGB32);
    image.fill(QColor(0x5d, 0x8c, 0x3e));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRandomGenerator random(20101);  // fixed: the same landscape every time

    const QColor fieldColours[] = {
        QColor(0x6a, 0x9e, 0x45), QColor(0x7d, 0xaa, 0x4f), QColor(0x59, 0x86, 0x38),
        QColor(0xc9, 0xb4, 0x5e), QColor(0xd8, 0xc8, 0x7a), QColor(0x8c, 0x6a, 0x48),
        QColor(0x9d, 0xb8, 0x5a), QColor(0x4f, 0x7a, 0x33),
    };
    // A polder: long strips of land between ditches, slightly turned.
    p.save();
    p.translate(480, 384);
    p.rotate(-8);
    p.translate(-640, -560);
    for (int block = 0; block < 5; ++block) {
        const double y0 = block * 240.0;
        double x = 0;
        while (x < 1300) {
            const double w = 40 + random.bounded(70);
            const QColor c = fieldColours[random.bounded(8)];
            p.setPen(Qt::NoPen);
            p.setBrush(c);
            p.drawRect(QRectF(x, y0, w - 3, 228));
            // Crop rows.
            p.setPen(QPen(c.darker(112), 1));
            for (double r = x + 4; r < x + w - 4; r += 6) {
                p.drawLine(QPointF(r, y0 + 2), QPointF(r, y0 + 226));
            }
            // The ditch beside the strip.
            p.setPen(QPen(QColor(0x3e, 0x6e, 0x8a), 2));
            p.drawLine(QPointF(x + w - 1.5, y0), QPointF(x + w - 1.5, y0 + 228));
            x += w;
        }
        // A road between two blocks, with a row of trees.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x9a, 0x96, 0x8c));
        p.drawRect(QRectF(0, y0 + 228, 1300, 12));
        p.setBrush(QColor(0x2f, 0x55, 0x25));
        for (double t = 10; t < 1300; t += 22 + random.bounded(10)) {
            p.drawEllipse(QPointF(t, y0 + 226), 6, 6);
        }
    }
    // A canal along the polder.
    p.setBrush(QColor(0x3b, 0x6f, 0x93));
    p.drawRect(QRectF(0, 600, 1300, 18));
    p.restore();

    // Farmyards: a house with a red roof, long stables with grey roofs, round silos, trees.
    const QPointF yards[] = {{180, 170}, {640, 250}, {330, 560}, {790, 590}, {520, 420}};
    for (const QPointF& yard : yards) {
        p.save();
        p.translate(yard);
        p.rotate(-8 + random.bounded(20) - 10);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xa8, 0xa2, 0x94));
        p.drawRoundedRect(QRectF(-60, -50, 140, 110), 6, 6);  // paved yard
        for (int s = 0; s < 3; ++s) {
            const QRectF stable(-50 + s * 34, -40, 26, 80);
            p.setBrush(QColor(0x6d, 0x72, 0x78));
            p.drawRect(stable);
            p.setPen(QPen(QColor(0x4a, 0x4e, 0x52), 2));
            p.drawLine(QPointF(stable.center().x(), stable.top()),
                       QPointF(stable.center().x(), stable.bottom()));
            p.setPen(Qt::NoPen);
        }
        p.setBrush(QColor(0xa3, 0x3b, 0x2a));
        p.drawRect(QRectF(56, -44, 22, 28));  // farmhouse
        p.setPen(QPen(QColor(0x70, 0x25, 0x1a), 2));
        p.drawLine(QPointF(67, -44), QPointF(67, -16));
        p.setPen(QPen(QColor(0x8f, 0x92, 0x96), 1));
        p.setBrush(QColor(0xd9, 0xdc, 0xde));
        p.drawEllipse(QPointF(62, 30), 8, 8);  // silos
        p.drawEllipse(QPointF(62, 50), 7, 7);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x2b, 0x4f, 0x22));
        for (int t = 0; t < 7; ++t) {
            p.drawEllipse(QPointF(-70 + random.bounded(10), -50 + t * 17), 9, 9);
        }
        p.restore();
    }
    // A soft haze, as seen from the air.
    QLinearGradient haze(0, 0, 0, 768);
    haze.setColorAt(0, QColor(255, 255, 255, 50));
    haze.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(image.rect(), haze);
    return image;
}

}  // namespace

QIcon applicationIcon() {
    static const QIcon icon = [] {
        QIcon i;
        for (const int s : {16, 24, 32, 48, 64, 128}) {
            QImage image(s, s, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter p(&image);
            drawIcon(p, s);
            p.end();
            i.addPixmap(QPixmap::fromImage(image));
        }
        return i;
    }();
    return icon;
}

const QImage& background() {
    static const QImage image = renderBackground();
    return image;
}

QImage makerLogo(QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double h = size.height();
    // A cloud with a swirl of air through it.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1f, 0x5f, 0xa8));
    p.drawEllipse(QPointF(h * 0.42, h * 0.55), h * 0.26, h * 0.22);
    p.drawEllipse(QPointF(h * 0.70, h * 0.42), h * 0.30, h * 0.27);
    p.drawEllipse(QPointF(h * 0.98, h * 0.58), h * 0.22, h * 0.18);
    p.setPen(QPen(Qt::white, std::max(1.0, h / 14)));
    p.setBrush(Qt::NoBrush);
    QPainterPath swirl;
    swirl.moveTo(h * 0.25, h * 0.60);
    swirl.cubicTo(h * 0.55, h * 0.30, h * 0.80, h * 0.80, h * 1.15, h * 0.45);
    p.drawPath(swirl);
    // The maker's name.
    const QRectF textBox(h * 1.3, 0, size.width() - h * 1.3, h);
    const auto space = about::kMaker.indexOf(QLatin1Char(' '));
    QFont base(QStringLiteral("Sans Serif"));
    base.setStyleHint(QFont::SansSerif);
    base.setBold(true);
    const QFont name =
        fitted(base, about::kMaker.left(space), static_cast<int>(h * 0.38), textBox.width() - 2);
    p.setFont(name);
    p.setPen(QColor(0x1f, 0x5f, 0xa8));
    p.drawText(textBox.adjusted(0, 0, 0, -h * 0.45), Qt::AlignLeft | Qt::AlignBottom,
               about::kMaker.left(space));
    base.setBold(false);
    const QFont sub =
        fitted(base, about::kMaker.mid(space + 1), static_cast<int>(h * 0.28), textBox.width() - 2);
    p.setFont(sub);
    p.setPen(QColor(0x55, 0x5f, 0x6a));
    p.drawText(textBox.adjusted(0, h * 0.55, 0, 0), Qt::AlignLeft | Qt::AlignTop,
               about::kMaker.mid(space + 1));
    return image;
}

QImage ministryLogo() {
    QImage image(about::kMinistryLogoPixelsW, about::kMinistryLogoPixelsH,
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // A narrow upright band with a stylised field and sun, then the name.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x15, 0x3d, 0x6b));
    p.drawRect(QRectF(0, 0, 18, 20));
    p.setBrush(QColor(0xf2, 0xc1, 0x2e));
    p.drawEllipse(QPointF(9, 7), 4, 4);
    p.setPen(QPen(QColor(0x6c, 0xb0, 0x4a), 2));
    p.drawLine(QPointF(2, 14), QPointF(16, 12));
    p.drawLine(QPointF(2, 18), QPointF(16, 16));
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    const QString top = QStringLiteral("Ministerie van Land, Lucht");
    const QString bottom = QStringLiteral("& Leefomgeving");
    p.setPen(QColor(0x15, 0x3d, 0x6b));
    p.setFont(fitted(font, top, 9, 110));
    p.drawText(QRectF(21, 0, 112, 10), Qt::AlignLeft | Qt::AlignVCenter, top);
    font.setBold(true);
    p.setFont(fitted(font, bottom, 9, 110));
    p.drawText(QRectF(21, 10, 112, 10), Qt::AlignLeft | Qt::AlignVCenter, bottom);
    return image;
}

}  // namespace ui::artwork
