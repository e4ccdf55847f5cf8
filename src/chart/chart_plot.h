// The chart's plotting surface: QCustomPlot with two additions.
//
// Its layout is made again when it changed the length of an axis: tick labels are thinned to
// fit the length of their axis, which is known only after the labels have taken their room.
//
// Plottables can draw over their picture without a replot. Background, grid and plottables
// share the lowest picture and everything above them has a picture of its own, so that points
// drawn onto the lowest picture end up exactly where a replot would put them.
#pragma once

#include <qcustomplot.h>
#include <functional>
#include <optional>

class TChartPlot : public QCustomPlot {
    Q_OBJECT

  public:
    explicit TChartPlot(QWidget* parent = nullptr);

    // Lets `draw` draw over the picture of `layer` without clearing it, then paints the area
    // `draw` returns (an empty one: none), at once (`paintNow`) or with the next paint. Returns
    // false when `draw` returns no area, and without calling it when `layer` is not the top of
    // the lowest picture or that picture is not up to date.
    bool DrawOver(const QCPLayer& layer,
                  const std::function<std::optional<QRect>(QCPPainter&)>& draw, bool paintNow);

  protected:
    void updateLayout() override;

  private:
    // True when the layer and those below it share the lowest picture and no layer above does.
    bool IsTopOfLowestPicture(const QCPLayer& layer) const;
};
