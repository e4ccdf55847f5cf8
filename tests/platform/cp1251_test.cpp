#include "platform/cp1251.h"

#include <gtest/gtest.h>

namespace {

TEST(Cp1251, CyrillicTextRoundTrips) {
    const QString text = QStringLiteral("Регистратор ВЕ-17 ёЁ №5");
    const QByteArray bytes = platform::ToCp1251(text);
    EXPECT_EQ(bytes.left(3), QByteArray("\xD0\xE5\xE3"));
    EXPECT_EQ(bytes.right(8), QByteArray("17 \xB8\xA8 \xB9"
                                         "5"));
    EXPECT_EQ(platform::FromCp1251(bytes), text);
}

TEST(Cp1251, EveryByteRoundTrips) {
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    EXPECT_EQ(platform::ToCp1251(platform::FromCp1251(all)), all);
}

TEST(Cp1251, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(platform::ToCp1251(QStringLiteral("é😀ж\u001A")), QByteArray("??\xE6\x1A"));
}

}  // namespace
