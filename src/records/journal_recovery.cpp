#include "records/journal_recovery.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <QDir>
#include <QStringList>
#include <algorithm>
#include <cerrno>

#include "platform/regular_file.h"
#include "platform/unique_fd.h"

#include "platform/little_endian.h"
#include "records/info_texts.h"
#include "records/registration_journal.h"

namespace records {

namespace {

constexpr qint64 kMaxJournalBytes =
    TSpecimenData::kImageSize + static_cast<qint64>(kRecordSize) * kStoreCapacity;

QString Shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

int32_t AllowedHeaderLag(int32_t periodMs) {
    return static_cast<int32_t>(2 * TRegistrationJournal::kSyncInterval.count() / periodMs + 1);
}

// The samples that continue the registration's sequence, and the damage where one does not.
int32_t SamplesInSequence(const char* records, int32_t count, int32_t periodMs,
                          QStringList& damage) {
    for (int32_t i = 0; i < count; ++i) {
        const int32_t time = RecordTime(records + static_cast<ptrdiff_t>(i) * kRecordSize);
        const int64_t expected = static_cast<int64_t>(i) * periodMs;
        if (time != expected) {
            damage << QStringLiteral(
                          "время отсчёта %1 равно %2 мс вместо %3 мс, с него запись "
                          "не восстановлена")
                          .arg(i + 1)
                          .arg(time)
                          .arg(expected);
            return i;
        }
    }
    return count;
}

// `size` is the length of the file, of which `bytes` holds the start.
TJournalScan Examine(const QByteArray& bytes, qint64 size) {
    TJournalScan scan;
    scan.Present = true;
    if (size < TSpecimenData::kImageSize) {
        scan.Damage = QStringLiteral("заголовок неполный: %1 из 120 байт").arg(size);
        return scan;
    }
    const auto* head = reinterpret_cast<const uint8_t*>(bytes.constData());
    scan.Header = TSpecimenData::FromBytes(head);
    scan.Header.TerminateTexts();
    scan.Announced = scan.Header.SampleCount;
    scan.PeriodMs =
        static_cast<int32_t>(platform::GetLe(head + TRegistrationJournal::kPeriodOffset, 2));

    QStringList damage;
    const qint64 body = size - TSpecimenData::kImageSize;
    const qint64 whole = body / kRecordSize;
    if (body % kRecordSize != 0) {
        damage << QStringLiteral("последний отсчёт записан не полностью");
    }
    if (whole > kStoreCapacity) {
        damage << QStringLiteral("отсчётов больше 32767, лишние не восстановлены");
    }
    const bool countWrong = scan.Announced > whole || scan.Announced < 0;
    const bool countBehind =
        scan.PeriodMs > 0 && whole - scan.Announced > AllowedHeaderLag(scan.PeriodMs);
    if (countWrong || countBehind) {
        damage
            << QStringLiteral("в заголовке %1 отсчётов, в файле %2").arg(scan.Announced).arg(whole);
    }
    scan.Samples = static_cast<int32_t>(std::min<qint64>(whole, kStoreCapacity));
    const char* records = bytes.constData() + TSpecimenData::kImageSize;
    if (scan.PeriodMs == 0) {
        damage << QStringLiteral("в заголовке нет периода регистрации");
    } else {
        scan.Samples = SamplesInSequence(records, scan.Samples, scan.PeriodMs, damage);
    }
    scan.Damage = damage.join(QStringLiteral("; "));
    return scan;
}

}  // namespace

TJournalRead ReadJournal(const QString& path) {
    TJournalRead read;
    read.path = path;
    int error = 0;
    const platform::TUniqueFd fd = platform::OpenRegularFile(path, O_RDONLY, error);
    struct stat info = {};
    if (fd.IsValid() && ::fstat(fd.Get(), &info) != 0) {
        error = errno;
    }
    // No journal: none at its name, or no DBCustom folder to hold one (a file in its place).
    if (error == ENOENT || error == ENOTDIR) {
        return read;
    }
    platform::TFileRead content;
    if (error == 0) {
        read.file = IdOf(info);
        // A copy recording into the journal holds its lock; a shared one taken here would stop
        // a copy taking the journal over while it is read.
        read.scan.Locked = ::flock(fd.Get(), LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
        content = platform::ReadOpenFile(fd.Get(), kMaxJournalBytes);
        error = content.error;
    }
    if (error != 0) {
        read.scan.Present = true;
        read.scan.Error = QStringLiteral("Не удалось прочитать журнал регистрации \"%1\": %2")
                              .arg(Shown(path), platform::FileErrorText(error));
        return read;
    }
    // A file that ended before the limit is as long as what was read, even if it shrank.
    const qint64 size =
        content.bytes.size() < kMaxJournalBytes ? content.bytes.size() : content.size;
    const bool locked = read.scan.Locked;
    read.scan = Examine(content.bytes, size);
    read.scan.Locked = locked;
    read.bytes = content.bytes;
    return read;
}

TJournalScan ScanJournal(const QString& path) {
    return ReadJournal(path).scan;
}

TOpenedTest RecoverJournal(const QString& path, TSampleStore& store) {
    return RecoverJournal(ReadJournal(path), store);
}

TOpenedTest RecoverJournal(const TJournalRead& read, TSampleStore& store) {
    const QString& path = read.path;
    const TJournalScan& scan = read.scan;
    TOpenedTest result;
    if (!scan.Error.isEmpty()) {
        result.error = scan.Error;
        return result;
    }
    if (scan.Samples == 0) {
        result.error = QStringLiteral("В журнале регистрации \"%1\" нет ни одного целого отсчёта.")
                           .arg(Shown(path));
        return result;
    }
    result.header = scan.Header;
    result.announced = std::max(scan.Announced, 0);
    result.loaded = scan.Samples;
    result.fmaxN =
        LoadRecords(read.bytes.constData() + TSpecimenData::kImageSize, scan.Samples, store);
    result.info = MakeInfoTexts(result.header, result.fmaxN);
    if (!scan.Damage.isEmpty()) {
        result.warning =
            QStringLiteral("Журнал регистрации \"%1\" повреждён (%2). Восстановлено отсчётов: %3.")
                .arg(Shown(path), scan.Damage, QString::number(scan.Samples));
    }
    result.ok = true;
    return result;
}

QString RecoveryQuestion(const TJournalScan& scan) {
    // One arg() for all three: a "%1" in the test's name stays as it was typed.
    QString question = QStringLiteral("Найдено несохранённое испытание «%1» от %2, отсчётов: %3.\n")
                           .arg(scan.Header.TestNameString(), scan.Header.DateString(),
                                QString::number(scan.Samples));
    if (!scan.Damage.isEmpty()) {
        question += QStringLiteral(
                        "Журнал регистрации повреждён (%1): восстановить можно только "
                        "целые отсчёты.\n")
                        .arg(scan.Damage);
    }
    return question + QStringLiteral("Восстановить испытание?");
}

}  // namespace records
