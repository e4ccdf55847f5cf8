#include "records/registration_journal.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <utility>

#include "records/journal_folder.h"
#include "records/little_endian.h"
#include "records/test_file.h"

namespace records {

namespace {

QString Reason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

QString Shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

}  // namespace

std::chrono::milliseconds TRegistrationJournal::SteadyNow() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

TRegistrationJournal::TRegistrationJournal(const QString& folder, TClock clock)
    : folder_(folder), path_(JournalPath(folder)), clock_(std::move(clock)) {}

TRegistrationJournal::~TRegistrationJournal() {
    End(true);
}

void TRegistrationJournal::Begin(const TSpecimenData& header, int32_t periodMs,
                                 const QDateTime& now) {
    SetAside(now);
    header_ = header;
    periodMs_ = periodMs;
    count_ = 0;
    headerCount_ = 0;
    lastSync_ = clock_();

    if (mkdir(QFile::encodeName(folder_).constData(), 0777) != 0 && errno != EEXIST) {
        return FailWriting(errno);
    }
    if (const int error = file_.Create(path_); error != 0) {
        return FailWriting(error);
    }
    TSpecimenData image = header;
    image.SampleCount = 0;
    auto bytes = image.ToBytes();
    const bool periodFits = periodMs > 0 && periodMs <= 0xFFFF;
    PutLe(bytes.data() + kPeriodOffset, periodFits ? static_cast<uint32_t>(periodMs) : 0, 2);
    writing_ = true;
    if (const int error = file_.Append(bytes.data(), bytes.size()); error != 0) {
        FailWriting(error);
    }
}

void TRegistrationJournal::Append(int32_t forceN, int32_t timeMs) {
    if (!writing_) {
        return;
    }
    const TRecordBytes record = RecordBytes(forceN, timeMs);
    if (const int error = file_.Append(record.data(), record.size()); error != 0) {
        return FailWriting(error);
    }
    ++count_;
    KeepPace();
}

void TRegistrationJournal::Sync() {
    if (writing_) {
        KeepPace();
    } else if (settling_) {
        // A sync that was still running at Close leaves the last one owed: it starts here.
        if (const int error = file_.Poll(); error != 0) {
            FailSettling(error);
        }
    }
}

void TRegistrationJournal::Close() {
    if (!writing_) {
        return;
    }
    UpdateHeader();
    if (!writing_) {
        return;
    }
    writing_ = false;
    settling_ = true;
    if (const int error = file_.RequestDiskSync(); error != 0) {
        FailSettling(error);
    }
}

void TRegistrationJournal::Restart(const QDateTime& now) {
    const bool wasWriting = writing_;
    SetAside(now);
    if (wasWriting) {
        Begin(header_, periodMs_, now);
    }
}

void TRegistrationJournal::Discard() {
    End(false);
    if (unlink(QFile::encodeName(path_).constData()) != 0 && errno != ENOENT) {
        Report(QStringLiteral("Не удалось удалить журнал регистрации \"%1\": %2.")
                   .arg(Shown(path_), Reason(errno)));
    }
}

QString TRegistrationJournal::SetAside(const QDateTime& now) {
    End(false);
    const QFileInfo journal(path_);
    if (!journal.exists()) {
        return {};
    }
    // Without a whole sample there is nothing to undo, and a kept copy would only push a real
    // one out of the newest kSetAsideKept.
    if (journal.size() < TSpecimenData::kImageSize + kRecordSize) {
        Discard();
        return {};
    }
    const TMovedAside moved = MoveAside(path_, now);
    if (moved.path.isEmpty()) {
        Report(QStringLiteral("Не удалось переименовать журнал регистрации \"%1\": %2.")
                   .arg(Shown(path_), moved.error));
        return {};
    }
    KeepNewestSetAside(folder_, kSetAsideKept);
    return moved.path;
}

QString TRegistrationJournal::TakeFailure() {
    return std::exchange(failure_, QString());
}

void TRegistrationJournal::KeepPace() {
    if (const int error = file_.Poll(); error != 0) {
        return FailWriting(error);
    }
    const std::chrono::milliseconds now = clock_();
    if (count_ == headerCount_ || now - lastSync_ < kSyncInterval) {
        return;
    }
    lastSync_ = now;
    UpdateHeader();
    if (!writing_) {
        return;
    }
    ++diskSyncs_;
    if (const int error = file_.RequestDiskSync(); error != 0) {
        FailWriting(error);
    }
}

void TRegistrationJournal::UpdateHeader() {
    if (count_ == headerCount_) {
        return;
    }
    uint8_t bytes[4];
    PutLe(bytes, static_cast<uint32_t>(count_), 4);
    if (const int error = file_.WriteAt(TSpecimenData::kSampleCountOffset, bytes, 4); error != 0) {
        return FailWriting(error);
    }
    headerCount_ = count_;
}

void TRegistrationJournal::End(bool toDisk) {
    if (writing_) {
        UpdateHeader();
    }
    if (toDisk && (writing_ || settling_)) {
        if (const int error = file_.SyncNow(); error != 0) {
            writing_ ? FailWriting(error) : FailSettling(error);
        }
    }
    writing_ = false;
    settling_ = false;
    file_.Close();
}

// The file stays open until the next End: closing it would wait for a running disk sync, and a
// failed write may come inside a frame's hand-over.
void TRegistrationJournal::FailWriting(int error) {
    writing_ = false;
    // Without a whole sample the file holds nothing to recover; it goes at once rather than stay
    // half written. Only a file this journal created is open, so no other is removed.
    if (count_ == 0 && file_.IsOpen()) {
        unlink(QFile::encodeName(path_).constData());
    }
    Report(QStringLiteral("Журнал регистрации \"%1\" больше не записывается: %2. "
                          "Регистрация продолжается, испытание можно сохранить как обычно.")
               .arg(Shown(path_), Reason(error)));
}

void TRegistrationJournal::FailSettling(int error) {
    settling_ = false;
    Report(QStringLiteral("Журнал регистрации \"%1\" не записан на диск: %2. "
                          "Испытание можно сохранить как обычно.")
               .arg(Shown(path_), Reason(error)));
}

void TRegistrationJournal::Report(const QString& text) {
    if (failure_.isEmpty()) {
        failure_ = text;
    }
}

}  // namespace records
