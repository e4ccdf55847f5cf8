// Creation and closing of the main window, and what its panels ask of one another.
#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QThread>

#include "about/help_viewer.h"
#include "app/main.h"
#include "chart/chart.h"
#include "config/config.h"
#include "link/ktcom.h"
#include "link/link_panel.h"
#include "measure/chart_panel.h"
#include "measure/recording.h"
#include "measure/registration_panel.h"
#include "platform/program_dir.h"
#include "records/recording_journal.h"
#include "records/records_panel.h"

TMainForm* MainForm = nullptr;

namespace {

void PumpMessages() {
    QCoreApplication::processEvents();
}

}  // namespace

TMainForm::TMainForm(TUserDialogs& dialogs) : dialogs_(dialogs) {
    MainForm = this;
    recording_ = new TRecording(this);
    BuildLayout();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    helpViewer_ = new THelpViewer(this);

    ReadIniFile();
    KTCOM = new TKTCOM(*this);
    BuildLinkPanel();
    link_->OpenLinkPort(INI_FILE_DATA.LINK_PORT);
    TControlStates nothingToPrintOrSave;
    nothingToPrintOrSave.Protocol = false;
    nothingToPrintOrSave.SaveTest = false;
    records_->Apply(nothingToPrintOrSave);
    registrationPanel_->StartTimer();
    registrationPanel_->SelectFirstPeriod();
    registrationPanel_->ClickCancel();
    // After the creation's Cancel, which leaves a journal of an earlier run to the recovery.
    journal_ = new records::TRecordingJournal(
        platform::ProgramDir() + QStringLiteral("DBCustom"), *recording_,
        [this](const QDate& date) { return records_->EnteredHeader(date, 0); }, dialogs_, this);
    connect(registrationPanel_, &TRegistrationPanel::TimerTicked, journal_,
            &records::TRecordingJournal::Sync);
    ConnectArchive();
}

TMainForm::~TMainForm() {
    // A window that was never shown and closed still releases the link in order.
    FormClose();
    if (MainForm == this) {
        MainForm = nullptr;
    }
}

void TMainForm::ProcessFrame() {
    registrationPanel_->ProcessFrame(KTCOM->Frame);
}

void TMainForm::WatchdogTick() {
    registrationPanel_->WatchdogTick();
}

void TMainForm::RecoverRegistration() {
    journal_->RecoverRegistration();
}

void TMainForm::OpenTest(const QString& path) {
    records_->OpenTest(path);
}

// Start, Stop and Cancel reach the records' buttons, the information panel and the menu.
void TMainForm::ApplyControlStates(const TControlStates& states) {
    records_->Apply(states);
    if (states.ConfigMenu) {
        N2->menuAction()->setEnabled(*states.ConfigMenu);
    }
}

void TMainForm::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TMainForm::FormClose() {
    if (closed_) {
        return;
    }
    closed_ = true;
    chart_->Chart().Series().SetActive(false);
    registrationPanel_->StopTimer();
    PumpMessages();
    if (KTCOM) {
        KTCOM->SetReceiving(false);
    }
    for (int pass = 0; pass < 2; ++pass) {
        QThread::msleep(50);
        PumpMessages();
    }
    delete KTCOM;
    KTCOM = nullptr;
    PumpMessages();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        chart_->Panel2MouseMove();
    }
    return QMainWindow::eventFilter(watched, event);
}
