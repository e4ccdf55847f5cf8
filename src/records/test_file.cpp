#include "records/test_file.h"

#include "records/safe_write.h"

#include <QDir>
#include <QFile>
#include <algorithm>

namespace records {

namespace {

constexpr int kRecordSize = 8;

void AppendLe32(QByteArray& out, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        out.append(static_cast<char>(bits >> (8 * i)));
    }
}

int32_t Le32At(const char* at) {
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) {
        bits |= static_cast<uint32_t>(static_cast<uint8_t>(at[i])) << (8 * i);
    }
    return static_cast<int32_t>(bits);
}

QString Shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Files report a failed read (a bad sector, a lost share); on other devices a short read is
// simply the end of the data.
QString ReadError(const QIODevice& in) {
    const auto* file = qobject_cast<const QFileDevice*>(&in);
    return file != nullptr && file->error() != QFileDevice::NoError ? file->errorString()
                                                                    : QString();
}

TOpenedTest OpenFailure(const QString& path, const QString& reason) {
    TOpenedTest result;
    result.error =
        QStringLiteral("Не удалось открыть файл испытания \"%1\": %2").arg(Shown(path), reason);
    return result;
}

}  // namespace

TFileResult SaveTestFile(const QString& path, const TSpecimenData& header,
                         const TSampleStore& store) {
    const int32_t count = std::clamp(store.Count, 0, kStoreCapacity);
    TSpecimenData written = header;
    written.SampleCount = count;
    const auto image = written.ToBytes();

    QByteArray bytes(reinterpret_cast<const char*>(image.data()), image.size());
    bytes.reserve(image.size() + count * kRecordSize);
    for (int32_t i = 0; i < count; ++i) {
        AppendLe32(bytes, store.ForceN[i]);
        AppendLe32(bytes, store.TimeMs[i]);
    }

    TFileResult result;
    const QString reason = WriteWholeFile(path, bytes);
    result.ok = reason.isEmpty();
    if (!result.ok) {
        result.error = QStringLiteral("Не удалось сохранить испытание в файл \"%1\": %2")
                           .arg(Shown(path), reason);
    }
    return result;
}

TOpenedTest OpenTestFile(const QString& path, TSampleStore& store) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return OpenFailure(path, file.errorString());
    }
    return ReadTest(file, path, store);
}

TOpenedTest ReadTest(QIODevice& in, const QString& name, TSampleStore& store) {
    const QByteArray head = in.read(TSpecimenData::kImageSize);
    if (const QString error = ReadError(in); !error.isEmpty()) {
        return OpenFailure(name, error);
    }
    if (head.size() < TSpecimenData::kImageSize) {
        return OpenFailure(name, QStringLiteral("файл короче заголовка испытания (120 байт)"));
    }

    TOpenedTest result;
    result.header = TSpecimenData::FromBytes(reinterpret_cast<const uint8_t*>(head.constData()));
    result.header.TerminateTexts();
    result.announced = std::max(result.header.SampleCount, 0);

    const int32_t wanted = std::min(result.announced, kStoreCapacity);
    const QByteArray body = in.read(static_cast<qint64>(wanted) * kRecordSize);
    if (const QString error = ReadError(in); !error.isEmpty()) {
        return OpenFailure(name, error);
    }

    result.loaded = static_cast<int32_t>(body.size() / kRecordSize);
    for (int32_t i = 0; i < result.loaded; ++i) {
        const char* record = body.constData() + i * kRecordSize;
        store.ForceN[i] = Le32At(record);
        store.TimeMs[i] = Le32At(record + 4);
        result.fmaxN = std::max(result.fmaxN, store.ForceN[i]);
    }
    store.Count = result.loaded;

    if (result.loaded < result.announced) {
        result.warning = QStringLiteral("Из файла \"%1\" загружено %2 из %3 отсчётов.")
                             .arg(Shown(name))
                             .arg(result.loaded)
                             .arg(result.announced);
    }
    result.info = MakeInfoTexts(result.header, result.fmaxN);
    result.ok = true;
    return result;
}

}  // namespace records
