#include "chart/chart_series.h"

#include <qcustomplot.h>
#include <algorithm>

#include "chart/chart.h"

namespace {

// Red one-pixel dots, no lines. A curve keeps the points in the order they were added. On the
// screen all dots go to the painter in one call, which draws 32767 of them several times faster
// than one call per dot; vector output (printing) keeps the plot's own dots, which scale with
// the page.
class TDotCurve : public QCPCurve {
  public:
    TDotCurve(QCPAxis* xAxis, QCPAxis* yAxis) : QCPCurve(xAxis, yAxis) {
        setLineStyle(lsNone);
        setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDot, QColor(Qt::red), 1));
        setAntialiasedScatters(false);
    }

  protected:
    void drawScatterPlot(QCPPainter* painter, const QVector<QPointF>& points,
                         const QCPScatterStyle& style) const override {
        if (painter->modes().testFlag(QCPPainter::pmVectorized)) {
            QCPCurve::drawScatterPlot(painter, points, style);
            return;
        }
        QVector<QPoint> pixels(points.size());
        for (qsizetype i = 0; i < points.size(); ++i) {
            pixels[i] = points[i].toPoint();
        }
        QPen pen = style.pen();
        pen.setCosmetic(true);
        painter->setPen(pen);
        painter->drawPoints(pixels.constData(), int(pixels.size()));
    }
};

}  // namespace

TChartSeries::TChartSeries(TChart& chart, QCPAxis* xAxis, QCPAxis* yAxis)
    : chart_(chart), curve_(new TDotCurve(xAxis, yAxis)) {}

void TChartSeries::Clear() {
    curve_->data()->clear();
    maxX_ = 0;
    maxY_ = 0;
    chart_.Repaint();
}

void TChartSeries::AddXY(double x, double y) {
    if (curve_->data()->isEmpty()) {
        maxX_ = x;
        maxY_ = y;
    } else {
        maxX_ = std::max(maxX_, x);
        maxY_ = std::max(maxY_, y);
    }
    curve_->addData(x, y);
    chart_.RepaintCurve();
}

int TChartSeries::Count() const {
    return curve_->data()->size();
}

void TChartSeries::SetActive(bool active) {
    curve_->setVisible(active);
    chart_.Repaint();
}

bool TChartSeries::Active() const {
    return curve_->visible();
}
