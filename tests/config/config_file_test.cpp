#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>
#include <functional>
#include <stdexcept>

#include "config_fixture.h"
#include "platform/cp1251.h"
#include "support/file_size_limit.h"
#include "support/shared_folder.h"

namespace {

constexpr QFile::Permissions kAnyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;

TIniFileData Defaults() {
    TIniFileData d;
    d.NAME = QStringLiteral("-неизвестный пользователь-");
    d.MACHINE = QStringLiteral("-пресс-");
    d.LINK_PORT = QStringLiteral("COM1");
    d.SER_NUM = 999;
    d.FORCE_SCALE = 100;
    d.LEN_SCALE = 100;
    d.REG_TIME = 1;
    return d;
}

class ConfigFile : public ConfigFixture {};

TEST_F(ConfigFile, FirstStartCreatesAnEmptyWriteProtectedFileAndTakesTheDefaults) {
    INI_FILE_DATA.FLIN10 = 5;
    INI_FILE_DATA.LEN_ENABLE = true;
    ReadIniFile();
    EXPECT_EQ(INI_FILE_DATA, Defaults());
    const QFileInfo file(IniPath());
    ASSERT_TRUE(file.exists());
    EXPECT_EQ(file.size(), 0);
    EXPECT_EQ(file.permissions() & kAnyWrite, 0);
    EXPECT_EQ(IniFilePath(), IniPath());
}

TEST_F(ConfigFile, WorksInItsOwnFolderWhateverTheCurrentOne) {
    QTemporaryDir elsewhere;
    QDir::setCurrent(elsewhere.path());
    ReadIniFile();
    EXPECT_FALSE(QFileInfo::exists(elsewhere.filePath("VE17.ini")));
    WriteIniFile();
    EXPECT_EQ(QDir::currentPath(), QDir(folder_.Path()).canonicalPath());
    EXPECT_GT(QFileInfo(IniPath()).size(), 0);
}

struct NumberCase {
    const char* ini;
    int16_t TIniFileData::*field;
    int16_t expected;
};

const NumberCase kNumberCases[] = {
    {"[USER]\nFORCE_SCALE=70000\n", &TIniFileData::FORCE_SCALE, 4464},
    {"[USER]\nFORCE_SCALE=40000\n", &TIniFileData::FORCE_SCALE, -25536},
    {"[USER]\nFORCE_SCALE=0x1F4\n", &TIniFileData::FORCE_SCALE, 500},
    {"[USER]\nFORCE_SCALE=$1F4\n", &TIniFileData::FORCE_SCALE, 500},
    {"[USER]\nFORCE_SCALE=12a\n", &TIniFileData::FORCE_SCALE, 100},
    {"[USER]\nFORCE_SCALE=\n", &TIniFileData::FORCE_SCALE, 100},
    {"[user]\nforce_scale=200\n", &TIniFileData::FORCE_SCALE, 200},
    {"[USER]\r\nSER_NUM = \"-5\"\r\n", &TIniFileData::SER_NUM, -5},
    {"[CONFIG]\nSER_NUM=5\n", &TIniFileData::SER_NUM, 999},
    {"[USER]\nLEN_SCALE=50\n", &TIniFileData::LEN_SCALE, 50},
    {"[CONFIG]\nREG_TIME=3\n", &TIniFileData::REG_TIME, 3},
    {"[LINEAR]\nFLIN10%=1\nFLIN50%=2\nFLIN100%=3\n", &TIniFileData::FLIN50, 2},
    {"[LINEAR]\nFLIN10%=1\nFLIN50%=2\nFLIN100%=3\n", &TIniFileData::FLIN100, 3},
    {"[LINEAR]\nLLIN10%=4\nLLIN50%=5\nLLIN100%=6\n", &TIniFileData::LLIN10, 4},
    {"[LINEAR]\nLLIN10%=4\nLLIN50%=5\nLLIN100%=6\n", &TIniFileData::LLIN100, 6},
    {"[LINEAR]\nLLIN70%=7\nLLIN75%=9\n", &TIniFileData::LLIN70, 7},
    {"[LINEAR]\nLLIN75%=9\n", &TIniFileData::LLIN70, 0},
};

TEST_F(ConfigFile, NumbersKeepTheLow16BitsOrTakeTheirDefault) {
    for (const NumberCase& c : kNumberCases) {
        WriteIni(c.ini);
        ReadIniFile();
        EXPECT_EQ(INI_FILE_DATA.*c.field, c.expected) << c.ini;
    }
}

TEST_F(ConfigFile, FlagsAreTrueForAnyNonZeroNumber) {
    WriteIni("[USER]\nLEN_ENABLE=5\n[LINEAR]\nFORCE_LIN_ENABLE=x\nLEN_LIN_ENABLE=-1\n");
    ReadIniFile();
    EXPECT_TRUE(INI_FILE_DATA.LEN_ENABLE);
    EXPECT_FALSE(INI_FILE_DATA.FORCE_LIN_ENABLE);
    EXPECT_TRUE(INI_FILE_DATA.LEN_LIN_ENABLE);
    WriteIniFile();
    EXPECT_TRUE(IniBytes().contains("\nLEN_ENABLE=1\n"));
}

TEST_F(ConfigFile, TextsComeFromCodePage1251AndStopAt2047Characters) {
    WriteIni(QByteArray("[USER]\nNAME=") + QByteArray(3000, '\xC6') + "\nMACHINE='" +
             platform::ToCp1251(QStringLiteral("ПГ-100 ")) + "'\n[CONFIG]\nLINK_PORT=\n");
    ReadIniFile();
    EXPECT_EQ(INI_FILE_DATA.NAME, QString(2047, QChar(u'Ж')));
    EXPECT_EQ(INI_FILE_DATA.MACHINE, QStringLiteral("ПГ-100 "));
    EXPECT_EQ(INI_FILE_DATA.LINK_PORT, QString());
}

TEST_F(ConfigFile, ReadingChangesNoByteOfTheFile) {
    const QByteArray ini = "; hand\r\n[user]\r\nNAME = x \r\n[PORTS]\r\nCOM1=/dev/ttyUSB0\r\n";
    WriteIni(ini);
    ReadIniFile();
    EXPECT_EQ(IniBytes(), ini);
    EXPECT_EQ(QFileInfo(IniPath()).permissions() & kAnyWrite, 0);
}

TIniFileData Distinct() {
    TIniFileData d;
    d.NAME = QStringLiteral("Иванов И.И.");
    d.MACHINE = QStringLiteral("ПГ-100");
    d.LINK_PORT = QStringLiteral("COM2");
    d.SER_NUM = -999;
    d.FORCE_SCALE = 500;
    d.LEN_SCALE = 250;
    d.REG_TIME = 2;
    d.FLIN10 = 11;
    d.FLIN50 = 12;
    d.FLIN100 = 13;
    d.LLIN10 = 21;
    d.LLIN50 = 22;
    d.LLIN70 = 23;
    d.LLIN100 = 24;
    d.FORCE_LIN_ENABLE = true;
    d.LEN_LIN_ENABLE = false;
    d.LEN_ENABLE = true;
    return d;
}

TEST_F(ConfigFile, ANewFileHoldsTheTwentyLinesInTheirOrder) {
    ReadIniFile();
    INI_FILE_DATA = Distinct();
    WriteIniFile();
    const QByteArray expected =
        "[USER]\r\nNAME=" + platform::ToCp1251(QStringLiteral("Иванов И.И.")) +
        "\r\nMACHINE=" + platform::ToCp1251(QStringLiteral("ПГ-100")) +
        "\r\nSER_NUM=-999\r\nFORCE_SCALE=500\r\nLEN_SCALE=250\r\nLEN_ENABLE=1\r\n"
        "[CONFIG]\r\nLINK_PORT=COM2\r\nREG_TIME=2\r\n"
        "[LINEAR]\r\nFLIN10%=11\r\nFLIN50%=12\r\nFLIN100%=13\r\nFORCE_LIN_ENABLE=1\r\n"
        "LLIN10%=21\r\nLLIN50%=22\r\nLLIN75%=23\r\nLLIN100%=24\r\nLEN_LIN_ENABLE=0\r\n";
    EXPECT_EQ(IniBytes(), expected);
    EXPECT_EQ(QFileInfo(IniPath()).permissions() & kAnyWrite, 0);

    // Read back, everything but the third displacement value (read from LLIN70%) returns.
    ReadIniFile();
    TIniFileData back = Distinct();
    back.LLIN70 = 0;
    EXPECT_EQ(INI_FILE_DATA, back);
}

TEST_F(ConfigFile, AWriteKeepsHandMadeLinesAndOtherSections) {
    WriteIni(
        "; lab PC\n[USER]\nNAME=old\nNOTE=kept\n\n[PORTS]\nCOM1=/dev/ttyUSB0\n"
        "[LINEAR]\nLLIN70%=7\n");
    ReadIniFile();
    INI_FILE_DATA.NAME = QStringLiteral("new");
    INI_FILE_DATA.MACHINE = QStringLiteral("m");
    WriteIniFile();
    EXPECT_EQ(IniBytes(),
              "; lab PC\n[USER]\nNAME=new\nNOTE=kept\nMACHINE=m\nSER_NUM=999\n"
              "FORCE_SCALE=100\nLEN_SCALE=100\nLEN_ENABLE=0\n\n[PORTS]\nCOM1=/dev/ttyUSB0\n"
              "[LINEAR]\nLLIN70%=7\nFLIN10%=0\nFLIN50%=0\nFLIN100%=0\nFORCE_LIN_ENABLE=0\n"
              "LLIN10%=0\nLLIN50%=0\nLLIN75%=7\nLLIN100%=0\nLEN_LIN_ENABLE=0\n"
              "[CONFIG]\nLINK_PORT=COM1\nREG_TIME=1\n");
}

void ExpectWriteError(const QString& path) {
    try {
        WriteIniFile();
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(QString::fromUtf8(error.what()), "Unable to write to " + path);
    }
}

// Root writes through permission bits, so the tests block the file in ways root cannot pass:
// a folder in the file's place, a program folder that is gone, the file size limit.
TEST_F(ConfigFile, AnUnwritablePlaceReportsTheFullPath) {
    ASSERT_TRUE(QDir().mkdir(IniPath()));
    ReadIniFile();
    EXPECT_EQ(INI_FILE_DATA, Defaults());
    ExpectWriteError(IniPath());

    platform::OverrideProgramDir(folder_.FilePath("gone"));
    ReadIniFile();
    EXPECT_EQ(INI_FILE_DATA, Defaults());
    ExpectWriteError(folder_.FilePath("gone/VE17.ini"));
}

TEST_F(ConfigFile, AFullDiskKeepsTheValuesWrittenBeforeAndLeavesTheFileWritable) {
    ReadIniFile();
    {
        FileSizeLimit limit(100);
        ExpectWriteError(IniPath());
    }
    const QByteArray written = IniBytes();
    EXPECT_TRUE(written.startsWith("[USER]\r\nNAME="));
    EXPECT_TRUE(written.contains("FORCE_SCALE=100\r\n"));
    EXPECT_FALSE(written.contains("LEN_SCALE"));
    EXPECT_NE(QFileInfo(IniPath()).permissions() & QFile::WriteOwner, 0);
}

// Another operator may plant anything at the file's name: the settings then come from the
// defaults, as for a file that cannot be read, nothing behind the name is read, changed or made
// read-only, and saving says that the file cannot be written.
TEST_F(ConfigFile, APlantedLinkFifoOrHugeFileGivesTheDefaultsAndIsNeverFollowed) {
    const QString victim = folder_.FilePath("victim/.bashrc");
    ASSERT_TRUE(QDir().mkpath(QFileInfo(victim).path()));
    {
        QFile file(victim);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[USER]\nNAME=victim\n");
    }
    const QFile::Permissions victimMode = QFileInfo(victim).permissions();
    const QByteArray ini = QFile::encodeName(IniPath());
    const struct {
        const char* what;
        std::function<void()> plant;
    } planted[] = {
        {"link", [&] { ASSERT_EQ(::symlink(QFile::encodeName(victim).constData(), ini), 0); }},
        {"FIFO", [&] { ASSERT_EQ(::mkfifo(ini.constData(), 0666), 0); }},
        {"1 GiB",
         [&] {
             QFile file(IniPath());
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             ASSERT_TRUE(file.write("[USER]\nNAME=huge\n") > 0 && file.resize(qint64(1) << 30));
         }},
    };
    for (const auto& name : planted) {
        QFile::remove(IniPath());
        name.plant();
        INI_FILE_DATA.NAME = QStringLiteral("before");
        ReadIniFile();
        EXPECT_EQ(INI_FILE_DATA, Defaults()) << name.what;
        ExpectWriteError(IniPath());
    }
    QFile file(victim);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "[USER]\nNAME=victim\n");
    EXPECT_EQ(QFileInfo(victim).permissions(), victimMode);
}

