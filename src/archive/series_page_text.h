// Text on the series report's page: sizes in millimetres of paper, drawn in device pixels, so
// that the page looks the same on a printer of any resolution and in the PDF file.
#pragma once

#include <QColor>
#include <QRectF>
#include <QString>

class QPainter;

namespace archive {

inline constexpr double kLineMm = 5;  // a line of the heading and of the figures
inline constexpr const char* kHeadingFamily = "Times New Roman";
inline constexpr const char* kTableFamily = "Arial";

class TPageText {
  public:
    TPageText(QPainter& painter, double pixelsPerMm)
        : painter_(painter), pixelsPerMm_(pixelsPerMm) {}

    double Mm(double mm) const { return mm * pixelsPerMm_; }

    // A font whose letters fill a line `lineHeight` pixels high with room above and below.
    void SetFont(const char* family, double lineHeight, bool bold, bool struckOut = false);
    double Width(const QString& text) const;
    // One line in the rectangle, centred vertically, cut with "…" when it is too long.
    void Draw(const QRectF& rect, Qt::Alignment align, const QString& text);
    // Wrapped at the blanks to the rectangle's width; `align` places it both ways.
    void DrawWrapped(const QRectF& rect, Qt::Alignment align, const QString& text);
    // A thin line across at the height y.
    void Rule(double left, double right, double y);
    void Fill(const QRectF& rect, const QColor& colour);

  private:
    QPainter& painter_;
    double pixelsPerMm_;
};

}  // namespace archive
