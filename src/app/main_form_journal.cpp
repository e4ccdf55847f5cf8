// The registration journal of the window: it follows Start, every stored sample, the timer,
// Stop, Cancel and a save, and a journal found at start-up is offered for recovery.
#include <QDateTime>
#include <QTimer>

#include "app/main.h"
#include "measure/registration_panel.h"
#include "platform/program_dir.h"
#include "records/journal_recovery.h"
#include "records/records_panel.h"
#include "records/registration_journal.h"
#include "ui/user_dialogs.h"

void TMainForm::ConnectJournal() {
    journal_ = std::make_unique<records::TRegistrationJournal>(platform::ProgramDir() +
                                                               QStringLiteral("DBCustom"));
    connect(registrationPanel_, &TRegistrationPanel::RegistrationStarted, this, [this] {
        records_->ForgetRecovered();
        const QDateTime now = QDateTime::currentDateTime();
        journal_->Begin(records_->EnteredHeader(now.date(), 0), store_.PeriodMs, now);
        ShowJournalFailure();
    });
    connect(registrationPanel_, &TRegistrationPanel::SampleStored, this,
            [this](int32_t forceN, int32_t timeMs) {
                journal_->Append(forceN, timeMs);
                ShowJournalFailure();
            });
    connect(registrationPanel_, &TRegistrationPanel::TimerTicked, this, [this] {
        journal_->Sync();
        ShowJournalFailure();
    });
    connect(registrationPanel_, &TRegistrationPanel::RegistrationStopped, this, [this] {
        journal_->Close();
        ShowJournalFailure();
    });
    // Cancel throws a test away without a question: its journal is kept aside as an undo.
    connect(registrationPanel_, &TRegistrationPanel::DataCancelled, this, [this](bool registering) {
        records_->ForgetRecovered();
        const QDateTime now = QDateTime::currentDateTime();
        if (registering) {
            journal_->Restart(now);
        } else {
            journal_->SetAside(now);
        }
        ShowJournalFailure();
    });
    connect(records_, &TRecordsPanel::TestSaved, this, [this] {
        journal_->Discard();
        ShowJournalFailure();
    });
}

// A sample may fail inside a frame's hand-over, where the receiver waits: the notice comes from
// the event loop. It does not wait for an answer, so the operator can stop a registration with
// it on the screen. The journal reports a failure once.
void TMainForm::ShowJournalFailure() {
    const QString failure = journal_->TakeFailure();
    if (!failure.isEmpty()) {
        QTimer::singleShot(0, this, [this, failure] { dialogs_.Notice(this, failure); });
    }
}

void TMainForm::RecoverRegistration() {
    const records::TJournalRead left = records::ReadJournal(journal_->Path());
    const TJournalScan& scan = left.scan;
    // A journal another copy records into is that copy's: not a word about it here.
    if (!scan.Present || scan.Locked) {
        return;
    }
    if (!scan.Error.isEmpty()) {
        dialogs_.Message(this, scan.Error);
        return;
    }
    // Taken over by another copy since it was read, or no longer at its name.
    if (!journal_->TakeOver(left.file)) {
        return;
    }
    if (!scan.Offered()) {
        journal_->Discard();
    } else if (!dialogs_.Question(this, records::RecoveryQuestion(scan))) {
        journal_->SetAside(QDateTime::currentDateTime());
    } else {
        const TOpenedTest recovered = records::RecoverJournal(left, store_);
        if (recovered.ok) {
            records_->ShowRecovered(recovered);
        } else {
            dialogs_.Message(this, recovered.error);
        }
    }
    ShowJournalFailure();
}
