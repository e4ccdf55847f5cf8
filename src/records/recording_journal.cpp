#include "records/recording_journal.h"

#include <QDateTime>
#include <QTimer>
#include <QWidget>

#include "measure/recording.h"
#include "records/journal_recovery.h"
#include "records/registration_journal.h"
#include "ui/user_dialogs.h"

namespace records {

TRecordingJournal::TRecordingJournal(const QString& folder, TRecording& recording,
                                     THeaderAtStart headerAtStart, TUserDialogs& dialogs,
                                     QWidget* window)
    : QObject(window),
      recording_(recording),
      headerAtStart_(std::move(headerAtStart)),
      dialogs_(dialogs),
      window_(window),
      journal_(std::make_unique<TRegistrationJournal>(folder)) {
    Follow();
}

TRecordingJournal::~TRecordingJournal() = default;

void TRecordingJournal::Follow() {
    connect(&recording_, &TRecording::RegistrationStarted, this, [this] {
        const QDateTime now = QDateTime::currentDateTime();
        journal_->Begin(headerAtStart_(now.date()), recording_.Store().PeriodMs, now);
        ShowFailure();
    });
    connect(&recording_, &TRecording::SampleAppended, this, [this] {
        const TSampleStore& store = recording_.Store();
        const int32_t stored = store.Count - 1;
        journal_->Append(store.ForceN[stored], store.TimeMs[stored]);
        ShowFailure();
    });
    connect(&recording_, &TRecording::RegistrationStopped, this, [this] {
        journal_->Close();
        ShowFailure();
    });
    // Cancel throws a test away without a question: its journal is kept aside as an undo.
    connect(&recording_, &TRecording::DataCancelled, this, [this](bool registering) {
        const QDateTime now = QDateTime::currentDateTime();
        if (registering) {
            journal_->Restart(now);
        } else {
            journal_->SetAside(now);
        }
        ShowFailure();
    });
    connect(&recording_, &TRecording::TestSaved, this, [this] {
        journal_->Discard();
        ShowFailure();
    });
}

void TRecordingJournal::Sync() {
    journal_->Sync();
    ShowFailure();
}

// A sample may fail inside a frame's hand-over, where the receiver waits: the notice comes from
// the event loop. It does not wait for an answer, so the operator can stop a registration with
// it on the screen. The journal reports a failure once.
void TRecordingJournal::ShowFailure() {
    const QString failure = journal_->TakeFailure();
    if (!failure.isEmpty()) {
        QTimer::singleShot(0, this, [this, failure] { dialogs_.Notice(window_, failure); });
    }
}

void TRecordingJournal::RecoverRegistration() {
    const TJournalRead left = ReadJournal(journal_->Path());
    const TJournalScan& scan = left.scan;
    // A journal another copy records into is that copy's: not a word about it here.
    if (!scan.Present || scan.Locked) {
        return;
    }
    if (!scan.Error.isEmpty()) {
        dialogs_.Message(window_, scan.Error);
        return;
    }
    // Taken over by another copy since it was read, or no longer at its name.
    if (!journal_->TakeOver(left.file)) {
        return;
    }
    if (!scan.Offered()) {
        journal_->Discard();
    } else if (!dialogs_.Question(window_, RecoveryQuestion(scan))) {
        journal_->SetAside(QDateTime::currentDateTime());
    } else {
        const TOpenedTest recovered = RecoverJournal(left, recording_.StoreToFill());
        if (recovered.ok) {
            recording_.Loaded(recovered.header, true);
        } else {
            dialogs_.Message(window_, recovered.error);
        }
    }
    ShowFailure();
}

}  // namespace records
