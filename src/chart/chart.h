// The load chart: one point series against a time axis (bottom) and a load axis (left), with
// zoom by percent, the rectangle-zoom gesture, title lines and printing, on top of QCustomPlot.
//
// The rectangle zoom: the left button pressed in the plotting area and released more than
// kMinDragPixels away both horizontally and vertically. Right and down zooms the axes to the
// rectangle (a rubber band shows it while dragging); any other direction undoes the zoom; a
// shorter drag does nothing. QCustomPlot's own drag and wheel zoom are off.
#pragma once

#include <QFrame>
#include <QPoint>
#include <QStringList>
#include <QTimer>

#include "chart/chart_axis.h"
#include "chart/chart_series.h"

class QCPTextElement;
class QCustomPlot;
class QMouseEvent;
class QPainter;
class QRectF;
class QRubberBand;
class QWheelEvent;

class TChart : public QFrame {
    Q_OBJECT

  public:
    static constexpr int kZoomSteps = 5;       // the view reaches a new zoom in this many steps
    static constexpr int kZoomStepMs = 20;     // pause between two steps
    static constexpr int kMinDragPixels = 16;  // a rectangle drag must exceed this both ways
    // Redraws of changes come at most this often: frames arrive up to 288 a second, and a
    // chart of 32767 points takes several milliseconds to draw.
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
    // Redraws within kRedrawPaceMs; all requests until then make one redraw.
    void Repaint();
    // The same for a change of the points alone: only the curve is drawn again, over the axes
    // and grid already drawn, unless a whole redraw is due anyway.
    void RepaintCurve();

    // Heading lines, shown above the plot only while ShowTitle(true) (for the printout).
    void SetTitleLines(const QStringList& lines);
    QStringList TitleLines() const { return titleLines_; }
    void ShowTitle(bool show);
    bool TitleShown() const { return title_ != nullptr; }

    // Draws the chart, as laid out on a canvas `enlargement` times its size on the screen,
    // scaled to fill `target` (proportions not kept), as vector drawing (QPrinter, QImage...).
    void RenderTo(QPainter& painter, const QRectF& target, double enlargement);

    // The plotting surface: mouse positions (MouseMoved, PixelToValue) are in its pixels.
    QCustomPlot* Plot() const { return plot_; }

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

    void SetUpLook();
    void Redraw();
    void StartZoomSteps();
    void ZoomStep();
    void FinishZoom();
    void OnPress(QMouseEvent* event);
    void OnMove(QMouseEvent* event);
    void OnRelease(QMouseEvent* event);
    void OnWheel(QWheelEvent* event);
    void ZoomToPixels(const QRect& rect);

    QCustomPlot* plot_;
    TChartAxis bottom_;
    TChartAxis left_;
    TChartSeries series_;

    QTimer redrawTimer_;
    bool wholeRedrawDue_ = false;
    QTimer zoomTimer_;
    int zoomStep_ = 0;

    QRubberBand* band_;
    bool dragging_ = false;
    QPoint dragOrigin_;

    QStringList titleLines_;
    QCPTextElement* title_ = nullptr;
};
