// The archives the archive's benchmarks run on: entries of four presses and ten operators with
// one test in a hundred of bricks, and an archive of 100,000 of them, made once in a temporary
// folder on the file system of TMPDIR (or /tmp).
#pragma once

#include <QDate>
#include <QDir>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "archive/archive.h"
#include "archive/archive_settings.h"

namespace full_archive {

constexpr int kFullArchiveEntries = 100000;
constexpr int kSamplesPerTest = 300;

inline archive::TArchiveSettings SettingsIn(const QString& folder) {
    archive::TArchiveSettings settings;
    settings.databasePath = QDir(folder).filePath(QLatin1String(archive::kDatabaseFileName));
    settings.queueFolder = QDir(folder).filePath(QLatin1String(archive::kQueueFolderName));
    return settings;
}

inline archive::TArchiveEntry ArchiveEntry(int n) {
    archive::TArchiveEntry e;
    e.filePath = QStringLiteral("/var/lib/ve17/DBCustom/%1/test-%2.ktd").arg(n / 1000).arg(n);
    e.fileSize = 120 + 8 * kSamplesPerTest;
    e.sha256 = QStringLiteral("%1").arg(n, 64, 16, QLatin1Char('0'));
    e.savedAt = QDateTime(QDate(2020, 1, 1), QTime(8, 0), Qt::UTC).addSecs(600LL * n);
    e.userAccount = QStringLiteral("operator%1").arg(n % 10);
    e.hostName = QStringLiteral("press-%1").arg(n % 4);
    e.operatorName = QStringLiteral("Оператор %1").arg(n % 10);
    e.machine = QStringLiteral("П-%1").arg(50 * (n % 4 + 1));
    e.serNum = n % 4;
    e.testDate = e.savedAt.toString(QStringLiteral("dd.MM.yyyy"));
    e.testName =
        n % 100 == 0 ? QStringLiteral("Кирпич М%1").arg(n) : QStringLiteral("Бетон B%1").arg(n);
    e.marking = QStringLiteral("М-%1").arg(n % 1000);
    e.sampleType = QStringLiteral("куб 100");
    e.areaText = QStringLiteral("10000");
    e.forceScale = 1000;
    e.sampleCount = kSamplesPerTest;
    e.periodMs = 100;
    e.fmaxN = 100000 + n;
    e.fmaxKn = e.fmaxN * 0.001;
    e.areaMm2 = 10000;
    e.rmax = e.fmaxN / 10000.0;
    e.fmaxText = QString::asprintf("%-8.3f", e.fmaxKn);
    e.rmaxText = QString::asprintf("%-8.3f", *e.rmax);
    return e;
}

struct TFullArchive {
    TFullArchive() {
        QString error;
        archive = archive::TArchive::Open(settings, &error);
        if (!archive || !archive->DeferDiskSyncs()) {
            qFatal("no archive: %s", qPrintable(archive ? archive->Error() : error));
        }
        for (int start = 0; start < kFullArchiveEntries; start += 5000) {
            std::vector<archive::TArchiveEntry> batch;
            for (int n = start; n < start + 5000; ++n) {
                batch.push_back(ArchiveEntry(n));
            }
            if (!archive->Insert(batch)) {
                qFatal("cannot fill the archive: %s", qPrintable(archive->Error()));
            }
        }
    }
    QTemporaryDir folder;
    archive::TArchiveSettings settings = SettingsIn(folder.path());
    std::unique_ptr<archive::TArchive> archive;
};

inline TFullArchive& FullArchive() {
    static TFullArchive full;
    return full;
}

}  // namespace full_archive
