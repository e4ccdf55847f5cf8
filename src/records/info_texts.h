// The captions of the information panel that shows an opened test.
#pragma once

#include <QString>
#include <cstdint>

#include "measure/specimen_data.h"

struct TInfoTexts {
    QString Date;  // lbInfoDate
    QString Test;  // lbInfoTest
    QString Mark;  // lbInfoMark
    QString Type;  // lbInfoType
    QString SQR;   // lbInfoSQR
    QString Fmax;  // lbInfoFmax, kN
    QString Rmax;  // lbInfoRmax, N/mm2, or "-" without a positive area
};

namespace records {

// The area in mm2 written in an area text: a decimal number with a point or a comma, blanks
// around it allowed. False for anything else (only a foreign file can hold such a text).
bool ParseArea(const QString& text, double* area);

// Fmax x 0.001 kN as "%-8.3f".
QString FormatInfoFmax(int32_t fmaxN);
// Fmax / area as "%-8.3f" when the area text holds a positive number, else "-".
QString FormatInfoRmax(int32_t fmaxN, const QString& areaText);

TInfoTexts MakeInfoTexts(const TSpecimenData& header, int32_t fmaxN);

}  // namespace records
