#include "archive/series_page.h"

#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <array>

#include "archive/series_table.h"
#include "archive/series_texts.h"
#include "chart/chart.h"
#include "records/protocol_page.h"

namespace archive {

namespace {

// As a high-resolution printer: the page is laid out in device pixels.
constexpr double kMarginMm = 8;
constexpr double kGapMm = 3;
constexpr double kChartShare = 0.68;  // of the width below the table; the figures take the rest
constexpr double kMinChartMm = 70;    // the chart's height that the table leaves at least
// The chart is laid out at this many of its pixels per millimetre of paper: its text comes out
// a little larger than on the protocol, whose chart is larger.
constexpr double kCanvasPerMm = 4.5;

// Draws the heading and returns where the next part begins.
double DrawHeading(TPageText& page, const QRectF& area, const TSeriesReport& report) {
    const double line = page.Mm(kLineMm);
    QRectF title(area.left(), area.top(), area.width(), 1.4 * line);
    const QString date = QStringLiteral("от ") + report.reportDate;
    page.SetFont(kHeadingFamily, 1.4 * line, true);
    const double dateWidth = page.Width(date) + page.Mm(kGapMm);
    page.Draw(title, Qt::AlignRight, date);
    page.Draw(title.adjusted(0, 0, -dateWidth, 0), Qt::AlignLeft,
              QStringLiteral("ОТЧЁТ ПО СЕРИИ ОБРАЗЦОВ «%1»").arg(report.name));
    page.SetFont(kHeadingFamily, line, false);
    QRectF next(area.left(), title.bottom(), area.width(), line);
    page.Draw(
        next, Qt::AlignLeft,
        QStringLiteral("Пресс: %1        Оператор: %2").arg(report.machine, report.operatorName));
    next.translate(0, line);
    page.Draw(next, Qt::AlignLeft, QStringLiteral("Прочность серии: ") + RuleText(report.rule));
    const double rule = next.bottom() + page.Mm(1);
    page.Rule(area.left(), area.right(), rule);
    return rule + page.Mm(kGapMm);
}

// The load-time curves of the counted specimens, drawn by the program's chart.
void DrawCurves(QPainter& painter, const QRectF& area, double pixelsPerMm,
                const TSeriesReport& report, const TSeriesResult& result) {
    TChart chart;
    double maxTime = 0;
    double minLoad = 0;
    double maxLoad = 0;
    for (size_t i = 0; i < report.specimens.size() && i < report.curves.size(); ++i) {
        if (!result.counted[i]) {
            continue;
        }
        const TSeriesCurve& curve = report.curves[i];
        const size_t count = std::min(curve.timeMs.size(), curve.forceN.size());
        std::vector<double> times(count);
        std::vector<double> loads(count);
        for (size_t j = 0; j < count; ++j) {
            times[j] = curve.timeMs[j] * 0.001;
            loads[j] = curve.forceN[j] * 0.001;
            maxTime = std::max(maxTime, times[j]);
            minLoad = std::min(minLoad, loads[j]);
            maxLoad = std::max(maxLoad, loads[j]);
        }
        chart.AddCurve(QStringLiteral("%1. %2").arg(i + 1).arg(report.specimens[i].testName),
                       CurveColour(int(i)), times, loads);
    }
    // Room right of the last sample and above the highest load.
    chart.BottomAxis().SetRange(0, maxTime > 0 ? maxTime * 1.05 : 5);
    chart.LeftAxis().SetRange(minLoad * 1.1, maxLoad > 0 ? maxLoad * 1.1 : 5);
    chart.BottomAxis().SetIncrement(0);
    chart.LeftAxis().SetIncrement(0);
    chart.ShowLegend(chart.CurveCount() > 0);
    const QSize canvas(qRound(area.width() / pixelsPerMm * kCanvasPerMm),
                       qRound(area.height() / pixelsPerMm * kCanvasPerMm));
    chart.RenderTo(painter, area, canvas);
}

void DrawPage(QPainter& painter, const QRectF& printable, double pixelsPerMm,
              const TSeriesReport& report) {
    const TSeriesResult result = ComputeSeries(report.specimens, report.rule);
    TPageText page(painter, pixelsPerMm);
    const QRectF area = printable.adjusted(page.Mm(kMarginMm), page.Mm(kMarginMm),
                                           -page.Mm(kMarginMm), -page.Mm(kMarginMm));
    const double tableTop = DrawHeading(page, area, report);
    const QRectF tableArea(area.left(), tableTop, area.width(),
                           std::max(0.0, area.bottom() - tableTop - page.Mm(kMinChartMm)));
    const double tableBottom = DrawSpecimenTable(page, tableArea, report, result);
    const double top = tableBottom + page.Mm(kGapMm);
    const double chartWidth = area.width() * kChartShare;
    const double figuresLeft = area.left() + chartWidth + page.Mm(kGapMm);
    DrawFigures(page, QRectF(figuresLeft, top, area.right() - figuresLeft, area.bottom() - top),
                report.rule, result);
    // Last: the chart's drawing is the painter's last (TChart::RenderTo).
    DrawCurves(painter, QRectF(area.left(), top, chartWidth, area.bottom() - top), pixelsPerMm,
               report, result);
}

}  // namespace

TSeriesCurve CurveOf(const TSampleStore& store) {
    const int32_t count = std::clamp(store.Count, 0, kStoreCapacity);
    return {{store.TimeMs.begin(), store.TimeMs.begin() + count},
            {store.ForceN.begin(), store.ForceN.begin() + count}};
}

QColor CurveColour(int index) {
    static constexpr std::array<QRgb, 12> kPalette = {
        0xe6194b, 0x3cb44b, 0x4363d8, 0xf58231, 0x911eb4, 0x42d4f4,
        0xf032e6, 0x469990, 0x9a6324, 0x800000, 0x808000, 0x000075,
    };
    if (index >= 0 && size_t(index) < kPalette.size()) {
        return QColor(kPalette[size_t(index)]);
    }
    // Further hues a golden angle apart, so that neighbours differ.
    return QColor::fromHsv((std::max(index, 0) * 137) % 360, 255, 190);
}

bool DrawSeriesPage(QPagedPaintDevice& device, const TSeriesReport& report) {
    device.setPageOrientation(QPageLayout::Landscape);
    const QRect printable = device.pageLayout().paintRectPixels(device.logicalDpiX());
    QPainter painter;
    if (!painter.begin(&device)) {
        return false;
    }
    DrawPage(painter, QRectF(0, 0, printable.width(), printable.height()),
             device.logicalDpiX() / 25.4, report);
    return painter.end();
}

QString WriteSeriesPdf(const QString& path, const TSeriesReport& report) {
    return records::WritePdfPage(
        path, QStringLiteral("Отчёт по серии образцов"),
        QStringLiteral("страница отчёта не построена"),
        [&report](QPagedPaintDevice& page) { return DrawSeriesPage(page, report); });
}

}  // namespace archive
