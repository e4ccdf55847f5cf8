#include "measure/registration_panel.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "config/config.h"
#include "measure/indicators.h"
#include "measure/recording.h"
#include "measure/recording_look.h"
#include "ui/widgets.h"

namespace {

const QColor kForceColour = Qt::yellow;
const QColor kValueColour = Qt::lightGray;
// A frozen value is never read as a live one.
const QColor kStaleColour(0x5a, 0x5a, 0x5a);

}  // namespace

TRegistrationPanel::TRegistrationPanel(const TRegistrationPlaces& places, TRecording& recording,
                                       const TIniFileData& config,
                                       std::function<QString()> areaForStart, QObject* parent)
    : QObject(parent),
      recording_(recording),
      config_(config),
      areaForStart_(std::move(areaForStart)),
      Tm(ui::Named(new QTimer(this), "Tm")) {
    Tm->setInterval(100);
    BuildIndicators(places.indicators, places.strip);
    BuildControls(places.controlGroup, places.client);
    ConnectHandlers();
}

void TRegistrationPanel::BuildIndicators(QWidget* panel, QWidget* strip) {
    stFORCE = ui::Named(new QLabel(QStringLiteral("   0.000"), panel), "stFORCE");
    stFORCE->setGeometry(4, 2, 200, 40);
    stFORCE->setAlignment(Qt::AlignCenter);
    stFORCE->setFont(ui::PixelFont(QStringLiteral("Courier New"), 35, true));
    ui::SetColours(stFORCE, Qt::black, kForceColour);
    forceUnit_ = ui::MakeLabel(panel, QStringLiteral("кН"), 210, 16);
    forceUnit_->setFont(ui::PixelFont(panel->font().family(), 16, true));
    forceUnit_->adjustSize();
    ui::SetColours(forceUnit_, QColor(), kForceColour);

    stMaxForce = ui::Named(new QLabel(QStringLiteral("max=0.000   "), panel), "stMaxForce");
    stMaxForce->setGeometry(6, 46, 110, 18);
    stSpeedForce = ui::Named(new QLabel(QStringLiteral("   0.0 кН/с"), panel), "stSpeedForce");
    stSpeedForce->setGeometry(138, 45, 110, 20);
    stSpeedForce->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    stSpeedForce->setFrameStyle(QFrame::Box | QFrame::Plain);
    for (QLabel* label : {stMaxForce, stSpeedForce}) {
        ui::SetColours(label, Qt::black, kValueColour);
    }

    ui::MakeLabel(strip, QStringLiteral("Rmax, Н/мм.кв = "), 176, 9);
    lbRmax = ui::Named(ui::MakeLabel(strip, QStringLiteral(" 0.000"), 270, 6), "lbRmax");
    lbRmax->setFont(ui::PixelFont(QStringLiteral("Courier"), 16));
    lbRmax->setFixedWidth(90);
    ui::SetColours(lbRmax, Qt::white, Qt::blue);
}

void TRegistrationPanel::BuildControls(QWidget* group, QWidget* client) {
    ui::MakeLabel(group, QStringLiteral("период, мс"), 16, 24);
    cbPeriod = ui::Named(new QComboBox(group), "cbPeriod");
    cbPeriod->addItems({QStringLiteral("100"), QStringLiteral("200"), QStringLiteral("250"),
                        QStringLiteral("500"), QStringLiteral("1000")});
    cbPeriod->setGeometry(16, 42, 90, 24);
    ui::MakeLabel(group, QStringLiteral("записано"), 146, 24);
    stCountSamples = ui::Named(new QLabel(QStringLiteral("00000"), group), "stCountSamples");
    stCountSamples->setGeometry(146, 42, 90, 24);
    stCountSamples->setAlignment(Qt::AlignCenter);
    stCountSamples->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    stCountSamples->setAutoFillBackground(true);

    btStop = ui::MakePictureButton(group, QRect(16, 110, 55, 53),
                                   group->style()->standardIcon(QStyle::SP_MediaStop),
                                   QStringLiteral("стоп"));
    ui::Named(btStop, "btStop")->setStyleSheet(QStringLiteral("color: red;"));
    btStart = ui::Named(new QPushButton(QStringLiteral("Регистрация"), group), "btStart");
    btStart->setGeometry(90, 112, 140, 50);
    btStart->setIconSize(QSize(24, 24));

    RegistrationGroup = new QButtonGroup(this);
    RegistrationGroup->setExclusive(true);
    for (QPushButton* button : {btStop, btStart}) {
        button->setCheckable(true);
        RegistrationGroup->addButton(button);
    }
    btStop->setChecked(true);
    measure::ShowRecording(*btStart, false);

    btCancel = ui::Named(ui::MakePictureButton(client, QRect(942, 313, 82, 54),
                                               ui::ThemeIcon(client, QStringLiteral("edit-clear"),
                                                             QStyle::SP_BrowserReload),
                                               QStringLiteral("сброс...")),
                         "btCancel");
}

