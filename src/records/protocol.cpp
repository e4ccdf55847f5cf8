#include "records/protocol.h"

#include <cmath>

namespace records {

namespace {

// printf's "%-Ns": padded with blanks on the right, never cut.
QString Padded(const QString& text, int width) {
    return text.leftJustified(width, QLatin1Char(' '));
}

// To the nearest pixel; a tie goes to the even one.
int Margin(int size) {
    return static_cast<int>(std::nearbyint(0.15 * size));
}

}  // namespace

QStringList ProtocolHeading(const TSpecimenData& header) {
    const QString blank2 = QStringLiteral("  ");
    return {
        blank2,
        QStringLiteral("   ПРОТОКОЛ ИСПЫТАНИЯ  от ") + Padded(header.DateString(), 11) +
            QString(51, QLatin1Char(' ')) + Padded(header.TestNameString(), 31),
        QStringLiteral("    ") + QString(91, QLatin1Char('_')) + QStringLiteral(" "),
        blank2,
        QStringLiteral("    Образец:    маркировка - ") + Padded(header.MarkingString(), 19) +
            QStringLiteral("  тип - ") + Padded(header.SampleTypeString(), 19) +
            QStringLiteral("  площадь,мм.кв - ") + Padded(header.AreaString(), 6) + blank2,
        blank2,
    };
}

QRectF ProtocolPrintRect(int pageWidth, int pageHeight) {
    const int left = Margin(pageWidth) - 800;
    const int top = Margin(pageHeight) - 800;
    const int right = pageWidth - Margin(pageWidth) + 800;
    const int bottom = pageHeight - Margin(pageHeight) + 600;
    return QRectF(left, top, right - left, bottom - top);
}

}  // namespace records
