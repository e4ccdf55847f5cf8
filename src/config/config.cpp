#include "config/config.h"

#include <QDir>
#include <QFile>
#include <stdexcept>
#include <string>

#include "platform/cp1251.h"
#include "platform/file_attributes.h"
#include "platform/profile.h"
#include "platform/program_dir.h"

TIniFileData INI_FILE_DATA;

namespace {

std::string ProfilePath() {
    return QFile::encodeName(IniFilePath()).toStdString();
}

QString ReadText(const platform::TProfile& ini, const char* section, const char* key,
                 const QString& defaultValue) {
    const std::string def = platform::ToCp1251(defaultValue).toStdString();
    return platform::FromCp1251(QByteArray::fromStdString(ini.ReadString(section, key, def)));
}

// The field keeps the low 16 bits of the 32-bit value, so 70000 becomes 4464.
int16_t ReadNumber(const platform::TProfile& ini, const char* section, const char* key,
                   int16_t defaultValue) {
    return static_cast<int16_t>(ini.ReadInt(section, key, defaultValue));
}

bool ReadFlag(const platform::TProfile& ini, const char* section, const char* key) {
    return ini.ReadInt(section, key, 0) != 0;
}

void CreateEmptyIfMissing(const QString& path) {
    QFile file(path);
    if (!file.exists()) {
        file.open(QIODevice::WriteOnly | QIODevice::NewOnly);
    }
}

// Writes one value; the first one that fails ends the whole save.
class Writer {
  public:
    Writer(platform::TProfile& ini, const QString& path) : path_(path), ini_(ini) {}

    void Text(const char* section, const char* key, const QString& value) {
        Put(section, key, platform::ToCp1251(value).toStdString());
    }
    void Number(const char* section, const char* key, int value) {
        Put(section, key, std::to_string(value));
    }
    void Flag(const char* section, const char* key, bool value) {
        Put(section, key, value ? "1" : "0");
    }

  private:
    void Put(const char* section, const char* key, const std::string& value) {
        if (!ini_.WriteString(section, key, value)) {
            throw std::runtime_error("Unable to write to " + path_.toStdString());
        }
    }

    QString path_;
    platform::TProfile& ini_;
};

}  // namespace

QString IniFilePath() {
    return platform::ProgramDir() + QStringLiteral("VE17.ini");
}

TIniFileData ReadIniRecord(const platform::TProfile& ini) {
    TIniFileData d;
    d.NAME = ReadText(ini, "USER", "NAME", QStringLiteral("-неизвестный пользователь-"));
    d.MACHINE = ReadText(ini, "USER", "MACHINE", QStringLiteral("-пресс-"));
    d.SER_NUM = ReadNumber(ini, "USER", "SER_NUM", 999);
    d.FORCE_SCALE = ReadNumber(ini, "USER", "FORCE_SCALE", 100);
    d.LINK_PORT = ReadText(ini, "CONFIG", "LINK_PORT", QStringLiteral("COM1"));
    d.REG_TIME = ReadNumber(ini, "CONFIG", "REG_TIME", 1);
    d.FLIN10 = ReadNumber(ini, "LINEAR", "FLIN10%", 0);
    d.FLIN50 = ReadNumber(ini, "LINEAR", "FLIN50%", 0);
    d.FLIN100 = ReadNumber(ini, "LINEAR", "FLIN100%", 0);
    d.FORCE_LIN_ENABLE = ReadFlag(ini, "LINEAR", "FORCE_LIN_ENABLE");
    d.LEN_ENABLE = ReadFlag(ini, "USER", "LEN_ENABLE");
    d.LEN_SCALE = ReadNumber(ini, "USER", "LEN_SCALE", 100);
    d.LLIN10 = ReadNumber(ini, "LINEAR", "LLIN10%", 0);
    d.LLIN50 = ReadNumber(ini, "LINEAR", "LLIN50%", 0);
    d.LLIN70 = ReadNumber(ini, "LINEAR", "LLIN70%", 0);
    d.LLIN100 = ReadNumber(ini, "LINEAR", "LLIN100%", 0);
    d.LEN_LIN_ENABLE = ReadFlag(ini, "LINEAR", "LEN_LIN_ENABLE");
    return d;
}

void WriteIniRecord(const TIniFileData& d, platform::TProfile& profile, const QString& path) {
    Writer ini(profile, path);
    ini.Text("USER", "NAME", d.NAME);
    ini.Text("USER", "MACHINE", d.MACHINE);
    ini.Number("USER", "SER_NUM", d.SER_NUM);
    ini.Number("USER", "FORCE_SCALE", d.FORCE_SCALE);
    ini.Number("USER", "LEN_SCALE", d.LEN_SCALE);
    ini.Flag("USER", "LEN_ENABLE", d.LEN_ENABLE);
    ini.Text("CONFIG", "LINK_PORT", d.LINK_PORT);
    ini.Number("CONFIG", "REG_TIME", d.REG_TIME);
    ini.Number("LINEAR", "FLIN10%", d.FLIN10);
    ini.Number("LINEAR", "FLIN50%", d.FLIN50);
    ini.Number("LINEAR", "FLIN100%", d.FLIN100);
    ini.Flag("LINEAR", "FORCE_LIN_ENABLE", d.FORCE_LIN_ENABLE);
    ini.Number("LINEAR", "LLIN10%", d.LLIN10);
    ini.Number("LINEAR", "LLIN50%", d.LLIN50);
    // The third displacement value is read from LLIN70% but saved under LLIN75%.
    ini.Number("LINEAR", "LLIN75%", d.LLIN70);
    ini.Number("LINEAR", "LLIN100%", d.LLIN100);
    ini.Flag("LINEAR", "LEN_LIN_ENABLE", d.LEN_LIN_ENABLE);
}

void ReadIniFile() {
    const QString path = IniFilePath();
    CreateEmptyIfMissing(path);
    platform::SetFileAttributesNormal(path);
    INI_FILE_DATA = ReadIniRecord(platform::PrivateProfile(ProfilePath()));
    platform::SetFileAttributesReadOnlySystem(path);
}

void WriteIniFile() {
    QDir::setCurrent(platform::ProgramDir());
    const QString path = IniFilePath();
    platform::SetFileAttributesNormal(path);
    platform::PrivateProfile ini(ProfilePath());
    WriteIniRecord(INI_FILE_DATA, ini, path);
    platform::SetFileAttributesReadOnlySystem(path);
}
