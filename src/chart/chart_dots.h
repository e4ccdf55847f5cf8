// The plottable of the chart's point series: red one-pixel dots, no lines, the points kept in
// the order they were added.
//
// On the screen a draw maps the points to pixels in one pass over linear axes, skips the points
// outside the view (a slice found by binary search while the times never decrease, a scan of all
// points otherwise), draws every pixel at most once and paints them with one drawPoints call.
// The pixels of the last screen draw are remembered, so that points added since can be drawn
// over that picture as long as the view is the one it was drawn for. On vector output (a
// printer, a PDF) every point in the view is drawn as a vector dot that scales with the page.
#pragma once

#include <qcustomplot.h>
#include <optional>
#include <span>
#include <vector>

class TDotPlottable : public QCPAbstractPlottable {
    Q_OBJECT

  public:
    TDotPlottable(QCPAxis* keyAxis, QCPAxis* valueAxis);

    void Clear();
    void Append(double x, double y);
    void Append(std::span<const double> xs, std::span<const double> ys);
    int Count() const { return int(xs_.size()); }
    QPointF At(int index) const { return {xs_[size_t(index)], ys_[size_t(index)]}; }

    // Draws the points added since the last screen draw over the picture that draw made, and
    // returns the area that changed (empty when none did). No value when the view is no longer
    // the one that picture was drawn for, or nothing was drawn yet: then only a whole redraw is
    // right.
    std::optional<QRect> DrawAppended(QCPPainter& painter);

    double selectTest(const QPointF& pos, bool onlySelectable,
                      QVariant* details = nullptr) const override;
    QCPRange getKeyRange(bool& foundRange,
                         QCP::SignDomain inSignDomain = QCP::sdBoth) const override;
    QCPRange getValueRange(bool& foundRange, QCP::SignDomain inSignDomain = QCP::sdBoth,
                           const QCPRange& inKeyRange = QCPRange()) const override;

  protected:
    void draw(QCPPainter* painter) override;
    void drawLegendIcon(QCPPainter* painter, const QRectF& rect) const override;

  private:
    // pixel = offset + value x scale, along one axis as it is laid out now.
    struct TAxisMap {
        double offset;
        double scale;
        double Pixel(double value) const { return offset + value * scale; }
        double Value(double pixel) const { return (pixel - offset) / scale; }
    };
    // What a screen draw was made for: the axes' ranges and the pixel area of the points.
    struct TView {
        QCPRange x;
        QCPRange y;
        QRect area;
        bool operator==(const TView&) const = default;
    };
    // Pixels of the area already drawn, one bit each.
    class TPixelSet {
      public:
        void Reset(const QRect& area);
        // Marks the pixel at (x, y) from the area's corner; true the first time, false when it
        // was drawn already.
        bool Visit(int x, int y) {
            const size_t bit = size_t(y) * size_t(area_.width()) + size_t(x);
            const quint64 mask = quint64(1) << (bit % 64);
            quint64& word = bits_[bit / 64];
            const bool first = !(word & mask);
            word |= mask;
            return first;
        }

      private:
        QRect area_;
        std::vector<quint64> bits_;
    };

    TView CurrentView() const;
    static TAxisMap MapOf(const QCPAxis& axis);
    // Indices [first, last) of the points that may lie in the view's area.
    std::pair<size_t, size_t> VisibleSlice(const TView& view) const;
    // Collects the pixels of points [first, last) in the view's area not drawn before.
    void CollectNewPixels(const TView& view, size_t first, size_t last);
    void PaintPixels(QCPPainter& painter) const;
    void DrawVectors(QCPPainter& painter) const;

    std::vector<double> xs_;
    std::vector<double> ys_;
    bool xAscending_ = true;  // every x at least the one before it

    QCPScatterStyle style_;
    TPixelSet drawnPixels_;
    std::vector<QPoint> newPixels_;
    bool replotting_ = false;         // the plot is drawing its screen pictures
    std::optional<TView> drawnView_;  // the view of the picture on the screen, if any
    size_t drawnCount_ = 0;           // points that picture holds
};
