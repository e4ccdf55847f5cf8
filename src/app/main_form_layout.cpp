// The main window's frames at their places, the panels that fill them, the tab order and the menu.
#include <QAction>
#include <QFrame>
#include <QGroupBox>
#include <QMenuBar>

#include "about/about_pictures.h"
#include "app/main.h"
#include "chart/chart.h"
#include "config/config.h"
#include "link/ktcom.h"
#include "link/link_panel.h"
#include "measure/chart_panel.h"
#include "measure/registration_panel.h"
#include "records/records_panel.h"
#include "ui/widgets.h"

namespace {

constexpr int kClientWidth = 1039;
constexpr int kClientHeight = 664;

}  // namespace

void TMainForm::BuildLayout() {
    setWindowTitle(kMainWindowTitle);
    setWindowIcon(ProgramIcon());
    auto* client = new QWidget(this);
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);
    ui::SetColours(this, palette().color(QPalette::Window).darker(105), Qt::black);

    Panel2 = ui::Named(ui::MakePanel(client, QRect(8, 16, 753, 619), false, QColor()), "Panel2");
    Panel3 = ui::Named(ui::MakePanel(Panel2, QRect(4, 578, 745, 35), true, Qt::white), "Panel3");
    Panel1 = ui::Named(ui::MakePanel(client, QRect(772, 16, 253, 69), false, Qt::black), "Panel1");
    gbControl =
        ui::Named(ui::MakeGroup(client, QStringLiteral(" Управление "), QRect(772, 118, 253, 183)),
                  "gbControl");
    gbTestSpec = ui::Named(
        ui::MakeGroup(client, QStringLiteral(" Исходные данные "), QRect(772, 375, 253, 188)),
        "gbTestSpec");
    // The pointer leaving the chart over these turns the cursor back to the arrow.
    for (QWidget* area : {static_cast<QWidget*>(Panel2), static_cast<QWidget*>(Panel3),
                          static_cast<QWidget*>(gbControl), static_cast<QWidget*>(gbTestSpec)}) {
        area->setMouseTracking(true);
        area->installEventFilter(this);
    }

    BuildPanels();
    BuildMenu();
    SetTabOrder();

    setFixedSize(sizeHint());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
}

// The chart first: it shows a loaded test before the records panel tells of it.
void TMainForm::BuildPanels() {
    QWidget* client = centralWidget();
    chart_ = new TChartPanel(Panel2, Panel3, *recording_, this);
    records_ = new TRecordsPanel({.client = client, .specimenGroup = gbTestSpec}, *recording_,
                                 INI_FILE_DATA, chart_->Chart(), dialogs_, this);
    registrationPanel_ = new TRegistrationPanel(
        {.client = client, .indicators = Panel1, .controlGroup = gbControl, .strip = Panel3},
        *recording_, INI_FILE_DATA, [this] { return records_->AreaText(); }, this);
    connect(registrationPanel_, &TRegistrationPanel::ControlsChanged, this,
            &TMainForm::ApplyControlStates);
}

// The status bar comes with the channel it reports on.
void TMainForm::BuildLinkPanel() {
    link_ = new TLinkPanel(centralWidget(), *KTCOM, dialogs_, this);
    connect(registrationPanel_, &TRegistrationPanel::StatusPanelChanged, link_,
            &TLinkPanel::SetStatusPanel);
}

// Tab goes from the registration's controls through the specimen's boxes to the file buttons.
void TMainForm::SetTabOrder() {
    const char* const order[] = {"cbPeriod",     "btStop",       "btStart",  "edTestName",
                                 "edSampleName", "edSampleType", "edSQR",    "btOpenTest",
                                 "btProtocol",   "btSaveTest",   "btToExel", "btCancel"};
    QWidget* previous = nullptr;
    for (const char* name : order) {
        auto* control = centralWidget()->findChild<QWidget*>(QString::fromLatin1(name));
        if (previous != nullptr && control != nullptr) {
            setTabOrder(previous, control);
        }
        previous = control;
    }
}

void TMainForm::BuildMenu() {
    N1 = menuBar()->addMenu(QStringLiteral("Файл"));
    mnPort1 = N1->addAction(QStringLiteral("COM1"));
    mnPort2 = N1->addAction(QStringLiteral("COM2"));
    mnPort3 = N1->addAction(QStringLiteral("COM3"));
    N1->addSeparator();
    mnNote = N1->addAction(QStringLiteral("Журнал ( F5 )"));
    N1->addSeparator();
    mnExit = N1->addAction(QStringLiteral("Выход"));
    for (QAction* disabled : {mnPort1, mnPort2, mnPort3, mnNote}) {
        disabled->setEnabled(false);
    }

    N2 = menuBar()->addMenu(QStringLiteral("Параметры"));
    mnConfig = N2->addAction(QStringLiteral("Конфигурация..."));
    N2->addSeparator();
    N7 = N2->addMenu(QStringLiteral("Режим работы "));
    mnModeNormal = N7->addAction(QStringLiteral("Нормальный"));
    mnModeNormal->setCheckable(true);
    mnModeNormal->setChecked(true);
    mnModeModel = N7->addAction(QStringLiteral("Учебный"));
    mnModeModel->setEnabled(false);

    N4 = menuBar()->addMenu(QStringLiteral("Помощь"));
    mnHelp = N4->addAction(QStringLiteral("Справка"));
    mnAbout = N4->addAction(QStringLiteral("О программе..."));

    const struct {
        QObject* item;
        const char* name;
    } names[] = {{N1, "N1"},
                 {N2, "N2"},
                 {N4, "N4"},
                 {N7, "N7"},
                 {mnPort1, "mnPort1"},
                 {mnPort2, "mnPort2"},
                 {mnPort3, "mnPort3"},
                 {mnNote, "mnNote"},
                 {mnExit, "mnExit"},
                 {mnConfig, "mnConfig"},
                 {mnModeNormal, "mnModeNormal"},
                 {mnModeModel, "mnModeModel"},
                 {mnHelp, "mnHelp"},
                 {mnAbout, "mnAbout"}};
    for (const auto& entry : names) {
        entry.item->setObjectName(QString::fromLatin1(entry.name));
    }
    ConnectMenu();
}
