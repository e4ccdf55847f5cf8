#include "archive_test_support.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QFile>

#include "measure/specimen_data.h"
#include "records/test_file.h"

void SaveTest(const QString& path, const QString& testName, const std::vector<int32_t>& forces,
              const QString& area, const QString& marking, const QString& type) {
    auto store = std::make_unique<TSampleStore>();
    for (const int32_t force : forces) {
        store->ForceN[store->Count] = force;
        store->TimeMs[store->Count] = store->Count * 100;
        ++store->Count;
    }
    const TSpecimenData header =
        FillForSave(QDate(2026, 3, 14), testName, marking, type, area, store->Count, 100);
    const TFileResult saved = records::SaveTestFile(path, header, *store);
    ASSERT_TRUE(saved.ok) << saved.error.toStdString();
}

archive::TArchiveEntry SampleEntry(int n) {
    archive::TArchiveEntry e;
    e.filePath = QStringLiteral("/lab/DBCustom/test-%1.ktd").arg(n);
    e.fileSize = 144;
    e.sha256 = QString(64, QLatin1Char("0123456789abcdef"[n % 16]));
    e.savedAt = QDateTime(QDate(2026, 3, 14), QTime(8, 0), Qt::UTC).addSecs(60LL * n);
    e.userAccount = QStringLiteral("operator");
    e.hostName = QStringLiteral("press-pc");
    e.operatorName = QStringLiteral("Иванов");
    e.machine = QStringLiteral("П-125");
    e.serNum = 17;
    e.testDate = QStringLiteral("14.03.2026");
    e.testName = QStringLiteral("Испытание %1").arg(n);
    e.marking = QStringLiteral("М-%1").arg(n);
    e.sampleType = QStringLiteral("куб");
    e.areaText = QStringLiteral("100");
    e.forceScale = 100;
    e.sampleCount = 3;
    e.periodMs = 100;
    e.fmaxN = 1000 * n;
    e.fmaxKn = e.fmaxN * 0.001;
    e.areaMm2 = 100;
    e.rmax = e.fmaxN / 100.0;
    e.fmaxText = QString::asprintf("%-8.3f", e.fmaxKn);
    e.rmaxText = QString::asprintf("%-8.3f", *e.rmax);
    return e;
}

std::unique_ptr<archive::TArchive> OpenOrFail(const archive::TArchiveSettings& settings) {
    QString error;
    auto opened = archive::TArchive::Open(settings, &error);
    EXPECT_TRUE(opened) << error.toStdString();
    return opened;
}

std::vector<archive::TArchiveEntry> AllEntries(const archive::TArchiveSettings& settings) {
    const auto opened = OpenOrFail(settings);
    if (!opened) {
        return {};
    }
    const auto found = opened->Find({});
    EXPECT_TRUE(found) << opened->Error().toStdString();
    return found.value_or(std::vector<archive::TArchiveEntry>{});
}

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QStringList TProgramRun::OutLines() const {
    return out.split('\n', Qt::SkipEmptyParts);
}

std::unique_ptr<QProcess> StartArchiveProgram(const QStringList& arguments) {
    auto process = std::make_unique<QProcess>();
    process->start(QStringLiteral(VE17_ARCHIVE_PROGRAM), arguments);
    return process;
}

TProgramRun Finish(QProcess& process) {
    TProgramRun run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << "ve17-archive did not end normally: "
                      << process.readAllStandardError().toStdString();
        return run;
    }
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

TProgramRun RunArchiveProgram(const QStringList& arguments) {
    const auto process = StartArchiveProgram(arguments);
    return Finish(*process);
}
