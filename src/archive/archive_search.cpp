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

QString ContainsPattern(const QString& text) {
    QString pattern;
    pattern.reserve(text.size() + 2);
    pattern += '%';
    for (const QChar c : text.toLower()) {
        if (c == kFieldSeparator) {
            continue;
        }
        if (c == '%' || c == '_' || c == '\\') {
            pattern += '\\';
        }
        pattern += c;
    }
    pattern += '%';
    return pattern;
}

}  // namespace archive
