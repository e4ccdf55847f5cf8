#include "records/protocol.h"

#include <gtest/gtest.h>

namespace {

TEST(Protocol, HeadingLinesPadTheFieldsToTheirWidths) {
    TSpecimenData data = FillForSave(QDate(2011, 12, 12), "Test-1", "", "", "", 3, 100);
    data.AreaText.fill(0);  // an opened foreign file may hold an empty area
    const QStringList lines = records::ProtocolHeading(data);
    ASSERT_EQ(lines.size(), 6);
    for (int i : {0, 3, 5}) {
        EXPECT_EQ(lines[i], "  ");
    }
    EXPECT_EQ(lines[1], QStringLiteral("   ПРОТОКОЛ ИСПЫТАНИЯ  от 12.12.2011 ") + QString(51, ' ') +
                            "Test-1" + QString(25, ' '));
    EXPECT_EQ(lines[2], "    " + QString(91, '_') + " ");
    EXPECT_EQ(lines[4], QStringLiteral("    Образец:    маркировка - ") + QString(19, ' ') +
                            "  тип - " + QString(19, ' ') + QStringLiteral("  площадь,мм.кв - ") +
                            QString(6, ' ') + "  ");
}

TEST(Protocol, FullFieldsAreNeitherPaddedNorCut) {
    const QString name = QStringLiteral("Испытание номер 1234567890ABCDE");
    const QString mark = QStringLiteral("Маркировка 12345678");
    const TSpecimenData data = FillForSave(QDate(2011, 12, 12), name, mark, mark, "99999", 3, 1);
    const QStringList lines = records::ProtocolHeading(data);
    EXPECT_TRUE(lines[1].endsWith(QString(51, ' ') + name));
    EXPECT_EQ(lines[1].size(), 26 + 11 + 51 + 31);
    EXPECT_EQ(lines[4], QStringLiteral("    Образец:    маркировка - ") + mark + "  тип - " + mark +
                            QStringLiteral("  площадь,мм.кв - 99999   "));
}

TEST(Protocol, PrintRectangleIsThePageLessMarginsWidenedOutwards) {
    // 0.15 x 7016 = 1052.4 -> 1052; 0.15 x 4961 = 744.15 -> 744.
    EXPECT_EQ(records::ProtocolPrintRect(7016, 4961),
              QRectF(QPointF(252, -56), QPointF(6764, 4817)));
    // 0.15 x 1000 = 150; 0.15 x 700 = 105: a coarse page, the rectangle reaches past its edges.
    EXPECT_EQ(records::ProtocolPrintRect(1000, 700),
              QRectF(QPointF(-650, -695), QPointF(1650, 1195)));
}

}  // namespace
