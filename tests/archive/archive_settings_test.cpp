// Where the archive is: [ARCHIVE] SERVICE of VE17.ini, kept by every write of the configuration.
#include "archive/archive_settings.h"

#include <gtest/gtest.h>

#include "archive/archive.h"
#include "config/config.h"
#include "support/program_folder.h"

namespace {

TEST(ArchiveSettings, TheServiceComesFromTheArchiveSectionOfVe17Ini) {
    const std::pair<QByteArray, QString> cases[] = {
        {"[USER]\r\nNAME=x\r\n", QString()},
        {"[ARCHIVE]\r\nSERVICE=lab\r\n", QStringLiteral("lab")},
        {"[archive]\nservice = \"lab-2\" \n", QStringLiteral("lab-2")},
        {"[ARCHIVE]\r\nSERVICE=\r\n", QString()},
    };
    for (const auto& [ini, service] : cases) {
        TScratchProgramFolder folder(ini);
        const archive::TArchiveSettings settings = archive::ReadArchiveSettings();
        EXPECT_EQ(settings.service, service) << ini.toStdString();
        EXPECT_EQ(settings.UsesServer(), !service.isEmpty());
        EXPECT_EQ(settings.databasePath, folder.FilePath(QStringLiteral("VE17-archive.sqlite")));
        EXPECT_EQ(settings.queueFolder, folder.FilePath(QStringLiteral("ArchiveQueue")));
    }
}

TEST(ArchiveSettings, TheSectionSurvivesEveryWriteOfTheConfiguration) {
    TScratchProgramFolder folder("[USER]\r\nNAME=a\r\n[ARCHIVE]\r\nSERVICE=lab\r\n");
    ReadIniFile();
    INI_FILE_DATA.NAME = QStringLiteral("Сидоров");
    WriteIniFile();
    EXPECT_EQ(archive::ReadArchiveSettings().service, QStringLiteral("lab"));
    EXPECT_TRUE(folder.IniBytes().contains("[ARCHIVE]\r\nSERVICE=lab\r\n"));
}

TEST(ArchiveSettings, OnlyAPlainServiceNameReachesTheConnection) {
    for (const char* name : {"lab", "lab_1.main-2"}) {
        EXPECT_TRUE(archive::IsValidServiceName(QString::fromUtf8(name))) << name;
    }
    for (const char* name : {"", "lab host=evil", "lab;host=evil", "lab'", "лаб"}) {
        EXPECT_FALSE(archive::IsValidServiceName(QString::fromUtf8(name))) << name;
        TScratchProgramFolder folder;
        QString error;
        if (*name != '\0') {
            EXPECT_FALSE(archive::TArchive::Open(
                archive::ArchiveSettingsFor(QString::fromUtf8(name)), &error));
            EXPECT_TRUE(error.contains(QStringLiteral("недопустимые знаки")))
                << error.toStdString();
        }
    }
    EXPECT_FALSE(archive::IsValidServiceName(QString(64, 'a')));
}

}  // namespace
