// The journal of a running registration: every stored sample goes at once to a file in the
// test-file layout, so a test survives a killed program or a power loss (minus at most its
// last second), and any copy of the file opens as a test.
//
// The header is the TSpecimenData image of the registration. The registration period (ms,
// 16-bit little-endian) sits in the zero filler after ForceScale, bytes 18-19, which readers of
// test files ignore; 0 there means a period that does not fit. SampleCount follows the records
// once a second, and so does the disk, so a reader of a journal counts whole records by the
// file's length.
//
// A failed write (a full disk, a write-protected or missing folder) never disturbs the
// registration: the journal stops writing and keeps one text for the operator.
//
// Several copies of the program, one per operator's session, may share the folder. The journal
// works on it through the folder's descriptor and holds its own file open and locked from Begin
// until the file is removed or set aside (a Stop keeps it), or the journal ends: it removes or
// renames only that file, and only while the journal's name still is that file. A journal
// another running copy holds is never touched.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <chrono>
#include <cstdint>
#include <functional>

#include "measure/specimen_data.h"
#include "platform/unique_fd.h"
#include "records/journal_file.h"

namespace records {

class TRegistrationJournal {
  public:
    using TClock = std::function<std::chrono::milliseconds()>;  // a steady clock
    static constexpr std::chrono::milliseconds kSyncInterval{1000};
    static constexpr int kPeriodOffset = 18;  // of the period in the header

    static std::chrono::milliseconds SteadyNow();

    // The journal lives in `folder` (the program's DBCustom).
    explicit TRegistrationJournal(const QString& folder, TClock clock = SteadyNow);
    // The header up to date and the data on the disk before the file closes. The file stays: a
    // window closed with an unsaved test keeps it.
    ~TRegistrationJournal();
    TRegistrationJournal(const TRegistrationJournal&) = delete;
    TRegistrationJournal& operator=(const TRegistrationJournal&) = delete;

    QString Path() const { return path_; }

    // Start-up: takes over the journal an earlier run left at the journal's name, the `file`
    // that was read there, unless a running copy holds it. True when this journal holds it now:
    // no other copy offers it, and Discard and SetAside act on it.
    bool TakeOver(const TFileId& file);

    // Start: a new journal with the header and no sample. The journal this one holds from an
    // earlier registration is set aside first (dated `now`), and so is one a copy that is gone
    // left; neither is overwritten. A journal another running copy records into stays as it
    // is, and this registration goes without one (said once). A missing folder is created, its
    // parent is not. Waits once for the folder to reach the disk, so that the new name survives
    // a power loss.
    void Begin(const TSpecimenData& header, int32_t periodMs, const QDateTime& now);
    // A stored sample: one write of its record to the system, and once a second the header's
    // SampleCount and a disk sync in the background. Never waits for the disk: it runs while
    // the receiver waits for the frame's hand-over.
    void Append(int32_t forceN, int32_t timeMs);
    // The window's 100 ms timer keeps that pace while no sample comes, and sees the last disk
    // sync after a Close through.
    void Sync();
    // Stop: the header is brought up to date and the data go to the disk in the background; the
    // file stays for a save or recovery. Never waits for the disk either: the full store stops
    // the registration inside a frame's hand-over.
    void Close();
    // Cancel during a registration: the journal so far is set aside and a new one begins from
    // sample 0 with the same header and period. A journal that failed is only set aside: it
    // stays stopped until the next Begin, so the operator hears of a failure once per
    // registration.
    void Restart(const QDateTime& now);
    // The test is saved: its journal is no longer needed and is removed.
    void Discard();
    // A test thrown away unsaved: its journal is renamed with the date `now` and only the
    // newest kSetAsideKept such journals of this operator stay; one without a whole sample is
    // removed instead. Returns the new path; empty when nothing was moved (a journal that could
    // not be moved stays where it is).
    QString SetAside(const QDateTime& now);

    // The first failure not yet taken, in words for the operator, then empty. A text taken once
    // does not come again while the journal lives: the operator hears of one reason once.
    QString TakeFailure();
    // Disk syncs asked for so far: the pace of the durability.
    int DiskSyncs() const { return diskSyncs_; }

  private:
    int OpenFolder(bool create);
    // Creates the journal's file; a journal a copy that is gone left at the name is set aside.
    int CreateFile(const QDateTime& now);
    bool HoldsItsName() const;
    void KeepPace();
    void UpdateHeader();
    // Ends the writing: the header up to date, with the data on disk when `toDisk`.
    void End(bool toDisk);
    void FailWriting(int error);
    void FailSettling(int error);
    void Report(const QString& text);

    QString folderPath_;
    QString path_;
    platform::TUniqueFd folder_;  // opened once, at the first Begin or TakeOver
    TClock clock_;
    TJournalFile file_;
    TSpecimenData header_;
    int32_t periodMs_ = 0;
    bool writing_ = false;
    bool settling_ = false;  // closed by Stop, its last disk sync may still be owed
    int32_t count_ = 0;
    int32_t headerCount_ = 0;
    std::chrono::milliseconds lastSync_{};
    int diskSyncs_ = 0;
    QString failure_;
    QStringList told_;
};

}  // namespace records
