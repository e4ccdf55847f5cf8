#include "archive/series_texts.h"

#include <QStringList>

namespace archive {

// Adding 0.0 turns a negative zero into a positive one: "-0.000" is no figure.
QString FormatThree(double value) {
    return QString::asprintf("%.3f", value + 0.0);
}

QString FormatPercent(double value) {
    return QString::asprintf("%.1f", value + 0.0);
}

QString FormatThree(const std::optional<double>& value) {
    return value ? FormatThree(*value) : QStringLiteral("-");
}

QString FormatPercent(const std::optional<double>& value) {
    return value ? FormatPercent(*value) : QStringLiteral("-");
}

QString StrengthText(const TSeriesSpecimen& specimen) {
    return FormatThree(StrengthOf(specimen));
}

QString ForceText(const TSeriesSpecimen& specimen) {
    return FormatThree(ForceKn(specimen));
}

QString RuleText(const TSeriesRule& rule) {
    if (rule.kind == TSeriesRule::TKind::kBest) {
        return QStringLiteral("среднее k наибольших, k = %1").arg(rule.k);
    }
    return QStringLiteral("среднее всех учтённых образцов");
}

QString StandingText(const TSeriesSpecimen& specimen) {
    if (Counts(specimen)) {
        return QStringLiteral("учтён");
    }
    QStringList why;
    if (specimen.excluded) {
        why << (specimen.reason.simplified().isEmpty()
                    ? QStringLiteral("исключён")
                    : QStringLiteral("исключён: ") + specimen.reason.simplified());
    }
    if (specimen.file == TSpecimenFile::kMissing) {
        why << QStringLiteral("файл не найден");
    } else if (specimen.file == TSpecimenFile::kChanged) {
        why << QStringLiteral("файл изменён после архивации");
    }
    if (!StrengthOf(specimen)) {
        why << QStringLiteral("площадь не задана");
    }
    const QString text = why.join(QStringLiteral("; "));
    return specimen.excluded ? text : QStringLiteral("не учтён: ") + text;
}

}  // namespace archive
