#include "archive/series_report.h"

#include <memory>

#include "archive/file_state.h"
#include "archive/station.h"
#include "records/test_file.h"

namespace archive {
namespace {

TSpecimenFile SpecimenFileOf(TFileState state) {
    switch (state) {
        case TFileState::Ok:
            return TSpecimenFile::kIntact;
        case TFileState::Changed:
            return TSpecimenFile::kChanged;
        case TFileState::Missing:
        case TFileState::Elsewhere:
            break;
    }
    return TSpecimenFile::kMissing;
}

// The specimen as the archive holds it; its file as this PC finds it now, and its curve only
// from a file that is still the archived one.
void AddSpecimen(const TArchiveEntry& entry, const TSeriesMember& member, TSeriesReport* report) {
    TSeriesSpecimen specimen{.testName = entry.testName,
                             .marking = entry.marking,
                             .type = entry.sampleType,
                             .dateText = entry.testDate,
                             .areaText = entry.areaText,
                             .fmaxN = entry.fmaxN,
                             .excluded = member.excluded,
                             .reason = member.reason,
                             .file = TSpecimenFile::kIntact};
    const TFileCheck check = CheckFile(
        {entry.id, entry.filePath, entry.fileSize, entry.sha256, entry.hostName}, HostName());
    specimen.file = SpecimenFileOf(check.state);
    TSeriesCurve curve;
    if (specimen.file == TSpecimenFile::kIntact) {
        const auto store = std::make_unique<TSampleStore>();
        if (records::OpenTestFile(entry.filePath, *store).ok) {
            curve = CurveOf(*store);
        } else {
            specimen.file = TSpecimenFile::kChanged;
        }
    }
    report->specimens.push_back(specimen);
    report->curves.push_back(std::move(curve));
}

}  // namespace

TSeriesRule RuleOf(const TStoredSeries& series) {
    if (series.ruleKind == QLatin1String("best")) {
        return {TSeriesRule::TKind::kBest, series.ruleK};
    }
    return {TSeriesRule::TKind::kAll, 0};
}

QString RuleKindOf(const TSeriesRule& rule) {
    return rule.kind == TSeriesRule::TKind::kBest ? QStringLiteral("best") : QStringLiteral("all");
}

bool ReportOf(TArchive& archive, const TStoredSeries& series, TSeriesReport* report) {
    std::vector<qint64> ids;
    for (const TSeriesMember& member : series.members) {
        ids.push_back(member.testId);
    }
    std::vector<TArchiveEntry> entries;
    if (!archive.FindEntries(ids, &entries)) {
        return false;
    }
    *report = {.name = series.name,
               .reportDate = series.madeAt.toLocalTime().toString(QStringLiteral("dd.MM.yyyy")),
               .machine = series.machine,
               .operatorName = series.operatorName,
               .rule = RuleOf(series),
               .specimens = {},
               .curves = {}};
    for (size_t i = 0; i < entries.size(); ++i) {
        AddSpecimen(entries[i], series.members[i], report);
    }
    return true;
}

}  // namespace archive
