#include "config/config_pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace config_pictures {
namespace {

constexpr int kSize = 48;

QPixmap Draw(const QColor& color, const QPainterPath& path) {
    QPixmap picture(kSize, kSize);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color, 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
    return picture;
}

}  // namespace

QPixmap GreenTick() {
    QPainterPath tick;
    tick.moveTo(8, 25);
    tick.lineTo(19, 37);
    tick.lineTo(40, 10);
    return Draw(QColor(0, 150, 0), tick);
}

QPixmap RedCross() {
    QPainterPath cross;
    cross.moveTo(10, 10);
    cross.lineTo(38, 38);
    cross.moveTo(38, 10);
    cross.lineTo(10, 38);
    return Draw(QColor(210, 0, 0), cross);
}

}  // namespace config_pictures