// Operators of one press share its settings: each one reads and saves the file that another
// created, and the file stays read-only for all between accesses.
TEST_F(ConfigFile, EveryOperatorOfTheGroupReadsAndSavesTheSharedFile) {
    SKIP_UNLESS_OPERATORS_CAN_BE_TAKEN_ON();
    SharedFolder shared;
    ASSERT_TRUE(shared.IsReady());
    platform::OverrideProgramDir(shared.Path());
    const auto saveName = [](const QString& name) {
        ReadIniFile();
        INI_FILE_DATA.NAME = name;
        try {
            WriteIniFile();
        } catch (const std::runtime_error&) {
            return false;
        }
        return true;
    };
    const auto reads = [](const QString& name) {
        ReadIniFile();
        return INI_FILE_DATA.NAME == name;
    };

    ASSERT_TRUE(RunAs(kOperatorA, [&] { return saveName("A"); }));
    ASSERT_TRUE(RunAs(kOperatorB, [&] { return reads("A") && saveName("B"); }));
    ASSERT_TRUE(RunAs(kOperatorA, [&] { return reads("B") && saveName("A2"); }));
    EXPECT_TRUE(RunAs(kOperatorB, [&] { return reads("A2"); }));

    const struct stat ini = StatOf(shared.FilePath("VE17.ini"));
    EXPECT_EQ(ini.st_mode & 07777, 0444U);
    EXPECT_EQ(ini.st_gid, kOperatorsGroup);
    EXPECT_EQ(QDir(shared.Path()).entryList(QDir::Files | QDir::Hidden), QStringList{"VE17.ini"});
}

