// Draws the about window's banner (492 x 57) and logo (201 x 105) as JPEG files and the program's
// window icon (32 x 32, 16 colours) as PNG into the folder given on the command line; given a
// second folder, also the same icon at the desktop's other sizes, <size>.png, for the menu entry.
#include <QColor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <jpeglib.h>

namespace {

const QColor kNavy(0, 0, 128);
const QColor kSteel(58, 110, 165);
const QColor kRed(220, 0, 0);

QFont Sans(int pixels, bool bold) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// A press test as the recorder draws it: load rising with a softening top, then the failure.
QPainterPath LoadCurve(QRectF box) {
    QPainterPath path(box.bottomLeft());
    const int steps = 60;
    for (int i = 1; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        const double load =
            t < 0.8 ? 1.0 - (1.0 - t / 0.8) * (1.0 - t / 0.8) : 1.0 - (t - 0.8) * 3.5;
        path.lineTo(box.left() + t * box.width(), box.bottom() - load * box.height());
    }
    return path;
}

QImage Banner() {
    QImage image(492, 57, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, image.width(), 0);
    sky.setColorAt(0, kNavy);
    sky.setColorAt(1, kSteel);
    p.fillRect(image.rect(), sky);
    p.setPen(QPen(QColor(255, 255, 255, 40), 1));
    for (int x = 300; x < image.width(); x += 16) {
        p.drawLine(x, 6, x, 50);
    }
    p.setPen(QPen(QColor(255, 120, 100), 2.5));
    p.drawPath(LoadCurve(QRectF(300, 10, 180, 40)));
    p.setPen(Qt::white);
    p.setFont(Sans(24, true));
    p.drawText(QRect(14, 4, 290, 30), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Регистратор ВЕ-17"));
    p.setPen(QColor(200, 215, 240));
    p.setFont(Sans(12, false));
    p.drawText(QRect(16, 33, 290, 18), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("запись нагрузки при испытаниях на прессе"));
    return image;
}

QImage Logo() {
    QImage image(201, 105, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // The press: two columns, the crosshead, the plates and the specimen between them.
    const QColor steel(110, 120, 135);
    p.fillRect(QRect(10, 8, 8, 88), steel);
    p.fillRect(QRect(72, 8, 8, 88), steel);
    p.fillRect(QRect(6, 8, 78, 12), kNavy);
    p.fillRect(QRect(6, 88, 78, 10), kNavy);
    p.fillRect(QRect(30, 20, 30, 10), steel.darker(130));
    p.fillRect(QRect(26, 78, 38, 10), steel.darker(130));
    p.fillRect(QRect(36, 42, 18, 36), QColor(200, 170, 90));
    p.fillRect(QRect(40, 30, 10, 12), steel);
    // The load chart beside it.
    const QRectF chart(100, 12, 92, 62);
    p.setPen(QPen(QColor(225, 225, 225), 1, Qt::DotLine));
    for (int i = 1; i < 4; ++i) {
        p.drawLine(QPointF(chart.left(), chart.top() + i * chart.height() / 4),
                   QPointF(chart.right(), chart.top() + i * chart.height() / 4));
    }
    p.setPen(QPen(kNavy, 1.5));
    p.drawLine(chart.bottomLeft(), chart.topLeft());
    p.drawLine(chart.bottomLeft(), chart.bottomRight());
    p.setPen(QPen(kRed, 2));
    p.drawPath(LoadCurve(chart.adjusted(2, 6, -4, -1)));
    p.setPen(kNavy);
    p.setFont(Sans(18, true));
    p.drawText(QRect(96, 76, 100, 26), Qt::AlignCenter, QStringLiteral("ВЕ-17"));
    return image;
}

// The icon drawn at `size` pixels: the window's own at 32; other sizes are smoothed and keep
// their colours.
QImage Icon(int size) {
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    if (size != 32) {
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 32.0, size / 32.0);
    }
    p.setPen(QPen(kNavy, 2));
    p.drawRect(QRectF(1, 1, 30, 30));
    p.drawLine(6, 5, 6, 26);
    p.drawLine(6, 26, 27, 26);
    p.setPen(QPen(QColor(255, 0, 0), 2));
    p.drawPath(LoadCurve(QRectF(7, 8, 19, 17)));
    p.end();
    if (size != 32) {
        return image;
    }
    // The sixteen colours of the classic palette.
    const QList<QRgb> palette = {
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
    return image.convertToFormat(QImage::Format_Indexed8, palette, Qt::ThresholdDither);
}

// Encodes with libjpeg; its default error handler ends this tool with a message.
bool WriteJpeg(const QImage& picture, const QString& path) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(rgb.width());
    info.image_height = static_cast<JDIMENSION>(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 92, TRUE);
    info.optimize_coding = TRUE;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        auto row = const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    const std::unique_ptr<unsigned char, decltype(&std::free)> owned(buffer, &std::free);

    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(reinterpret_cast<const char*>(owned.get()), static_cast<qint64>(size)) ==
               static_cast<qint64>(size) &&
           file.flush();
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: make-about-pictures <folder> [<desktop-icon-folder>]\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    bool written = WriteJpeg(Banner(), folder.filePath(QStringLiteral("banner.jpg"))) &&
                   WriteJpeg(Logo(), folder.filePath(QStringLiteral("logo.jpg"))) &&
                   Icon(32).save(folder.filePath(QStringLiteral("icon.png")), "PNG");
    if (argc == 3) {
        const QDir icons(QString::fromLocal8Bit(argv[2]));
        // The menu's 32-pixel icon is icon.png itself.
        for (const int size : {16, 24, 48, 64, 128, 256}) {
            written = written &&
                      Icon(size).save(icons.filePath(QStringLiteral("%1.png").arg(size)), "PNG");
        }
    }
    if (!written) {
        std::fprintf(stderr, "make-about-pictures: cannot write the pictures\n");
        return 1;
    }
    return 0;
}
