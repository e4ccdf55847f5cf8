// The archive of the window's saved tests: every save is entered on the archive's own thread,
// and what the operator must know of the archive comes as a notice that does not wait for an
// answer, never while a registration runs.
#include <QDateTime>
#include <utility>

#include "app/main.h"
#include "archive/archive_recorder.h"
#include "archive/archive_settings.h"
#include "config/config.h"
#include "measure/recording.h"
#include "measure/registration_panel.h"
#include "ui/user_dialogs.h"

void TMainForm::ConnectArchive() {
    archive_ = new archive::TArchiveRecorder(archive::ReadArchiveSettings(), this);
    connect(recording_, &TRecording::TestSaved, archive_, [this](const QString& path) {
        archive_->Submit({.path = path,
                          .savedAt = QDateTime::currentDateTimeUtc(),
                          .periodMs = recording_->Store().PeriodMs,
                          .operatorName = INI_FILE_DATA.NAME,
                          .machine = INI_FILE_DATA.MACHINE,
                          .serNum = INI_FILE_DATA.SER_NUM});
    });
    for (const auto signal :
         {&archive::TArchiveRecorder::Unavailable, &archive::TArchiveRecorder::Restored,
          &archive::TArchiveRecorder::NotArchived}) {
        connect(archive_, signal, this, &TMainForm::TellOfArchive);
    }
    connect(recording_, &TRecording::RegistrationStopped, this, [this] {
        for (const QString& text : std::exchange(archiveNotices_, {})) {
            dialogs_.Notice(this, text);
        }
    });
}

void TMainForm::TellOfArchive(const QString& text) {
    if (registrationPanel_->Registering()) {
        archiveNotices_ << text;
    } else {
        dialogs_.Notice(this, text);
    }
}
