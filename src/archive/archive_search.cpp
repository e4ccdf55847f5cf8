#include "archive/archive_search.h"

#include <QStringList>

namespace archive {
namespace {

constexpr QChar kFieldSeparator(0x1f);

}  // namespace

QString SearchText(const QString& testName, const QString& marking, const QString& sampleType,
                   const QString& machine, const QString& operatorName) {
    QStringList fields{testName, marking, sampleType, machine, operatorName};
    for (QString& field : fields) {
        field.remove(kFieldSeparator);
    }
    return fields.join(kFieldSeparator).toLower();
}

QString SearchNeedle(const QString& text) {
    QString needle = text.toLower();
    needle.remove(kFieldSeparator);
    return needle;
}

}  // namespace archive
