#include "archive_engine.h"

#include <QDir>

#include "archive_test_support.h"
#include "platform/cp1251.h"

archive::TArchiveSettings SettingsIn(const QString& folder, const QString& service) {
    archive::TArchiveSettings settings;
    settings.service = service;
    settings.databasePath = QDir(folder).filePath(QLatin1String(archive::kDatabaseFileName));
    settings.queueFolder = QDir(folder).filePath(QLatin1String(archive::kQueueFolderName));
    settings.busyTimeoutMs = 200;
    return settings;
}

void WriteProgramIni(const QString& folder, const QString& service, const QString& machine) {
    QString ini =
        QStringLiteral("[USER]\r\nNAME=Петров\r\nMACHINE=%1\r\nSER_NUM=42\r\n").arg(machine);
    if (!service.isEmpty()) {
        ini += QStringLiteral("[ARCHIVE]\r\nSERVICE=%1\r\n").arg(service);
    }
    WriteBytes(QDir(folder).filePath(QStringLiteral("VE17.ini")), platform::ToCp1251(ini));
}
