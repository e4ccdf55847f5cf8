#include <QFileInfo>
#include <stdexcept>

#include "config_fixture.h"
#include "platform/cp1251.h"
#include "support/file_size_limit.h"

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

}  // namespace
