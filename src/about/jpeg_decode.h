// Decoding of the JPEG pictures shown in the about window, with libjpeg.
#pragma once

#include <QByteArray>
#include <QImage>

// Pictures larger than this on either side are refused rather than decoded.
inline constexpr int kMaxJpegSide = 4096;

// Decodes a complete JPEG image into an RGB image. A damaged, truncated or empty picture, one
// libjpeg cannot convert to RGB, or one larger than kMaxJpegSide gives a null image.
QImage DecodeJpeg(const QByteArray& data);
