// The about window's JPEG decoder: its own pictures, and damaged input that must give a null
// image without harm.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageReader>
#include <cstdlib>
#include <random>

#include "about/about_pictures.h"
#include "about/jpeg_decode.h"

namespace {

struct Picture {
    const char* name;
    QSize size;
};

class AboutPictureTest : public ::testing::TestWithParam<Picture> {};

TEST_P(AboutPictureTest, DecodesToItsSizeAndMatchesAnotherDecoder) {
    const QByteArray data = AboutResource(GetParam().name);
    ASSERT_FALSE(data.isEmpty());
    const QImage decoded = DecodeJpeg(data);
    ASSERT_EQ(decoded.size(), GetParam().size);

    // Qt's own JPEG reader as a reference for rows, stride and channel order.
    QBuffer buffer;
    buffer.setData(data);
    const QImage reference =
        QImageReader(&buffer, "jpeg").read().convertToFormat(QImage::Format_RGB888);
    if (reference.isNull()) {
        GTEST_SKIP() << "no JPEG reader in this Qt to compare with";
    }
    int worst = 0;
    for (int y = 0; y < decoded.height(); ++y) {
        for (int x = 0; x < decoded.width(); ++x) {
            const QRgb a = decoded.pixel(x, y);
            const QRgb b = reference.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b))});
        }
    }
    EXPECT_LE(worst, 4);
}

INSTANTIATE_TEST_SUITE_P(Assets, AboutPictureTest,
                         ::testing::Values(Picture{"banner.jpg", {492, 57}},
                                           Picture{"logo.jpg", {201, 105}}));

QByteArray RandomBytes(int size, unsigned seed) {
    std::mt19937 random(seed);
    QByteArray bytes(size, '\0');
    for (char& b : bytes) {
        b = static_cast<char>(random() & 0xFF);
    }
    return bytes;
}

// Sets the height and width in the first baseline frame header (FF C0).
QByteArray WithDimensions(QByteArray jpeg, int width, int height) {
    const auto frame = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    EXPECT_GT(frame, 0);
    jpeg[frame + 5] = static_cast<char>(height >> 8);
    jpeg[frame + 6] = static_cast<char>(height & 0xFF);
    jpeg[frame + 7] = static_cast<char>(width >> 8);
    jpeg[frame + 8] = static_cast<char>(width & 0xFF);
    return jpeg;
}

TEST(DecodeJpegTest, DamagedPicturesGiveANullImage) {
    const QByteArray banner = AboutResource("banner.jpg");
    ASSERT_FALSE(banner.isEmpty());
    const struct {
        const char* what;
        QByteArray data;
    } cases[] = {
        {"empty", {}},
        {"half of the file", banner.left(banner.size() / 2)},
        {"without its end marker", banner.left(banner.size() - 2)},
        {"headers only", banner.left(300)},
        {"random bytes", RandomBytes(4096, 1)},
        {"start marker then random bytes", QByteArray("\xFF\xD8\xFF", 3) + RandomBytes(4096, 2)},
        {"a picture too large to hold", WithDimensions(banner, 60000, 60000)},
        {"a picture of zero height", WithDimensions(banner, 492, 0)},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(DecodeJpeg(c.data).isNull()) << c.what;
    }
}

}  // namespace
