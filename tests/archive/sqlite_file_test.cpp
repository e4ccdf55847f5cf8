// The embedded database's file in the program's folder that the operators share: written by
// all of them, and never reached through a link another one planted at its name.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <thread>
#include <vector>

#include "archive/archive.h"
#include "archive_engine.h"
#include "archive_test_support.h"

namespace {

class SqliteFile : public ::testing::Test {
  protected:
    QTemporaryDir dir_;
    archive::TArchiveSettings settings_ = SettingsIn(dir_.path(), {});
};

mode_t ModeOf(const QString& path) {
    struct stat info = {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode : 0;
}

TEST_F(SqliteFile, ANewDatabaseIsWritableForThoseWhoShareTheFolder) {
    ASSERT_EQ(::chmod(QFile::encodeName(dir_.path()).constData(), 0775), 0);
    const auto store = OpenOrFail(settings_);
    ASSERT_TRUE(store && store->Insert({SampleEntry(1)}));
    for (const char* suffix : {"", "-wal", "-shm"}) {
        const QString path = settings_.databasePath + QLatin1String(suffix);
        EXPECT_TRUE(ModeOf(path) & S_IWGRP) << path.toStdString();
        EXPECT_TRUE(ModeOf(path) & S_IRGRP) << path.toStdString();
    }
}

TEST_F(SqliteFile, ALinkOrAFolderAtTheDatabasesNameIsRefused) {
    const QString target = dir_.filePath(QStringLiteral("someone-elses.sqlite"));
    {
        const auto theirs = OpenOrFail(SettingsIn(dir_.path(), {}));
        ASSERT_TRUE(theirs);
    }
    ASSERT_TRUE(QFile::rename(settings_.databasePath, target));
    const QByteArray before = ReadBytes(target);
    ASSERT_TRUE(QFile::link(target, settings_.databasePath));
    QString error;
    EXPECT_FALSE(archive::TArchive::Open(settings_, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("ссылка"))) << error.toStdString();
    EXPECT_EQ(ReadBytes(target), before);
    EXPECT_FALSE(QFile::exists(target + "-wal"));

    ASSERT_TRUE(QFile::remove(settings_.databasePath));
    ASSERT_TRUE(QDir().mkdir(settings_.databasePath));
    EXPECT_FALSE(archive::TArchive::Open(settings_, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("не обычный файл"))) << error.toStdString();
}

// Programs that open a new archive at the same moment all open it: switching the new file to
// write-ahead logging makes them wait for each other, which SQLite answers at once with "busy".
TEST(SqliteFileRace, ProgramsOpeningANewArchiveAtOnceAllOpenIt) {
    constexpr int kRounds = 20;
    constexpr int kPrograms = 4;
    for (int round = 0; round < kRounds; ++round) {
        QTemporaryDir dir;
        const archive::TArchiveSettings settings = SettingsIn(dir.path(), {});
        std::vector<QString> errors(kPrograms);
        std::vector<std::thread> programs;
        for (int p = 0; p < kPrograms; ++p) {
            programs.emplace_back([&settings, &errors, p] {
                QString error;
                const auto store = archive::TArchive::Open(settings, &error);
                errors[size_t(p)] = store ? QString() : QStringLiteral("no archive: ") + error;
                if (store && !store->Insert({SampleEntry(p + 1)})) {
                    errors[size_t(p)] = store->Error();
                }
            });
        }
        for (std::thread& program : programs) {
            program.join();
        }
        for (const QString& error : errors) {
            ASSERT_TRUE(error.isEmpty()) << "round " << round << ": " << error.toStdString();
        }
    }
}

}  // namespace
