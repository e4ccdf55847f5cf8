// ve17-archive series: a series of archived test files made (or replaced) in the archive, with
// its page as a PDF file and its table as a CSV file.
#include <QFile>

#include "archive/cli_commands.h"
#include "archive/cli_output.h"
#include "archive/series_csv.h"
#include "archive/series_report.h"
#include "archive/series_texts.h"
#include "archive/station.h"
#include "archive/test_file_entry.h"
#include "config/config.h"
#include "platform/profile.h"

namespace archive {
namespace {

// The series of those files as this PC archived them; an error text for a file the archive
// does not know.
QString SeriesOfFiles(TArchive& archive, const TCommandLine& line, const TSeriesRule& rule,
                      TStoredSeries* series) {
    const TIniFileData config =
        ReadIniRecord(platform::PrivateProfile(QFile::encodeName(IniFilePath()).toStdString()));
    *series = {.name = line.seriesName,
               .ruleKind = RuleKindOf(rule),
               .ruleK = rule.k,
               .madeAt = QDateTime::currentDateTimeUtc(),
               .userAccount = CurrentAccount(),
               .hostName = HostName(),
               .operatorName = config.NAME,
               .machine = config.MACHINE,
               .members = {}};
    for (const QString& path : line.paths) {
        std::optional<TArchiveEntry> entry;
        if (!archive.FindEntryOfFile(ArchivedPath(path), series->hostName, &entry)) {
            return archive.Error();
        }
        if (!entry) {
            return QStringLiteral("файл «%1» не внесён в архив (ve17-archive import)").arg(path);
        }
        series->members.push_back({entry->id, false, QString()});
    }
    return QString();
}

// The page and the table where the call asks for them; false after a failed write.
bool WriteOutputs(const TCommandLine& line, const TSeriesReport& report) {
    bool written = true;
    if (!line.pdfPath.isEmpty()) {
        if (const QString failure = WriteSeriesPdf(line.pdfPath, report); !failure.isEmpty()) {
            PrintMessage(QStringLiteral("PDF не записан: %1").arg(failure));
            written = false;
        }
    }
    if (!line.csvPath.isEmpty()) {
        if (const QString failure = WriteSeriesCsv(line.csvPath, report.specimens, report.rule);
            !failure.isEmpty()) {
            PrintMessage(QStringLiteral("CSV не записан: %1").arg(failure));
            written = false;
        }
    }
    return written;
}

}  // namespace

int RunSeries(TArchive& archive, const TCommandLine& line) {
    const std::optional<TSeriesRule> rule = ParseRule(line.rule);
    if (!rule) {
        PrintMessage(
            QStringLiteral("ve17-archive: правило «%1» — не all и не best:K").arg(line.rule));
        return kExitFailure;
    }
    TStoredSeries series;
    if (const QString error = SeriesOfFiles(archive, line, *rule, &series); !error.isEmpty()) {
        PrintMessage(QStringLiteral("ve17-archive: %1").arg(error));
        return kExitFailure;
    }
    TSeriesReport report;
    if (!archive.SaveSeries(series) || !ReportOf(archive, series, &report)) {
        PrintMessage(QStringLiteral("ve17-archive: серия не сохранена: %1").arg(archive.Error()));
        return kExitFailure;
    }
    int faults = 0;
    for (const TSeriesSpecimen& specimen : report.specimens) {
        if (specimen.file != TSpecimenFile::kIntact) {
            PrintMessage(QStringLiteral("%1: %2").arg(specimen.testName, StandingText(specimen)));
            ++faults;
        }
    }
    const TSeriesResult result = ComputeSeries(report.specimens, report.rule);
    const bool written = WriteOutputs(line, report);
    PrintMessage(QStringLiteral("Серия «%1»: образцов %2, учтено %3, прочность серии (%4): %5")
                     .arg(series.name)
                     .arg(report.specimens.size())
                     .arg(result.strength.n)
                     .arg(RuleText(report.rule), result.seriesStrength
                                                     ? FormatThree(*result.seriesStrength)
                                                     : result.error));
    if (!written) {
        return kExitFailure;
    }
    return faults > 0 ? kExitFileFault : kExitOk;
}

}  // namespace archive
