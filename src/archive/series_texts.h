// The texts of a series report shared by its page and its table: numbers with the decimals of
// the test protocol, the rule, and what became of each specimen.
#pragma once

#include <QString>
#include <optional>

#include "archive/series_statistics.h"

namespace archive {

// Forces in kN and strengths in N/mm2 as "%.3f", as an opened test shows them.
QString FormatThree(double value);
// The coefficient of variation in %, to a tenth.
QString FormatPercent(double value);
// A figure that may be absent (a spread of one specimen): "-" then.
QString FormatThree(const std::optional<double>& value);
QString FormatPercent(const std::optional<double>& value);

// The specimen's strength, "-" without an area.
QString StrengthText(const TSeriesSpecimen& specimen);
QString ForceText(const TSeriesSpecimen& specimen);

// "среднее всех учтённых образцов" or "среднее k наибольших, k = 2".
QString RuleText(const TSeriesRule& rule);

// "учтён", or why the specimen counts in nothing: the operator's exclusion with its reason, a
// missing or changed file, a missing area, joined by "; ".
QString StandingText(const TSeriesSpecimen& specimen);

}  // namespace archive
