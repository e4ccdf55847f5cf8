// The page of the test protocol, drawn by one function on a printer or into a PDF file, so that
// the file shows exactly the page that would have been printed.
#pragma once

#include <QString>
#include <functional>

class QPagedPaintDevice;
class TChart;

namespace records {

// Turns the page to landscape and draws the chart, with the heading it shows, into the
// protocol's rectangle of the printable area, laid out at the enlargement 1.8. False when the
// device refuses the page (a printer that does not take the job).
bool DrawProtocolPage(QPagedPaintDevice& device, TChart& chart);

// A one-page PDF file (A4, 1200 dots per inch) titled `title`, of what `draw` puts on the page
// (false: the page could not be drawn, said as `notDrawn`). The file appears only once the page
// is complete; an existing one is replaced only by the complete new one. Returns the reason of a
// failure, an empty text on success.
QString WritePdfPage(const QString& path, const QString& title, const QString& notDrawn,
                     const std::function<bool(QPagedPaintDevice&)>& draw);

// The same page as a one-page PDF file (A4, 1200 dots per inch). The file appears only once
// the page is complete; an existing one is replaced only by the complete new one. Returns the
// reason of a failure, an empty text on success.
QString WriteProtocolPdf(const QString& path, TChart& chart);

}  // namespace records
