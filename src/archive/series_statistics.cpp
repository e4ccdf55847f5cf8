#include "archive/series_statistics.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <numeric>

#include "records/info_texts.h"

namespace archive {

namespace {

double Mean(const std::vector<double>& values) {
    return std::accumulate(values.begin(), values.end(), 0.0) / double(values.size());
}

TFigures FiguresOf(const std::vector<double>& values) {
    TFigures figures;
    figures.n = int(values.size());
    if (values.empty()) {
        return figures;
    }
    figures.mean = Mean(values);
    const auto [min, max] = std::minmax_element(values.begin(), values.end());
    figures.min = *min;
    figures.max = *max;
    if (values.size() < 2) {
        return figures;
    }
    // Two passes: the squares of the deviations, not of the values, so that close values
    // keep their spread.
    double squares = 0;
    for (const double value : values) {
        squares += (value - figures.mean) * (value - figures.mean);
    }
    figures.s = std::sqrt(squares / double(values.size() - 1));
    if (figures.mean > 0) {
        figures.cvPercent = *figures.s / figures.mean * 100;
    }
    return figures;
}

// The indices of the k largest strengths among `indices`; equal strengths keep their order.
std::vector<size_t> Strongest(std::vector<size_t> indices, const std::vector<double>& strengths,
                              size_t k) {
    std::stable_sort(indices.begin(), indices.end(),
                     [&](size_t a, size_t b) { return strengths[a] > strengths[b]; });
    indices.resize(k);
    return indices;
}

}  // namespace

std::optional<double> StrengthOf(const TSeriesSpecimen& specimen) {
    double area = 0;
    if (!records::ParseArea(specimen.areaText, &area) || !(area > 0)) {
        return std::nullopt;
    }
    const double strength = specimen.fmaxN / area;
    return std::isfinite(strength) ? std::optional(strength) : std::nullopt;
}

double ForceKn(const TSeriesSpecimen& specimen) {
    return specimen.fmaxN * 0.001;
}

bool Counts(const TSeriesSpecimen& specimen) {
    return !specimen.excluded && specimen.file == TSpecimenFile::kIntact &&
           StrengthOf(specimen).has_value();
}

TSeriesResult ComputeSeries(const std::vector<TSeriesSpecimen>& specimens,
                            const TSeriesRule& rule) {
    TSeriesResult result;
    result.counted.resize(specimens.size());
    result.inSeriesStrength.resize(specimens.size());
    std::vector<size_t> counted;
    std::vector<double> strengths(specimens.size());
    std::vector<double> countedStrengths;
    std::vector<double> countedForces;
    for (size_t i = 0; i < specimens.size(); ++i) {
        if (!Counts(specimens[i])) {
            continue;
        }
        result.counted[i] = true;
        counted.push_back(i);
        strengths[i] = *StrengthOf(specimens[i]);
        countedStrengths.push_back(strengths[i]);
        countedForces.push_back(ForceKn(specimens[i]));
    }
    result.strength = FiguresOf(countedStrengths);
    result.force = FiguresOf(countedForces);

    const size_t n = counted.size();
    const bool best = rule.kind == TSeriesRule::TKind::kBest;
    if (n == 0) {
        result.error = QStringLiteral("нет учтённых образцов");
        return result;
    }
    if (best && rule.k < 1) {
        result.error = QStringLiteral("k = %1, а должно быть не меньше 1").arg(rule.k);
        return result;
    }
    if (best && size_t(rule.k) > n) {
        result.error =
            QStringLiteral("k = %1, а учтённых образцов только %2").arg(rule.k).arg(int(n));
        return result;
    }
    const std::vector<size_t> taken =
        best ? Strongest(counted, strengths, size_t(rule.k)) : counted;
    std::vector<double> takenStrengths;
    for (const size_t i : taken) {
        result.inSeriesStrength[i] = true;
        takenStrengths.push_back(strengths[i]);
    }
    result.seriesStrength = Mean(takenStrengths);
    return result;
}

std::optional<TSeriesRule> ParseRule(const QString& text) {
    if (text == QLatin1String("all")) {
        return TSeriesRule{TSeriesRule::TKind::kAll, 0};
    }
    static const QRegularExpression best(QStringLiteral("^best:([0-9]{1,4})$"));
    const QRegularExpressionMatch match = best.match(text);
    const int k = match.hasMatch() ? match.captured(1).toInt() : 0;
    if (k < 1) {
        return std::nullopt;
    }
    return TSeriesRule{TSeriesRule::TKind::kBest, k};
}

}  // namespace archive
