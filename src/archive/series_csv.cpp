#include "archive/series_csv.h"

#include <QStringList>

#include "archive/series_texts.h"
#include "platform/file_replace.h"
#include "records/info_texts.h"

namespace archive {

namespace {

constexpr int kFields = 8;
constexpr int kForceField = 5;
constexpr int kStrengthField = 6;
constexpr int kRuleField = 7;

// A text from a test file or the operator, safe in a spreadsheet's cell.
QString TextField(QString text) {
    if (!text.isEmpty() && QStringLiteral("=+-@\t\r").contains(text.front())) {
        text.prepend(QLatin1Char('\''));
    }
    if (text.contains(QLatin1Char(';')) || text.contains(QLatin1Char('"')) ||
        text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))) {
        text.replace(QLatin1String("\""), QLatin1String("\"\""));
        text = QLatin1Char('"') + text + QLatin1Char('"');
    }
    return text;
}

QString Number(QString formatted) {
    return formatted.replace(QLatin1Char('.'), QLatin1Char(','));
}

QString AreaField(const QString& areaText) {
    double area = 0;
    if (!records::ParseArea(areaText, &area)) {
        return TextField(areaText);
    }
    return Number(QString::number(area, 'g', 15));
}

QString Line(const QStringList& fields) {
    return fields.join(QLatin1Char(';')) + QStringLiteral("\r\n");
}

QString SpecimenLine(const TSeriesSpecimen& specimen) {
    return Line({TextField(specimen.testName), TextField(specimen.marking),
                 TextField(specimen.type), TextField(specimen.dateText),
                 AreaField(specimen.areaText), Number(ForceText(specimen)),
                 Number(StrengthText(specimen)), TextField(StandingText(specimen))});
}

QString FigureLine(const QString& label, const QString& force, const QString& strength,
                   const QString& rule = QString()) {
    QStringList fields(kFields);
    fields[0] = label;
    fields[kForceField] = Number(force);
    fields[kStrengthField] = Number(strength);
    fields[kRuleField] = TextField(rule);
    return Line(fields);
}

}  // namespace

QByteArray SeriesCsv(const std::vector<TSeriesSpecimen>& specimens, const TSeriesRule& rule) {
    const TSeriesResult result = ComputeSeries(specimens, rule);
    const TFigures& f = result.force;
    const TFigures& r = result.strength;
    const bool any = r.n > 0;
    const auto three = [any](double value) {
        return any ? FormatThree(value) : QStringLiteral("-");
    };
    QString table;
    for (const TSeriesSpecimen& specimen : specimens) {
        table += SpecimenLine(specimen);
    }
    table += FigureLine(QStringLiteral("n"), QString::number(f.n), QString::number(r.n));
    table += FigureLine(QStringLiteral("mean"), three(f.mean), three(r.mean));
    table += FigureLine(QStringLiteral("s"), FormatThree(f.s), FormatThree(r.s));
    table +=
        FigureLine(QStringLiteral("cv %"), FormatPercent(f.cvPercent), FormatPercent(r.cvPercent));
    table += FigureLine(QStringLiteral("min"), three(f.min), three(r.min));
    table += FigureLine(QStringLiteral("max"), three(f.max), three(r.max));
    const QString ruleText =
        result.seriesStrength
            ? RuleText(rule)
            : RuleText(rule) + QStringLiteral(" — не определена: ") + result.error;
    table += FigureLine(QStringLiteral("series strength"), QString(),
                        FormatThree(result.seriesStrength), ruleText);
    return QByteArray("\xEF\xBB\xBF") + table.toUtf8();
}

QString WriteSeriesCsv(const QString& path, const std::vector<TSeriesSpecimen>& specimens,
                       const TSeriesRule& rule) {
    return platform::WriteWholeFile(path, SeriesCsv(specimens, rule));
}

}  // namespace archive
