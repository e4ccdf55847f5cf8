// The table of the specimens and the block of the figures on the series report's page.
#pragma once

#include <QRectF>

#include "archive/series_page.h"
#include "archive/series_page_text.h"
#include "archive/series_statistics.h"

namespace archive {

// One row per specimen under a header row; the rows of those that count in nothing are struck
// out and say why. Rows get narrower when there are many, so that the table stays inside
// `area`. Notes under it: which specimens the series strength takes (rule of the k strongest),
// and that specimens with a missing or changed file are left out. Returns the bottom.
double DrawSpecimenTable(TPageText& page, const QRectF& area, const TSeriesReport& report,
                         const TSeriesResult& result);

// n, mean, s, cv, min and max of the strength and of the maximum force, then the strength of
// the series by the rule, or why there is none.
void DrawFigures(TPageText& page, const QRectF& area, const TSeriesRule& rule,
                 const TSeriesResult& result);

}  // namespace archive
