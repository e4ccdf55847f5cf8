#include "platform/cp1251.h"

#include <QHash>
#include <QStringDecoder>
#include <array>

namespace platform {
namespace {

// Qt's encoder puts the control character SUB (0x1A) for a character the code page lacks;
// the files want "?", so the encoding goes through the code page's own table instead.
const QHash<char32_t, char>& UpperHalf() {
    static const QHash<char32_t, char> table = [] {
        QHash<char32_t, char> t;
        for (int b = 0x80; b <= 0xFF; ++b) {
            const QByteArray byte(1, static_cast<char>(b));
            const QString ch = QStringDecoder("windows-1251").decode(byte);
            if (ch.size() == 1 && ch[0] != QChar::ReplacementCharacter) {
                t.insert(ch[0].unicode(), static_cast<char>(b));
            }
        }
        return t;
    }();
    return table;
}

// The characters of the bytes 0x80..0xFF, as Qt's decoder gives them (a byte the code page
// leaves undefined gives the replacement character). Decoded once: opening the decoder costs
// far more than decoding a header's few texts.
const std::array<QChar, 128>& UpperHalfChars() {
    static const std::array<QChar, 128> chars = [] {
        std::array<QChar, 128> a{};
        for (int b = 0x80; b <= 0xFF; ++b) {
            const QString ch =
                QStringDecoder("windows-1251").decode(QByteArray(1, static_cast<char>(b)));
            a[b - 0x80] = ch.size() == 1 ? ch[0] : QChar(QChar::ReplacementCharacter);
        }
        return a;
    }();
    return chars;
}

}  // namespace

QString FromCp1251(const QByteArray& bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        *out++ = b < 0x80 ? QChar(b) : UpperHalfChars()[b - 0x80];
    }
    return text;
}

QByteArray ToCp1251(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const char32_t c : text.toUcs4()) {
        if (c < 0x80) {
            bytes += static_cast<char>(c);
        } else {
            bytes += UpperHalf().value(c, '?');
        }
    }
    return bytes;
}

}  // namespace platform
