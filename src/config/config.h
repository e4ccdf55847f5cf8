// The configuration record and its file "VE17.ini" beside the executable.
#pragma once

#include <QString>
#include <cstdint>

namespace platform {
class TProfile;
}

// Field names follow the INI keys ("FLIN10%" becomes FLIN10 and so on).
struct TIniFileData {
    QString NAME;
    QString MACHINE;
    QString LINK_PORT;
    int16_t SER_NUM = 0;
    int16_t FORCE_SCALE = 0;
    int16_t LEN_SCALE = 0;
    int16_t REG_TIME = 0;
    int16_t FLIN10 = 0;
    int16_t FLIN50 = 0;
    int16_t FLIN100 = 0;
    int16_t LLIN10 = 0;
    int16_t LLIN50 = 0;
    int16_t LLIN70 = 0;  // read from LLIN70%, written as LLIN75%
    int16_t LLIN100 = 0;
    bool FORCE_LIN_ENABLE = false;
    bool LEN_LIN_ENABLE = false;
    bool LEN_ENABLE = false;

    bool operator==(const TIniFileData&) const = default;
};

// The one process-wide configuration record.
extern TIniFileData INI_FILE_DATA;

// Full path of "VE17.ini" in the program's folder.
QString IniFilePath();

// Replaces every field from the file (or its default); creates an empty file when there is none.
// Never fails.
void ReadIniFile();

// Writes every field; throws std::runtime_error("Unable to write to <path>") when a value
// cannot be written, leaving the values before it in the file.
void WriteIniFile();

// The record as a profile gives it, and the record written to a profile key by key in the
// file's order; the first key that cannot be written throws "Unable to write to <path>". The
// two files above are these over VE17.ini.
TIniFileData ReadIniRecord(const platform::TProfile& ini);
void WriteIniRecord(const TIniFileData& record, platform::TProfile& ini, const QString& path);
