#include "platform/application_cursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace platform {

void SetApplicationCursor(Qt::CursorShape shape) {
    if (QGuiApplication::overrideCursor() != nullptr) {
        QGuiApplication::changeOverrideCursor(QCursor(shape));
    } else {
        QGuiApplication::setOverrideCursor(QCursor(shape));
    }
}

Qt::CursorShape ApplicationCursor() {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor != nullptr ? cursor->shape() : Qt::ArrowCursor;
}

}  // namespace platform
