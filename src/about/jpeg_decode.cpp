#include "about/jpeg_decode.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void FailDecoding(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

// libjpeg only warns about corrupt data and fills the gaps with grey; a picture with a
// warning is treated as damaged, so a half-grey banner never reaches the screen.
void OnMessage(j_common_ptr info, int level) {
    if (level < 0) {
        FailDecoding(info);
    }
}

// One decompression, destroyed on every path out of DecodeJpeg.
struct Decompression {
    jpeg_decompress_struct info{};
    ErrorManager errors{};

    Decompression() {
        info.err = jpeg_std_error(&errors.pub);
        errors.pub.error_exit = FailDecoding;
        errors.pub.emit_message = OnMessage;
    }
    ~Decompression() { jpeg_destroy_decompress(&info); }
    Decompression(const Decompression&) = delete;
    Decompression& operator=(const Decompression&) = delete;
};

// Every libjpeg call that may fail runs here, after the setjmp and with no object that
// needs a destructor in this frame, so the jump back skips nothing.
bool Decode(Decompression& d, const QByteArray& data, QImage& out) {
    if (setjmp(d.errors.jump) != 0) {
        return false;
    }
    jpeg_create_decompress(&d.info);
    jpeg_mem_src(&d.info, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&d.info, TRUE);
    constexpr auto kMaxSide = static_cast<JDIMENSION>(kMaxJpegSide);
    if (d.info.image_width > kMaxSide || d.info.image_height > kMaxSide) {
        return false;
    }
    d.info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&d.info);
    if (d.info.output_components != 3) {
        return false;
    }
    out = QImage(static_cast<int>(d.info.output_width), static_cast<int>(d.info.output_height),
                 QImage::Format_RGB888);
    if (out.isNull()) {
        return false;
    }
    while (d.info.output_scanline < d.info.output_height) {
        JSAMPROW row = out.scanLine(static_cast<int>(d.info.output_scanline));
        jpeg_read_scanlines(&d.info, &row, 1);
    }
    jpeg_finish_decompress(&d.info);
    return true;
}

}  // namespace

QImage DecodeJpeg(const QByteArray& data) {
    if (data.isEmpty()) {
        return {};
    }
    Decompression d;
    QImage image;
    if (!Decode(d, data, image)) {
        return {};
    }
    return image;
}
