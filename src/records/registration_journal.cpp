#include "records/registration_journal.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <cerrno>
#include <utility>

#include "platform/file_attributes.h"
#include "platform/little_endian.h"
#include "platform/regular_file.h"
#include "records/journal_folder.h"
#include "records/test_file.h"

namespace records {

namespace {

const QByteArray kJournalName(kJournalFileName);

QString Shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

}  // namespace

std::chrono::milliseconds TRegistrationJournal::SteadyNow() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

TRegistrationJournal::TRegistrationJournal(const QString& folder, TClock clock)
    : folderPath_(folder), path_(JournalPath(folder)), clock_(std::move(clock)) {}

TRegistrationJournal::~TRegistrationJournal() {
    End(true);
}

bool TRegistrationJournal::TakeOver(const TFileId& file) {
    return !file_.IsOpen() && OpenFolder(false) == 0 &&
           file_.Adopt(folder_.Get(), kJournalName, file) == 0;
}

void TRegistrationJournal::Begin(const TSpecimenData& header, int32_t periodMs,
                                 const QDateTime& now) {
    SetAside(now);
    header_ = header;
    periodMs_ = periodMs;
    count_ = 0;
    headerCount_ = 0;
    lastSync_ = clock_();
    if (file_.IsOpen()) {
        return;  // the last journal could not be set aside (said so), and is not overwritten
    }
    if (const int error = OpenFolder(true); error != 0) {
        return FailWriting(error);
    }
    const int error = CreateFile(now);
    if (error == EWOULDBLOCK) {
        return Report(QStringLiteral("Журнал регистрации \"%1\" ведёт другая копия программы. "
                                     "Эта регистрация в журнал не записывается, испытание можно "
                                     "сохранить как обычно.")
                          .arg(Shown(path_)));
    }
    if (error != 0) {
        return FailWriting(error);
    }
    TSpecimenData image = header;
    image.SampleCount = 0;
    auto bytes = image.ToBytes();
    const bool periodFits = periodMs > 0 && periodMs <= 0xFFFF;
    platform::PutLe(bytes.data() + kPeriodOffset, periodFits ? static_cast<uint32_t>(periodMs) : 0,
                    2);
    writing_ = true;
    if (const int written = file_.Append(bytes.data(), bytes.size()); written != 0) {
        FailWriting(written);
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
    if (HoldsItsName() && ::unlinkat(folder_.Get(), kJournalName.constData(), 0) != 0 &&
        errno != ENOENT) {
        return Report(QStringLiteral("Не удалось удалить журнал регистрации \"%1\": %2.")
                          .arg(Shown(path_), platform::FileErrorText(errno)));
    }
    file_.Close();
}

QString TRegistrationJournal::SetAside(const QDateTime& now) {
    End(false);
    if (!HoldsItsName()) {
        file_.Close();  // no longer at its name: whoever moved it has it now
        return {};
    }
    // Without a whole sample there is nothing to undo, and a kept copy would only push a real
    // one out of the newest kSetAsideKept.
    if (file_.Size() < TSpecimenData::kImageSize + kRecordSize) {
        Discard();
        return {};
    }
    const TMovedAside moved = MoveAside(folder_.Get(), now);
    if (moved.name.isEmpty()) {
        Report(QStringLiteral("Не удалось переименовать журнал регистрации \"%1\": %2.")
                   .arg(Shown(path_), moved.error));
        return {};
    }
    file_.Close();
    KeepNewestSetAside(folder_.Get(), kSetAsideKept, moved.name);
    return QDir(folderPath_).filePath(moved.name);
}

QString TRegistrationJournal::TakeFailure() {
    return std::exchange(failure_, QString());
}

int TRegistrationJournal::OpenFolder(bool create) {
    if (folder_.IsValid()) {
        return 0;
    }
    // Made in a shared program folder, the folder is the operators' as well.
    if (create) {
        platform::CreateFolder(folderPath_);
    }
    folder_.Reset(::open(QFile::encodeName(folderPath_).constData(),
                         O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    return folder_.IsValid() ? 0 : errno;
}

// The name is taken by a file this journal does not hold: one a copy that is gone left is set
// aside like this copy's own; one a running copy holds stays (EWOULDBLOCK).
int TRegistrationJournal::CreateFile(const QDateTime& now) {
    int error = file_.Create(folder_.Get(), kJournalName);
    if (error == EEXIST) {
        error = file_.Adopt(folder_.Get(), kJournalName, std::nullopt);
        if (error == 0) {
            SetAside(now);
            error = file_.IsOpen() ? EEXIST : file_.Create(folder_.Get(), kJournalName);
        }
    }
    if (error != 0) {
        file_.Close();
    }
    return error;
}

bool TRegistrationJournal::HoldsItsName() const {
    return file_.IsOpen() && file_.IsAt(folder_.Get(), kJournalName);
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
    platform::PutLe(bytes, static_cast<uint32_t>(count_), 4);
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
}

// The file stays open: closing it would wait for a running disk sync, and a failed write may
// come inside a frame's hand-over.
void TRegistrationJournal::FailWriting(int error) {
    // Without a whole sample the file this registration created holds nothing to recover; it
    // goes at once rather than stay half written.
    if (writing_ && count_ == 0 && HoldsItsName()) {
        ::unlinkat(folder_.Get(), kJournalName.constData(), 0);
    }
    writing_ = false;
    Report(QStringLiteral("Журнал регистрации \"%1\" больше не записывается: %2. "
                          "Регистрация продолжается, испытание можно сохранить как обычно.")
               .arg(Shown(path_), platform::FileErrorText(error)));
}

void TRegistrationJournal::FailSettling(int error) {
    settling_ = false;
    Report(QStringLiteral("Журнал регистрации \"%1\" не записан на диск: %2. "
                          "Испытание можно сохранить как обычно.")
               .arg(Shown(path_), platform::FileErrorText(error)));
}

void TRegistrationJournal::Report(const QString& text) {
    if (failure_.isEmpty() && !told_.contains(text)) {
        failure_ = text;
        told_ << text;
    }
}

}  // namespace records
