// The registration journal of the test under way: it follows Start, every stored sample, Stop,
// Cancel and a save as the recording announces them, and offers a journal found at start-up
// for recovery.
#pragma once

#include <QDate>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "measure/specimen_data.h"

class QWidget;
class TRecording;
class TUserDialogs;

namespace records {

class TRegistrationJournal;

class TRecordingJournal : public QObject {
    Q_OBJECT

  public:
    // The header a registration starting on `date` is journalled with (the specimen's boxes).
    using THeaderAtStart = std::function<TSpecimenData(const QDate& date)>;

    // The journal lives in `folder` (the program's DBCustom). Failures and questions go to
    // `window` through `dialogs`.
    TRecordingJournal(const QString& folder, TRecording& recording, THeaderAtStart headerAtStart,
                      TUserDialogs& dialogs, QWidget* window);
    ~TRecordingJournal() override;

    // The 100 ms timer's pace of disk syncs while no sample comes.
    void Sync();

    // Start-up, once the window is shown: a journal that a killed program or a power loss left
    // behind is offered once for recovery, with the default answer Yes. Yes shows its test as
    // an opened test that can be saved; No sets the journal aside.
    void RecoverRegistration();

  private:
    void Follow();
    void ShowFailure();

    TRecording& recording_;
    THeaderAtStart headerAtStart_;
    TUserDialogs& dialogs_;
    QWidget* window_;
    std::unique_ptr<TRegistrationJournal> journal_;
};

}  // namespace records
