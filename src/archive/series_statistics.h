// The result of a series of specimens: the spread of their ultimate strengths and maximum
// forces, and the strength of the series by the lab's rule.
//
// A specimen counts when the operator kept it, its test file is as it was archived and its area
// is a positive number. Any other stays in the list and counts in nothing: a missing or changed
// file is never used silently, and a specimen without an area has no strength to count.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace archive {

enum class TSpecimenFile {
    kIntact,   // the test file is the one archived
    kChanged,  // its bytes differ from the archived ones
    kMissing,  // it is gone
};

struct TSeriesSpecimen {
    QString testName;
    QString marking;
    QString type;
    QString dateText;
    QString areaText;   // mm2, as the test file holds it
    int32_t fmaxN = 0;  // the largest stored force, in whole newtons as in the file
    bool excluded = false;
    QString reason;  // the operator's, when excluded
    TSpecimenFile file = TSpecimenFile::kIntact;
};

struct TSeriesRule {
    enum class TKind {
        kAll,   // the mean of every counted specimen
        kBest,  // the mean of the k strongest counted specimens
    };
    TKind kind = TKind::kAll;
    int k = 0;  // for kBest

    bool operator==(const TSeriesRule&) const = default;
};

// The figures of one quantity over the counted specimens. Without a counted specimen n is 0 and
// the other figures mean nothing; s and cv need two specimens, cv also a mean above zero.
struct TFigures {
    int n = 0;
    double mean = 0;
    std::optional<double> s;  // sample standard deviation, n - 1 in the denominator
    std::optional<double> cvPercent;
    double min = 0;
    double max = 0;
};

struct TSeriesResult {
    std::vector<bool> counted;           // per specimen, in the series' order
    std::vector<bool> inSeriesStrength;  // per specimen: one of those the series strength takes
    TFigures strength;                   // N/mm2
    TFigures force;                      // kN
    std::optional<double> seriesStrength;
    QString error;  // why there is no series strength
};

// Fmax / area (N/mm2), as the information panel of an opened test shows it; none without a
// positive area.
std::optional<double> StrengthOf(const TSeriesSpecimen& specimen);
double ForceKn(const TSeriesSpecimen& specimen);
bool Counts(const TSeriesSpecimen& specimen);

// Of k strongest specimens with equal strengths at the cut, the earlier in the series are taken
// (the mean is the same either way). A k below 1 or above the number of counted specimens
// gives no series strength and an error that says so; the other figures are still given.
TSeriesResult ComputeSeries(const std::vector<TSeriesSpecimen>& specimens, const TSeriesRule& rule);

// "all" or "best:K" with K a whole number of at least 1; none for anything else.
std::optional<TSeriesRule> ParseRule(const QString& text);

}  // namespace archive
