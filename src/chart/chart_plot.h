// The chart's plotting surface: QCustomPlot with two additions.
//
// Its layout is made again when it changed the length of an axis: tick labels are thinned to
// fit the length of their axis, which is known only after the labels have taken their room.
//
// A plottable on the top layer of the lowest picture can draw over that picture without a
// replot, and what it adds ends up where a replot would put it. (The chart puts background,
// grid and points into the lowest picture and gives the axes one of their own.)
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
