#include "archive/archive_settings.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include "config/config.h"
#include "platform/cp1251.h"
#include "platform/profile.h"
#include "platform/program_dir.h"

namespace archive {

TArchiveSettings ArchiveSettingsFor(const QString& service) {
    TArchiveSettings settings;
    settings.service = service;
    settings.databasePath = platform::ProgramDir() + QLatin1String(kDatabaseFileName);
    settings.queueFolder = platform::ProgramDir() + QLatin1String(kQueueFolderName);
    return settings;
}

TArchiveSettings ReadArchiveSettings() {
    const platform::PrivateProfile ini(QFile::encodeName(IniFilePath()).toStdString());
    const std::string value = ini.ReadString(kArchiveSection, kServiceKey, "");
    return ArchiveSettingsFor(platform::FromCp1251(QByteArray::fromStdString(value)).trimmed());
}

bool IsValidServiceName(const QString& service) {
    static const QRegularExpression pattern(QStringLiteral(R"(^[A-Za-z0-9_.\-]{1,63}$)"));
    return pattern.match(service).hasMatch();
}

QString ArchiveName(const TArchiveSettings& settings) {
    if (settings.UsesServer()) {
        return QStringLiteral("служба PostgreSQL «%1»").arg(settings.service);
    }
    return QStringLiteral("база «%1»").arg(QDir::toNativeSeparators(settings.databasePath));
}

}  // namespace archive
