// The load chart: one point series against a time axis (bottom) and a load axis (left), with
// zoom by percent, the rectangle-zoom gesture, title lines and printing, on top of QCustomPlot.
//
// The rectangle zoom: the left button pressed in the plotting area and released more than
// kMinDragPixels away both horizontally and vertically. Right and down zooms the axes to the
// rectangle (a rubber band shows it while dragging); any other direction undoes the zoom; a
// shorter drag does nothing. QCustomPlot's own drag and wheel zoom are off.
#pragma once

#include <QElapsedTimer>
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

    // Draws the chart, as laid out on a canvas `enlargement` times its size on the screen,
    // scaled to fill `target` (proportions not kept), as vector drawing (QPrinter, QImage...).
    void RenderTo(QPainter& painter, const QRectF& target, double enlargement);

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
};
