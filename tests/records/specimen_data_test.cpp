#include "measure/specimen_data.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <random>

namespace {

QByteArray Image(const TSpecimenData& data) {
    const auto bytes = data.ToBytes();
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

TSpecimenData Sample(const QString& name = QStringLiteral("Test-1")) {
    return FillForSave(QDate(2011, 12, 12), name, QStringLiteral("Образец"), QStringLiteral("куб"),
                       QStringLiteral("100"), 3, 100);
}

TEST(SpecimenData, ImageHasTheFileHeaderLayout) {
    const QByteArray image = Image(Sample());
    ASSERT_EQ(image.size(), 120);
    EXPECT_EQ(image.left(16), QByteArray("K-Tor. file v.3\0", 16));
    EXPECT_EQ(image.mid(16, 4), QByteArray("\x64\x00\x00\x00", 4));  // scale 100, two zeros
    EXPECT_EQ(image.mid(20, 4), QByteArray("\x03\x00\x00\x00", 4));
    EXPECT_EQ(image.mid(24, 12), QByteArray("12.12.2011\0\0", 12));
    EXPECT_EQ(image.mid(36, 32), QByteArray("Test-1").leftJustified(32, '\0'));
    EXPECT_EQ(image.mid(68, 20),
              QByteArray("\xCE\xE1\xF0\xE0\xE7\xE5\xF6").leftJustified(20, '\0'));
    EXPECT_EQ(image.mid(88, 20), QByteArray("\xEA\xF3\xE1").leftJustified(20, '\0'));
    EXPECT_EQ(image.mid(108, 12), QByteArray("100").leftJustified(12, '\0'));
}

TEST(SpecimenData, NegativeNumbersAreLittleEndianTwosComplement) {
    TSpecimenData data;
    data.ForceScale = -2;
    data.SampleCount = -3;
    const QByteArray image = Image(data);
    EXPECT_EQ(image.mid(16, 8), QByteArray("\xFE\xFF\x00\x00\xFD\xFF\xFF\xFF", 8));
    const TSpecimenData back = TSpecimenData::FromBytes(data.ToBytes().data());
    EXPECT_EQ(back.ForceScale, -2);
    EXPECT_EQ(back.SampleCount, -3);
}

TEST(SpecimenData, TextsAreCutToTheirFieldsAndKeepTheirTerminator) {
    const QString longText = QStringLiteral("Ж123456789012345678901234567890XYZ");
    const TSpecimenData data =
        FillForSave(QDate(2011, 12, 12), longText, longText, longText, "1234567", 3, 100);
    const QByteArray image = Image(data);
    EXPECT_EQ(image.mid(36, 31), QByteArray("\xC6").append("123456789012345678901234567890"));
    EXPECT_EQ(image.at(67), '\0');
    EXPECT_EQ(data.TestNameString(), longText.left(31));
    EXPECT_EQ(data.MarkingString(), longText.left(19));
    EXPECT_EQ(image.at(87), '\0');
    EXPECT_EQ(data.SampleTypeString(), longText.left(19));
    EXPECT_EQ(image.at(107), '\0');
    EXPECT_EQ(data.AreaString(), "123456");
    EXPECT_EQ(image.mid(114, 6), QByteArray(6, '\0'));
}

TEST(SpecimenData, EmptyAreaIsSavedAsZeroAndUnknownCharactersAsQuestionMarks) {
    const TSpecimenData data =
        FillForSave(QDate(2011, 12, 12), QStringLiteral("a€b✓"), "", "", "", 3, 100);
    EXPECT_EQ(data.AreaString(), "0");
    EXPECT_EQ(data.TestNameString(), QStringLiteral("a€b?"));
    EXPECT_EQ(Image(data).mid(36, 5), QByteArray("a\x88"
                                                 "b?\0",
                                                 5));
}

TEST(SpecimenData, AnyImageRoundTripsByteForByte) {
    std::mt19937 random(17);
    std::array<uint8_t, 120> image{};
    for (auto& byte : image) {
        byte = static_cast<uint8_t>(random());
    }
    const TSpecimenData data = TSpecimenData::FromBytes(image.data());
    EXPECT_EQ(data.ToBytes(), [&] {
        auto expected = image;  // the fillers are never carried over
        expected[18] = expected[19] = 0;
        std::fill(expected.begin() + 115, expected.end(), 0);
        return expected;
    }());
}

TEST(SpecimenData, UnterminatedTextsEndInsideTheirFields) {
    std::array<uint8_t, 120> image{};
    std::fill(image.begin() + 24, image.begin() + 115, 'A');
    TSpecimenData data = TSpecimenData::FromBytes(image.data());
    data.TerminateTexts();
    EXPECT_EQ(data.DateString(), QString(11, 'A'));
    EXPECT_EQ(data.TestNameString(), QString(31, 'A'));
    EXPECT_EQ(data.MarkingString(), QString(19, 'A'));
    EXPECT_EQ(data.SampleTypeString(), QString(19, 'A'));
    EXPECT_EQ(data.AreaString(), QString(6, 'A'));
}

}  // namespace
