// The report of a series the archive keeps: each test's entry as it was archived, whether its
// file is still that one, and its curve read from the file when it is.
#pragma once

#include "archive/archive.h"
#include "archive/series_page.h"
#include "archive/series_statistics.h"

namespace archive {

TSeriesRule RuleOf(const TStoredSeries& series);
// The rule as the archive keeps it.
QString RuleKindOf(const TSeriesRule& rule);

// The report of the series, dated by the day it was made, so that it comes out the same
// whenever it is printed again. False when the archive cannot be read (its Error() says why).
bool ReportOf(TArchive& archive, const TStoredSeries& series, TSeriesReport* report);

}  // namespace archive