// One operator plants links to another's files at the settings' name: the victim's recorder
// neither writes nor locks his ~/.bashrc, and never copies a file only he can read (here
// root's, in his own folder) into the shared folder for the planter to read.
TEST_F(ConfigFile, ALinkPlantedByAnotherOperatorLeadsNowhere) {
    SKIP_UNLESS_OPERATORS_CAN_BE_TAKEN_ON();
    SharedFolder shared;
    ASSERT_TRUE(shared.IsReady());
    platform::OverrideProgramDir(shared.Path());
    const QString home = shared.PrivateFolder(kOperatorB, QStringLiteral("home-b"));
    ASSERT_FALSE(home.isEmpty());
    const QString bashrc = home + QStringLiteral("/.bashrc");
    const QString secret = home + QStringLiteral("/secret");
    ASSERT_TRUE(RunAs(kOperatorB, [&] {
        QFile file(bashrc);
        return file.open(QIODevice::WriteOnly) && file.write("alias ll='ls -l'\n") > 0;
    }));
    {
        QFile file(secret);  // root's, readable by B through his own folder only
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[USER]\nNAME=secret\n");
    }
    const auto plant = [&](const QString& target) {
        return RunAs(kOperatorA, [&] {
            QFile::remove(shared.FilePath("VE17.ini"));
            return QFile::link(target, shared.FilePath("VE17.ini"));
        });
    };
    const auto useTheRecorder = [] {
        ReadIniFile();
        try {
            WriteIniFile();
        } catch (const std::runtime_error&) {
        }
        return INI_FILE_DATA == Defaults();
    };

    for (const QString& target : {bashrc, secret}) {
        ASSERT_TRUE(plant(target));
        EXPECT_TRUE(RunAs(kOperatorB, useTheRecorder)) << target.toStdString();
    }
    EXPECT_EQ(StatOf(bashrc).st_mode & 07777, 0644U);
    EXPECT_EQ(StatOf(secret).st_mode & 07777, 0644U);
    QFile file(bashrc);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "alias ll='ls -l'\n");
    EXPECT_EQ(QDir(shared.Path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
              QStringList{"VE17.ini"});
    EXPECT_TRUE(QFileInfo(shared.FilePath("VE17.ini")).isSymLink());
}

}  // namespace
