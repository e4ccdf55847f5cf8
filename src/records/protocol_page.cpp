#include "records/protocol_page.h"

#include <QBuffer>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include "chart/chart.h"
#include "platform/file_replace.h"
#include "records/protocol.h"

namespace records {

namespace {

// The chart is laid out on a canvas this many times its size on the screen, so that text and
// lines come out finer on paper.
constexpr double kEnlargement = 1.8;
// As a high-resolution printer: the protocol's rectangle is measured in device pixels.
constexpr int kPdfResolution = 1200;

}  // namespace

bool DrawProtocolPage(QPagedPaintDevice& device, TChart& chart) {
    device.setPageOrientation(QPageLayout::Landscape);
    const QRect printable = device.pageLayout().paintRectPixels(device.logicalDpiX());
    QPainter painter;
    if (!painter.begin(&device)) {
        return false;
    }
    chart.RenderTo(painter, ProtocolPrintRect(printable.width(), printable.height()), kEnlargement);
    return painter.end();
}

QString WritePdfPage(const QString& path, const QString& title, const QString& notDrawn,
                     const std::function<bool(QPagedPaintDevice&)>& draw) {
    // The page is made in memory and written as a whole, so a full disk or a refused folder
    // never leaves half a PDF behind.
    QBuffer page;
    page.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&page);
        writer.setResolution(kPdfResolution);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF());
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Регистратор ВЕ-17 v1.1"));
        if (!draw(writer)) {
            return notDrawn;
        }
    }
    return platform::WriteWholeFile(path, page.data());
}

QString WriteProtocolPdf(const QString& path, TChart& chart) {
    return WritePdfPage(
        path, QStringLiteral("Протокол испытания"),
        QStringLiteral("страница протокола не построена"),
        [&chart](QPagedPaintDevice& page) { return DrawProtocolPage(page, chart); });
}

}  // namespace records
