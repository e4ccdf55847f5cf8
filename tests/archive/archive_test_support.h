// Helpers of the archive's tests: test files as the recorder saves them, entries to store, and
// runs of the real ve17-archive program.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "archive/archive.h"
#include "archive/archive_entry.h"

// Saves a test through the project's own test-file code: `forces` (N) at 100 ms steps.
void SaveTest(const QString& path, const QString& testName, const std::vector<int32_t>& forces,
              const QString& area = QStringLiteral("100"),
              const QString& marking = QStringLiteral("М-1"),
              const QString& type = QStringLiteral("куб"));

// Number `n` of a series of distinct entries, saved `n` minutes after a fixed moment.
archive::TArchiveEntry SampleEntry(int n);

// The archive of the settings, opened or failing the test.
std::unique_ptr<archive::TArchive> OpenOrFail(const archive::TArchiveSettings& settings);

// Every entry of the archive, the newest first.
std::vector<archive::TArchiveEntry> AllEntries(const archive::TArchiveSettings& settings);

QByteArray ReadBytes(const QString& path);
void WriteBytes(const QString& path, const QByteArray& bytes);

struct TProgramRun {
    int exitCode = -1;
    QString out;
    QString err;

    QStringList OutLines() const;
};

// Runs ve17-archive to its end.
TProgramRun RunArchiveProgram(const QStringList& arguments);

// Starts ve17-archive; Finish waits for it.
std::unique_ptr<QProcess> StartArchiveProgram(const QStringList& arguments);
TProgramRun Finish(QProcess& process);
