#include "about/about_pictures.h"

#include <QFile>
#include <QPixmap>
#include <mutex>

#include "about/jpeg_decode.h"

// Resources compiled into a static library are registered only when asked for by name.
static void RegisterAboutResources() {
    Q_INIT_RESOURCE(about);
}

QByteArray AboutResource(const QString& name) {
    static std::once_flag registered;
    std::call_once(registered, RegisterAboutResources);
    QFile file(QStringLiteral(":/about/") + name);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

QImage AboutPicture(const QString& name) {
    return DecodeJpeg(AboutResource(name));
}

QIcon ProgramIcon() {
    return QIcon(QPixmap::fromImage(QImage::fromData(AboutResource(QStringLiteral("icon.png")))));
}
