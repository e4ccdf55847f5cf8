// The load chart: one point series against a time axis (bottom) and a load axis (left), with
// zoom by percent, the rectangle-zoom gesture, title lines and printing, on top of QCustomPlot.
// Further named curves with a legend serve pages that compare several tests.
//
// The rectangle zoom: the left button pressed in the plotting area and released more than
// kMinDragPixels away both horizontally and vertically. Right and down zooms the axes to the
// rectangle (a rubber band shows it while dragging); any other direction undoes the zoom; a
// shorter drag does nothing. QCustomPlot's own drag and wheel zoom are off.
#pragma once

#include <QElapsedTimer>
#include <QFrame>
#include <QPoint>
#include <QSize>
#include <QStringList>
#include <QTimer>
#include <span>

#include "chart/chart_axis.h"
#include "chart/chart_series.h"

class QCPLayoutGrid;
class QCPTextElement;
class QColor;
class QCustomPlot;
class QMouseEvent;
class QPainter;
class QRectF;
class QRubberBand;
class QWheelEvent;
class TChartPlot;

class TChart : public QFrame {
    Q_OBJECT

  public:
    static constexpr int kZoomSteps = 5;       // the view reaches a new zoom in this many steps
    static constexpr int kZoomStepMs = 20;     // pause between two steps
    static constexpr int kMinDragPixels = 16;  // a rectangle drag must exceed this both ways
    // Redraws of changes come at most this often while changes keep coming: frames arrive up
    // to 288 a second, and a whole chart of 32767 points takes milliseconds to draw.
    static constexpr int kRedrawPaceMs = 200;

    explicit TChart(QWidget* parent = nullptr);

    TChartSeries& Series() { return series_; }
    TChartAxis& BottomAxis() { return bottom_; }
    TChartAxis& LeftAxis() { return left_; }

    // Every axis: d = (max - min) x (percent - 100) x 0.01, min + d, max - d. The axes report
    // the new ranges at once; the view follows in kZoomSteps steps and Zoomed() is raised when
    // it arrives. A percent that would turn an axis inside out (above 200) does nothing.
    void ZoomPercent(double percent);
    // Raises UndoZoomed(); its handler sets the view.
    void UndoZoom();
    // Asks for a redraw. One asked for when none has been made for kRedrawPaceMs is made as soon
    // as the event loop runs (so all the changes of one handler go into it); one asked for
    // sooner is made when that interval has passed since the last. Every request until a
    // redraw is made goes into it, so a burst of requests costs one redraw per interval and its
    // last request is always drawn.
    void Repaint();
    // The same for points added alone: they are drawn over the picture already on the screen
    // when the view has not changed since it was drawn; anything else is a whole redraw.
    void RepaintCurve();
    // Asks for a whole redraw made as soon as the event loop runs, outside the pacing: for the
    // operator's own actions, which come one at a time and are to be seen at once. Requests
    // until then go into it.
    void RepaintAtOnce();
    // Makes the redraw asked for (if any) and paints it before returning, outside the pacing.
    void RepaintNow();

    // Heading lines, shown above the plot only while ShowTitle(true) (for the printout).
    void SetTitleLines(const QStringList& lines);
    QStringList TitleLines() const { return titleLines_; }
    void ShowTitle(bool show);
    bool TitleShown() const { return title_ != nullptr; }

    // Curves beside the point series: each a line in its own colour through the points
    // (xs[i], ys[i]) (seconds, kN), named in the legend. Of two spans of different lengths the
    // longer one's tail is ignored. Many points cost little: a curve is drawn through the
    // lowest and highest point of each pixel column, which looks the same.
    void AddCurve(const QString& name, const QColor& colour, std::span<const double> xs,
                  std::span<const double> ys);
    int CurveCount() const;
    void ClearCurves();
    // The legend, right of the plotting area, names the curves (never the point series).
    void ShowLegend(bool show);
    bool LegendShown() const;

    // Draws the chart, as laid out on a canvas `enlargement` times its size on the screen,
    // scaled to fill `target` (proportions not kept), as vector drawing (QPrinter, QImage...).
    // It is the painter's last drawing: the painter is lent to the canvas, and Qt leaves it
    // naming that canvas, gone by then, as its device (setFont would reach it).
    void RenderTo(QPainter& painter, const QRectF& target, double enlargement);
    // The same laid out on a canvas of the given size, whatever the size on the screen (a chart
    // made only to be drawn on a page).
    void RenderTo(QPainter& painter, const QRectF& target, QSize canvas);

    // The plotting surface: mouse positions (MouseMoved, PixelToValue) are in its pixels.
    QCustomPlot* Plot() const;

  signals:
    // After every zoom, once the view has arrived. A zoom still on its way is completed, with
    // this signal, before an axis range is set, another zoom starts, the zoom is undone or the
    // chart is drawn by RenderTo.
    void Zoomed();
    // A rectangle drag left or up, or UndoZoom().
    void UndoZoomed();
    void WheelDown();  // wheel turned towards the operator
    void WheelUp();
    void MouseMoved(int x, int y);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    friend class TChartAxis;

    enum class TRedraw { kNone, kCurve, kWhole };

    void SetUpLook();
    void AskRedraw(TRedraw what);
    void Redraw(bool paintNow);
    bool DrawNewPoints(bool paintNow);
    void StartZoomSteps();
    void ZoomStep();
    void FinishZoom();
    void OnPress(QMouseEvent* event);
    void OnMove(QMouseEvent* event);
    void OnRelease(QMouseEvent* event);
    void OnWheel(QWheelEvent* event);
    void ZoomToPixels(const QRect& rect);

    TChartPlot* plot_;
    TChartAxis bottom_;
    TChartAxis left_;
    TChartSeries series_;

    QTimer redrawTimer_;
    QElapsedTimer sinceRedraw_;  // not valid before the first redraw
    TRedraw due_ = TRedraw::kNone;
    QTimer zoomTimer_;
    int zoomStep_ = 0;

    QRubberBand* band_;
    bool dragging_ = false;
    QPoint dragOrigin_;

    QStringList titleLines_;
    QCPTextElement* title_ = nullptr;
    QCPLayoutGrid* legendColumn_ = nullptr;  // while the legend is shown; owned by the plot
};
