#include "platform/cp1251.h"

#include <QHash>
#include <QStringDecoder>

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

}  // namespace

QString FromCp1251(const QByteArray& bytes) {
    return QStringDecoder("windows-1251").decode(bytes);
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
