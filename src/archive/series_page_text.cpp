#include "archive/series_page_text.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

namespace archive {

namespace {

constexpr double kLetterShare = 0.62;  // of a line's height
constexpr double kRuleMm = 0.2;

}  // namespace

void TPageText::SetFont(const char* family, double lineHeight, bool bold, bool struckOut) {
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(std::max(1, qRound(lineHeight * kLetterShare)));
    font.setBold(bold);
    font.setStrikeOut(struckOut);
    painter_.setFont(font);
    painter_.setPen(Qt::black);
}

double TPageText::Width(const QString& text) const {
    return QFontMetricsF(painter_.font(), painter_.device()).horizontalAdvance(text);
}

void TPageText::Draw(const QRectF& rect, Qt::Alignment align, const QString& text) {
    const QString shown = QFontMetricsF(painter_.font(), painter_.device())
                              .elidedText(text, Qt::ElideRight, std::max(0.0, rect.width()));
    painter_.drawText(rect, int(align | Qt::AlignVCenter | Qt::TextSingleLine), shown);
}

void TPageText::DrawWrapped(const QRectF& rect, Qt::Alignment align, const QString& text) {
    painter_.drawText(rect, int(align | Qt::TextWordWrap), text);
}

void TPageText::Rule(double left, double right, double y) {
    painter_.setPen(QPen(Qt::black, Mm(kRuleMm)));
    painter_.drawLine(QPointF(left, y), QPointF(right, y));
    painter_.setPen(Qt::black);
}

void TPageText::Fill(const QRectF& rect, const QColor& colour) {
    painter_.fillRect(rect, colour);
}

}  // namespace archive
