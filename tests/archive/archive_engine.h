// The database under the archive's tests: the embedded SQLite in one test program, a real
// PostgreSQL server in the other, so that the same tests run on both.
#pragma once

#include <gtest/gtest.h>

#include <QString>

#include "archive/archive_settings.h"
#include "support/program_folder.h"

class TArchiveEngine {
  public:
    virtual ~TArchiveEngine() = default;

    // A new, empty archive: the service that names it, or empty for the embedded database of
    // each program folder.
    virtual QString NewService() = 0;

    // The archive stops taking entries (a server switched off, a database another program
    // holds locked), and takes them again.
    virtual void TakeDown(const archive::TArchiveSettings& settings) = 0;
    virtual void BringBack() = 0;
};

// The engine of this test program.
TArchiveEngine& Engine();

// The archive of `service` (empty: the embedded one) for the program's folder `folder`. Writes
// wait briefly for another program's lock, so that a locked archive counts as away soon.
archive::TArchiveSettings SettingsIn(const QString& folder, const QString& service);

// VE17.ini in the folder: this press's name and the archive's section when it names a service.
void WriteProgramIni(const QString& folder, const QString& service,
                     const QString& machine = QStringLiteral("П-125"));

// A program's folder whose VE17.ini names a new, empty archive of the engine.
class ArchiveOnEngine : public ::testing::Test {
  protected:
    void SetUp() override {
        service_ = Engine().NewService();
        settings_ = SettingsIn(folder_.Path(), service_);
        WriteProgramIni(folder_.Path(), service_);
    }

    QString PathOf(const QString& name) const { return folder_.FilePath(name); }

    TScratchProgramFolder folder_;
    QString service_;
    archive::TArchiveSettings settings_;
};