void TRegistrationPanel::ConnectHandlers() {
    connect(btStart, &QPushButton::clicked, this, &TRegistrationPanel::btStartClick);
    // However the pair changes (a click, Stop from the full store or the lost link), the look
    // follows the pressed button.
    connect(btStart, &QPushButton::toggled, this,
            [this](bool recording) { measure::ShowRecording(*btStart, recording); });
    connect(btStop, &QPushButton::clicked, this, &TRegistrationPanel::btStopClick);
    connect(btCancel, &QPushButton::clicked, this, &TRegistrationPanel::btCancelClick);
    connect(Tm, &QTimer::timeout, this, &TRegistrationPanel::TmTimer);
}

bool TRegistrationPanel::Registering() const {
    return btStart->isChecked();
}

void TRegistrationPanel::StartTimer() {
    Tm->start();
}

void TRegistrationPanel::StopTimer() {
    Tm->stop();
}

void TRegistrationPanel::SelectFirstPeriod() {
    cbPeriod->setCurrentIndex(0);
}

void TRegistrationPanel::ClickCancel() {
    btCancel->click();
}

void TRegistrationPanel::ProcessFrame(const TDeviceFrame& frame) {
    const measure::TFrameOutcome outcome = recording_.ProcessFrame(
        frame, config_.FORCE_SCALE, Registering(), QDateTime::currentDateTime());
    if (outcome.StoreFull) {
        btStop->click();
    }
}

void TRegistrationPanel::WatchdogTick() {
    recording_.WatchdogTick();
}

void TRegistrationPanel::btStartClick() {
    if (recording_.Start(cbPeriod->currentText().toInt(), areaForStart_().toInt())) {
        emit ControlsChanged(measure::ControlsOnStart());
    }
}

void TRegistrationPanel::btStopClick() {
    if (!recording_.Stop()) {
        return;
    }
    btStop->setChecked(true);
    emit ControlsChanged(measure::ControlsOnStop(recording_.Store().Count));
}

void TRegistrationPanel::btCancelClick() {
    recording_.Cancel(Registering(), [] { QCoreApplication::processEvents(); });
    emit ControlsChanged(measure::ControlsOnCancel(Registering()));
}

void TRegistrationPanel::TmTimer() {
    const measure::TTimerStep step = recording_.TimerTick(btStop->isChecked());
    if (step.WholeSecond) {
        emit StatusPanelChanged(3, measure::ClockPanelText(recording_.Measure().ClockReading));
        emit StatusPanelChanged(1, measure::MachinePanelText(config_.MACHINE, config_.FORCE_SCALE));
    }
    if (step.Panel2) {
        emit StatusPanelChanged(2, *step.Panel2);
    }
    if (step.ClickStop) {
        btStop->click();
    }
    UpdateIndicators();
    emit TimerTicked();
}

void TRegistrationPanel::UpdateIndicators() {
    const measure::TIndicatorTexts texts =
        measure::IndicatorTexts(recording_.Measure(), recording_.Store(), config_.FORCE_SCALE);
    stFORCE->setText(texts.Force);
    stSpeedForce->setText(texts.Rate);
    stMaxForce->setText(texts.MaxForce);
    lbRmax->setText(texts.Rmax);
    stCountSamples->setText(texts.Count);
    ShowIndicatorsLive(recording_.Measure().Watchdog != 0);
}

// The indicators repaint ten times a second; their colours change only when the link does.
void TRegistrationPanel::ShowIndicatorsLive(bool live) {
    if (live == indicatorsLive_) {
        return;
    }
    indicatorsLive_ = live;
    for (QLabel* force : {stFORCE, forceUnit_}) {
        ui::SetColours(force, QColor(), live ? kForceColour : kStaleColour);
    }
    for (QLabel* value : {stMaxForce, stSpeedForce}) {
        ui::SetColours(value, QColor(), live ? kValueColour : kStaleColour);
    }
}
