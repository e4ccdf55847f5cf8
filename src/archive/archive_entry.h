// One archived test: where its file is and what it held when it was entered, who saved it and
// on which press. The test file stays the record; the entry only points at it.
#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>

namespace archive {

// How an entry came into the archive: saved at the press, or imported from a folder later.
enum class TOrigin { Saved, Imported };

struct TArchiveEntry {
    qint64 id = 0;     // the archive's own number; 0 until stored
    QString filePath;  // absolute, as the saving PC names it
    qint64 fileSize = 0;
    QString sha256;        // 64 lower-case hex digits of the file's bytes
    QDateTime savedAt;     // UTC; for an imported file its modification time
    QString userAccount;   // the account that saved it (an imported file's owner)
    QString hostName;      // the PC that saved or imported it
    QString operatorName;  // NAME of VE17.ini at that moment
    QString machine;       // MACHINE
    int serNum = 0;        // SER_NUM
    // The header's texts, decoded from code page 1251.
    QString testDate;
    QString testName;
    QString marking;
    QString sampleType;
    QString areaText;
    int forceScale = 0;           // kN, as the header holds it
    int sampleCount = 0;          // sample records in the file
    std::optional<int> periodMs;  // the registration period, when known
    // The results as the information panel shows an opened test: the largest stored force and
    // that force over the area; no strength without a positive area.
    int32_t fmaxN = 0;
    double fmaxKn = 0;
    std::optional<double> areaMm2;
    std::optional<double> rmax;  // N/mm2
    QString fmaxText;            // "%-8.3f"
    QString rmaxText;            // "%-8.3f" or "-"
    TOrigin origin = TOrigin::Saved;

    bool operator==(const TArchiveEntry&) const = default;
};

}  // namespace archive
