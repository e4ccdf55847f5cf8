#include "records/info_texts.h"

#include <cmath>

namespace records {

bool ParseArea(const QString& text, double* area) {
    QString number = text.trimmed();
    number.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = number.toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        return false;
    }
    *area = value;
    return true;
}

QString FormatInfoFmax(int32_t fmaxN) {
    return QString::asprintf("%-8.3f", fmaxN * 0.001);
}

QString FormatInfoRmax(int32_t fmaxN, const QString& areaText) {
    double area = 0;
    if (!ParseArea(areaText, &area) || area <= 0) {
        return QStringLiteral("-");
    }
    return QString::asprintf("%-8.3f", fmaxN / area);
}

TInfoTexts MakeInfoTexts(const TSpecimenData& header, int32_t fmaxN) {
    TInfoTexts info;
    info.Date = header.DateString();
    info.Test = header.TestNameString();
    info.Mark = header.MarkingString();
    info.Type = header.SampleTypeString();
    info.SQR = header.AreaString();
    info.Fmax = FormatInfoFmax(fmaxN);
    info.Rmax = FormatInfoRmax(fmaxN, info.SQR);
    return info;
}

}  // namespace records
