#include "measure/recording_look.h"

#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>

namespace measure {

namespace {

// The mark of a running recording: a filled white circle, drawn at twice the size the button
// shows so that it stays round on fine screens.
QIcon RecordingMark(const QSize& size) {
    QPixmap picture(size * 2);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    const int margin = picture.width() / 6;
    painter.drawEllipse(picture.rect().adjusted(margin, margin, -margin, -margin));
    painter.end();
    return QIcon(picture);
}

}  // namespace

void ShowRecording(QPushButton& start, bool recording) {
    if (recording) {
        start.setIcon(RecordingMark(start.iconSize()));
        start.setStyleSheet(
            QStringLiteral("QPushButton { font-weight: bold; color: white; background-color: "
                           "#c8102e; border: 2px solid #6e0010; border-radius: 4px; }"));
    } else {
        start.setIcon(start.style()->standardIcon(QStyle::SP_MediaPlay));
        // The group's style sheet sets its children's fonts, so the bold caption is set the same
        // way.
        start.setStyleSheet(QStringLiteral("font-weight: bold;"));
    }
}

}  // namespace measure
