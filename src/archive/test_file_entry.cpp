#include "archive/test_file_entry.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <cstring>

#include "platform/regular_file.h"
#include "records/info_texts.h"
#include "records/test_file.h"

namespace archive {
namespace {

TTestFileEntry Refused(const QString& reason) {
    TTestFileEntry result;
    result.reason = reason;
    return result;
}

bool HasSignature(const TSpecimenData& header) {
    return std::memcmp(header.Signature.data(), TSpecimenData::kSignature,
                       std::strlen(TSpecimenData::kSignature) + 1) == 0;
}

// What is wrong with the file's layout, or nothing: the signature, then exactly the announced
// number of whole records.
QString LayoutFault(const QByteArray& bytes, qint64 size) {
    if (size > kLargestTestFile) {
        return QStringLiteral("файл длиннее самого длинного испытания (%1 байт)")
            .arg(kLargestTestFile);
    }
    if (size < TSpecimenData::kImageSize) {
        return QStringLiteral("файл короче заголовка испытания (120 байт)");
    }
    const TSpecimenData header =
        TSpecimenData::FromBytes(reinterpret_cast<const uint8_t*>(bytes.constData()));
    if (!HasSignature(header)) {
        return QStringLiteral("это не файл испытания: нет подписи «K-Tor. file v.3»");
    }
    if (header.SampleCount < 0 || header.SampleCount > kStoreCapacity) {
        return QStringLiteral("в заголовке неверное число отсчётов (%1)").arg(header.SampleCount);
    }
    const qint64 expected =
        TSpecimenData::kImageSize + static_cast<qint64>(records::kRecordSize) * header.SampleCount;
    if (size != expected || bytes.size() != size) {
        return QStringLiteral(
                   "файл повреждён: его длина %1, а по числу отсчётов в заголовке (%2) "
                   "должна быть %3 байт")
            .arg(size)
            .arg(header.SampleCount)
            .arg(expected);
    }
    return {};
}

// The period when every time is its sample's number times one step, as a registration stores
// them.
std::optional<int> StepOfTimes(const TSampleStore& store) {
    if (store.Count < 2 || store.TimeMs[1] <= 0) {
        return std::nullopt;
    }
    const int32_t step = store.TimeMs[1];
    for (int32_t i = 0; i < store.Count; ++i) {
        if (store.TimeMs[i] != static_cast<int64_t>(i) * step) {
            return std::nullopt;
        }
    }
    return step;
}

// The results as opening the file computes them: the largest stored force, the information
// panel's texts, the area's number.
void FillResults(const TSpecimenData& header, int32_t fmaxN, TArchiveEntry& entry) {
    const TInfoTexts info = records::MakeInfoTexts(header, fmaxN);
    entry.testDate = info.Date;
    entry.testName = info.Test;
    entry.marking = info.Mark;
    entry.sampleType = info.Type;
    entry.areaText = info.SQR;
    entry.forceScale = header.ForceScale;
    entry.sampleCount = header.SampleCount;
    entry.fmaxN = fmaxN;
    entry.fmaxKn = fmaxN * 0.001;
    entry.fmaxText = info.Fmax;
    entry.rmaxText = info.Rmax;
    double area = 0;
    if (records::ParseArea(entry.areaText, &area)) {
        entry.areaMm2 = area;
        if (area > 0) {
            entry.rmax = fmaxN / area;
        }
    }
}

}  // namespace

QString ArchivedPath(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QString Sha256Hex(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

TTestFileEntry EntryFromBytes(const QString& path, const QByteArray& bytes, qint64 size,
                              TSampleStore& scratch) {
    if (const QString fault = LayoutFault(bytes, size); !fault.isEmpty()) {
        return Refused(fault);
    }
    // The layout is whole: exactly the announced records follow the header.
    TSpecimenData header =
        TSpecimenData::FromBytes(reinterpret_cast<const uint8_t*>(bytes.constData()));
    header.TerminateTexts();
    const int32_t fmaxN = records::LoadRecords(bytes.constData() + TSpecimenData::kImageSize,
                                               header.SampleCount, scratch);
    TTestFileEntry result;
    result.ok = true;
    result.entry.filePath = ArchivedPath(path);
    result.entry.fileSize = size;
    result.entry.sha256 = Sha256Hex(bytes);
    result.entry.periodMs = StepOfTimes(scratch);
    FillResults(header, fmaxN, result.entry);
    return result;
}

TTestFileEntry EntryFromTestFile(const QString& path, TSampleStore& scratch) {
    int error = 0;
    const platform::TUniqueFd fd = platform::OpenRegularFile(path, O_RDONLY, error);
    struct stat info = {};
    if (fd.IsValid() && ::fstat(fd.Get(), &info) != 0) {
        error = errno;
    }
    if (error != 0) {
        return Refused(platform::FileErrorText(error));
    }
    // One byte past the longest test shows a longer file for what it is without reading it all.
    const platform::TFileRead read = platform::ReadOpenFile(fd.Get(), kLargestTestFile + 1);
    if (read.error != 0) {
        return Refused(platform::FileErrorText(read.error));
    }
    TTestFileEntry result = EntryFromBytes(path, read.bytes, read.size, scratch);
    result.modified = QDateTime::fromMSecsSinceEpoch(
        info.st_mtim.tv_sec * 1000LL + info.st_mtim.tv_nsec / 1000000, Qt::UTC);
    result.owner = info.st_uid;
    return result;
}

}  // namespace archive
