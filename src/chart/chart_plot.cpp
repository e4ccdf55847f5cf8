#include "chart/chart_plot.h"

#include <memory>

TChartPlot::TChartPlot(QWidget* parent) : QCustomPlot(parent) {}

void TChartPlot::updateLayout() {
    // The labels of a layout are made for the axis lengths of the layout before it. A layout
    // that changes a length is made again, with labels for the new length; the lengths settle
    // within a few rounds (only the room the labels take changes between them).
    constexpr int kRounds = 3;
    for (int round = 0; round < kRounds; ++round) {
        QList<QSize> before;
        for (const QCPAxisRect* rect : axisRects()) {
            before.append(rect->size());
        }
        QCustomPlot::updateLayout();
        QList<QSize> after;
        for (const QCPAxisRect* rect : axisRects()) {
            after.append(rect->size());
        }
        if (after == before) {
            return;
        }
    }
}

bool TChartPlot::IsTopOfLowestPicture(const QCPLayer& layer) const {
    const int index = layer.index();
    for (int i = 0; i <= index; ++i) {
        if (mLayers.at(i)->mode() != QCPLayer::lmLogical) {
            return false;
        }
    }
    return index + 1 >= mLayers.size() || mLayers.at(index + 1)->mode() == QCPLayer::lmBuffered;
}

bool TChartPlot::DrawOver(const QCPLayer& layer,
                          const std::function<std::optional<QRect>(QCPPainter&)>& draw,
                          bool paintNow) {
    if (mPaintBuffers.isEmpty() || hasInvalidatedPaintBuffers() || !IsTopOfLowestPicture(layer) ||
        mPaintBuffers.first()->size() != viewport().size()) {
        return false;
    }
    QCPAbstractPaintBuffer& picture = *mPaintBuffers.first();
    std::optional<QRect> changed;
    {
        const std::unique_ptr<QCPPainter> painter(picture.startPainting());
        if (painter && painter->isActive()) {
            changed = draw(*painter);
        }
    }
    picture.donePainting();
    if (!changed) {
        return false;
    }
    if (paintNow) {
        repaint(*changed);
    } else {
        update(*changed);
    }
    return true;
}
