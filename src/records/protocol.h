// The heading and the page rectangle of the printed test protocol.
#pragma once

#include <QRectF>
#include <QStringList>

#include "measure/specimen_data.h"

namespace records {

// The six heading lines printed above the chart, from the test last saved or opened.
QStringList ProtocolHeading(const TSpecimenData& header);

// The rectangle, in printer pixels, that the chart fills on a page whose printable area is
// pageWidth x pageHeight: margins of 15 % on each side, widened by 800 pixels to the left,
// top and right and 600 at the bottom. It may reach past the page; the printer clips it.
QRectF ProtocolPrintRect(int pageWidth, int pageHeight);

}  // namespace records
