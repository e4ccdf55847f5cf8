// Creation and closing of the main window, its status bar, and the routing of control events.
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QTimer>

#include "about/help_viewer.h"
#include "app/main.h"
#include "chart/chart.h"
#include "config/config.h"
#include "link/ktcom.h"

TMainForm* MainForm = nullptr;

namespace {

void PumpMessages() {
    QCoreApplication::processEvents();
}

}  // namespace

TMainForm::TMainForm(std::unique_ptr<TUserDialogs> dialogs)
    : dialogs_(dialogs ? std::move(dialogs) : MakeDesktopDialogs()) {
    MainForm = this;
    BuildLayout();
    ConnectHandlers();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    helpViewer_ = new THelpViewer(this);

    ReadIniFile();
    KTCOM = new TKTCOM(*this);
    OpenLinkPort(INI_FILE_DATA.LINK_PORT);
    btProtocol->setEnabled(false);
    btSaveTest->setEnabled(false);
    Measure.Force = 0;
    Measure.Rate = 0;
    Measure.Rmax = 0;
    Measure.MaxForce = 0;
    Measure.Watchdog = 0;
    Tm->start();
    cbPeriod->setCurrentIndex(0);
    btCancel->click();
}

TMainForm::~TMainForm() {
    // A window that was never shown and closed still releases the link in order.
    FormClose();
    if (MainForm == this) {
        MainForm = nullptr;
    }
}

void TMainForm::ConnectHandlers() {
    connect(btStart, &QPushButton::clicked, this, &TMainForm::btStartClick);
    connect(btStop, &QPushButton::clicked, this, &TMainForm::btStopClick);
    connect(btCancel, &QPushButton::clicked, this, &TMainForm::btCancelClick);
    connect(Tm, &QTimer::timeout, this, &TMainForm::TmTimer);

    connect(Button1, &QPushButton::clicked, this, &TMainForm::Button1Click);
    connect(btRight, &QPushButton::clicked, this, &TMainForm::btRightClick);
    connect(Button3, &QPushButton::clicked, this, &TMainForm::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TMainForm::Button4Click);
    connect(chrtSignTraces, &TChart::Zoomed, this, &TMainForm::chrtSignTracesZoom);
    connect(chrtSignTraces, &TChart::UndoZoomed, this, &TMainForm::chrtSignTracesUndoZoom);
    connect(chrtSignTraces, &TChart::WheelDown, this, &TMainForm::chrtSignTracesMouseWheelDown);
    connect(chrtSignTraces, &TChart::WheelUp, this, &TMainForm::chrtSignTracesMouseWheelUp);
    connect(chrtSignTraces, &TChart::MouseMoved, this, &TMainForm::chrtSignTracesMouseMove);
    for (QWidget* area : {static_cast<QWidget*>(Panel2), static_cast<QWidget*>(Panel3),
                          static_cast<QWidget*>(gbControl), static_cast<QWidget*>(gbTestSpec)}) {
        area->setMouseTracking(true);
        area->installEventFilter(this);
    }

    connect(btSaveTest, &QPushButton::clicked, this, &TMainForm::btSaveTestClick);
    connect(btOpenTest, &QPushButton::clicked, this, &TMainForm::btOpenTestClick);
    connect(btToExel, &QPushButton::clicked, this, &TMainForm::btToExelClick);
    connect(btProtocol, &QPushButton::clicked, this, &TMainForm::btProtocolClick);

    connect(mnPort1, &QAction::triggered, this, &TMainForm::mnPort1Click);
    connect(mnPort2, &QAction::triggered, this, &TMainForm::mnPort2Click);
    connect(mnPort3, &QAction::triggered, this, &TMainForm::mnPort3Click);
    connect(mnExit, &QAction::triggered, this, &TMainForm::mnExitClick);
    connect(mnConfig, &QAction::triggered, this, &TMainForm::mnConfigClick);
    connect(mnHelp, &QAction::triggered, this, &TMainForm::mnHelpClick);
    connect(mnAbout, &QAction::triggered, this, &TMainForm::mnAboutClick);
}

void TMainForm::SetStatusPanel(int8_t index, const QString& text) {
    if (index >= 0 && index < static_cast<int>(stBarPanels.size())) {
        stBarPanels[index]->setText(text);
    }
}

QString TMainForm::StatusPanelText(int index) const {
    return stBarPanels.at(index)->text();
}

void TMainForm::mnExitClick() {
    close();
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
    chrtSignTraces->Series().SetActive(false);
    Tm->stop();
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
    if (watched == edSQR) {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            // Only keys that type a character reach the filter; Delete and the arrows do not,
            // and Tab still moves the focus on.
            const bool moves = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
            if (key->text().size() == 1 && key->key() != Qt::Key_Delete && !moves) {
                return !edSQRKeyPress(key->text().at(0));
            }
        } else if (event->type() == QEvent::FocusOut) {
            edSQRExit();
        }
        return false;
    }
    if (event->type() == QEvent::MouseMove) {
        Panel2MouseMove();
    }
    return false;
}
