#include "records/test_file.h"

#include <QBuffer>
#include <QDir>
#include <algorithm>
#include <numeric>

#include "platform/file_replace.h"
#include "platform/little_endian.h"
#include "platform/regular_file.h"

namespace records {

namespace {

int32_t Le32At(const char* at) {
    return static_cast<int32_t>(platform::GetLe32(reinterpret_cast<const uint8_t*>(at)));
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

TRecordBytes RecordBytes(int32_t forceN, int32_t timeMs) {
    TRecordBytes record{};
    auto* bytes = reinterpret_cast<uint8_t*>(record.data());
    platform::PutLe(bytes, static_cast<uint32_t>(forceN), 4);
    platform::PutLe(bytes + 4, static_cast<uint32_t>(timeMs), 4);
    return record;
}

int32_t RecordForce(const char* record) {
    return Le32At(record);
}

int32_t RecordTime(const char* record) {
    return Le32At(record + 4);
}

int32_t LargestStoredForce(const TSampleStore& store) {
    const auto end = store.ForceN.begin() + std::clamp(store.Count, 0, kStoreCapacity);
    return std::accumulate(store.ForceN.begin(), end, int32_t{0},
                           [](int32_t largest, int32_t force) { return std::max(largest, force); });
}

int32_t LoadRecords(const char* records, int32_t count, TSampleStore& store) {
    for (int32_t i = 0; i < count; ++i) {
        const char* record = records + static_cast<ptrdiff_t>(i) * kRecordSize;
        store.ForceN[i] = RecordForce(record);
        store.TimeMs[i] = RecordTime(record);
    }
    store.Count = count;
    return LargestStoredForce(store);
}

TFileResult SaveTestFile(const QString& path, const TSpecimenData& header,
                         const TSampleStore& store) {
    const int32_t count = std::clamp(store.Count, 0, kStoreCapacity);
    TSpecimenData written = header;
    written.SampleCount = count;
    const auto image = written.ToBytes();

    QByteArray bytes(reinterpret_cast<const char*>(image.data()), image.size());
    bytes.reserve(image.size() + count * kRecordSize);
    for (int32_t i = 0; i < count; ++i) {
        const TRecordBytes record = RecordBytes(store.ForceN[i], store.TimeMs[i]);
        bytes.append(record.data(), kRecordSize);
    }

    TFileResult result;
    const QString reason = platform::WriteWholeFile(path, bytes);
    result.ok = reason.isEmpty();
    if (!result.ok) {
        result.error = QStringLiteral("Не удалось сохранить испытание в файл \"%1\": %2")
                           .arg(Shown(path), reason);
    }
    return result;
}

TOpenedTest OpenTestFile(const QString& path, TSampleStore& store) {
    // More than the header and a full store never counts, whatever the file's length.
    constexpr qint64 kLargestTest =
        TSpecimenData::kImageSize + static_cast<qint64>(kRecordSize) * kStoreCapacity;
    platform::TFileRead file = platform::ReadRegularFile(path, kLargestTest);
    if (file.error != 0) {
        return OpenFailure(path, platform::FileErrorText(file.error));
    }
    QBuffer bytes(&file.bytes);
    bytes.open(QIODevice::ReadOnly);
    return ReadTest(bytes, path, store);
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
    result.fmaxN = LoadRecords(body.constData(), result.loaded, store);

    if (result.loaded < result.announced) {
        // One arg() for all three: a "%2" in a folder's name stays as it is.
        result.warning = QStringLiteral("Из файла \"%1\" загружено %2 из %3 отсчётов.")
                             .arg(Shown(name), QString::number(result.loaded),
                                  QString::number(result.announced));
    }
    result.info = MakeInfoTexts(result.header, result.fmaxN);
    result.ok = true;
    return result;
}

}  // namespace records
