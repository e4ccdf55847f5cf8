// The main window's controls at their places, with their texts, fonts, colours and hints.
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QTimer>

#include "about/about_pictures.h"
#include "app/main.h"
#include "chart/chart.h"

namespace {

constexpr int kClientWidth = 1039;
constexpr int kClientHeight = 664;
constexpr int kStatusBarHeight = 19;

QLabel* MakeLabel(QWidget* parent, const QString& text, int left, int top) {
    auto* label = new QLabel(text, parent);
    label->move(left, top);
    label->adjustSize();
    return label;
}

// Sets the text colour and, when a background is given, fills the widget with it. Labels that
// show changing values are given the colour of the panel behind them: a new value then repaints
// the label alone, not the panel under it as well.
void SetColours(QWidget* widget, const QColor& background, const QColor& text) {
    QPalette palette = widget->palette();
    if (background.isValid()) {
        palette.setColor(QPalette::Window, background);
        widget->setAutoFillBackground(true);
    }
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::ButtonText, text);
    widget->setPalette(palette);
}

QFont PixelFont(const QString& family, int pixels, bool bold = false) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QFrame* MakePanel(QWidget* parent, const QRect& place, bool bordered, const QColor& colour) {
    auto* panel = new QFrame(parent);
    panel->setGeometry(place);
    if (bordered) {
        panel->setFrameStyle(QFrame::Box | QFrame::Plain);
    }
    if (colour.isValid()) {
        SetColours(panel, colour, Qt::black);
    }
    return panel;
}

QGroupBox* MakeGroup(QWidget* parent, const QString& caption, const QRect& place) {
    auto* group = new QGroupBox(caption, parent);
    group->setGeometry(place);
    // Only the caption is blue and bold; the controls inside keep the window's font.
    group->setStyleSheet(
        QStringLiteral("QGroupBox { font-weight: bold; color: blue; }"
                       "QGroupBox * { font-weight: normal; color: black; }"));
    return group;
}

QPushButton* MakePictureButton(QWidget* parent, const QRect& place, QStyle::StandardPixmap picture,
                               const QString& themeIcon, const QString& hint) {
    auto* button = new QPushButton(parent);
    button->setGeometry(place);
    button->setIcon(QIcon::fromTheme(themeIcon, parent->style()->standardIcon(picture)));
    button->setIconSize(QSize(32, 32));
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    return button;
}

QLineEdit* MakeEdit(QWidget* parent, const QString& text, int maxLength, const QRect& place) {
    auto* edit = new QLineEdit(text, parent);
    edit->setMaxLength(maxLength);
    edit->setGeometry(place);
    return edit;
}

}  // namespace

void TMainForm::BuildLayout() {
    setWindowTitle(kMainWindowTitle);
    setWindowIcon(ProgramIcon());
    auto* client = new QWidget(this);
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);
    SetColours(this, palette().color(QPalette::Window).darker(105), Qt::black);

    BuildChartArea();
    BuildIndicatorPanel();
    BuildControlGroup();
    BuildInfoPanel();
    BuildSpecimenGroup();
    BuildRecordButtons();
    BuildStatusBar();
    BuildMenu();

    setTabOrder(gbControl, gbTestSpec);
    setTabOrder(edTestName, edSampleName);
    setTabOrder(edSampleName, edSampleType);
    setTabOrder(edSampleType, edSQR);
    setTabOrder(edSQR, btOpenTest);
    setTabOrder(btOpenTest, btProtocol);
    setTabOrder(btProtocol, btSaveTest);
    setTabOrder(btSaveTest, btToExel);

    Tm = new QTimer(this);
    Tm->setInterval(100);

    setFixedSize(sizeHint());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
}

void TMainForm::BuildChartArea() {
    QWidget* client = centralWidget();
    Panel2 = MakePanel(client, QRect(8, 16, 753, 619), false, QColor());
    chrtSignTraces = new TChart(Panel2);
    chrtSignTraces->setGeometry(-3, -1, 742, 567);

    Panel3 = MakePanel(Panel2, QRect(4, 578, 745, 35), true, Qt::white);
    MakeLabel(Panel3, QStringLiteral("X="), 6, 9);
    stX = MakeLabel(Panel3, QStringLiteral("00000"), 24, 8);
    MakeLabel(Panel3, QStringLiteral("Y="), 86, 9);
    stY = MakeLabel(Panel3, QStringLiteral("00000"), 104, 8);
    for (QLabel* readout : {stX, stY}) {
        readout->setFont(PixelFont(font().family(), 13));
        readout->setFixedWidth(60);
        SetColours(readout, Qt::white, Qt::blue);
    }
    MakeLabel(Panel3, QStringLiteral("Rmax, Н/мм.кв = "), 176, 9);
    lbRmax = MakeLabel(Panel3, QStringLiteral(" 0.000"), 270, 6);
    lbRmax->setFont(PixelFont(QStringLiteral("Courier"), 16));
    lbRmax->setFixedWidth(90);
    SetColours(lbRmax, Qt::white, Qt::blue);

    const struct {
        QPushButton** button;
        QString caption;
        QRect place;
    } strip[] = {
        {&Button1, QStringLiteral("<"), QRect(386, 5, 36, 25)},
        {&btRight, QStringLiteral(">"), QRect(424, 5, 36, 25)},
        {&Button3, QStringLiteral("X ++"), QRect(466, 5, 48, 25)},
        {&Button4, QStringLiteral("Авто-Масштаб"), QRect(520, 5, 110, 25)},
        {&btPrintChart, QStringLiteral("Печать"), QRect(660, 5, 78, 25)},
    };
    for (const auto& item : strip) {
        *item.button = new QPushButton(item.caption, Panel3);
        (*item.button)->setGeometry(item.place);
        (*item.button)->setFocusPolicy(Qt::NoFocus);
    }
    btPrintChart->setEnabled(false);
}

void TMainForm::BuildIndicatorPanel() {
    Panel1 = MakePanel(centralWidget(), QRect(772, 16, 253, 69), false, Qt::black);
    stFORCE = new QLabel(QStringLiteral("   0.000"), Panel1);
    stFORCE->setGeometry(4, 2, 200, 40);
    stFORCE->setAlignment(Qt::AlignCenter);
    stFORCE->setFont(PixelFont(QStringLiteral("Courier New"), 35, true));
    SetColours(stFORCE, Qt::black, Qt::yellow);
    auto* unit = MakeLabel(Panel1, QStringLiteral("кН"), 210, 16);
    unit->setFont(PixelFont(font().family(), 16, true));
    unit->adjustSize();
    SetColours(unit, QColor(), Qt::yellow);

    stMaxForce = new QLabel(QStringLiteral("max=0.000   "), Panel1);
    stMaxForce->setGeometry(6, 46, 110, 18);
    stSpeedForce = new QLabel(QStringLiteral("   0.0 кН/с"), Panel1);
    stSpeedForce->setGeometry(138, 45, 110, 20);
    stSpeedForce->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    stSpeedForce->setFrameStyle(QFrame::Box | QFrame::Plain);
    for (QLabel* label : {stMaxForce, stSpeedForce}) {
        SetColours(label, Qt::black, QColor(Qt::lightGray));
    }
}

void TMainForm::BuildControlGroup() {
    gbControl =
        MakeGroup(centralWidget(), QStringLiteral(" Управление "), QRect(772, 118, 253, 183));
    MakeLabel(gbControl, QStringLiteral("период, мс"), 16, 24);
    cbPeriod = new QComboBox(gbControl);
    cbPeriod->addItems({QStringLiteral("100"), QStringLiteral("200"), QStringLiteral("250"),
                        QStringLiteral("500"), QStringLiteral("1000")});
    cbPeriod->setGeometry(16, 42, 90, 24);
    MakeLabel(gbControl, QStringLiteral("записано"), 146, 24);
    stCountSamples = new QLabel(QStringLiteral("00000"), gbControl);
    stCountSamples->setGeometry(146, 42, 90, 24);
    stCountSamples->setAlignment(Qt::AlignCenter);
    stCountSamples->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    stCountSamples->setAutoFillBackground(true);

    btStop = new QPushButton(gbControl);
    btStop->setGeometry(16, 110, 55, 53);
    btStop->setIcon(style()->standardIcon(QStyle::SP_MediaStop));
    btStop->setIconSize(QSize(32, 32));
    btStop->setToolTip(QStringLiteral("стоп"));
    btStop->setAccessibleName(QStringLiteral("стоп"));
    btStop->setStyleSheet(QStringLiteral("color: red;"));
    btStart = new QPushButton(QStringLiteral("Регистрация"), gbControl);
    btStart->setGeometry(90, 112, 140, 50);
    btStart->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    btStart->setIconSize(QSize(24, 24));
    // The group's style sheet sets its children's fonts, so the bold caption is set the same way.
    btStart->setStyleSheet(QStringLiteral("font-weight: bold;"));

    RegistrationGroup = new QButtonGroup(this);
    RegistrationGroup->setExclusive(true);
    for (QPushButton* button : {btStop, btStart}) {
        button->setCheckable(true);
        RegistrationGroup->addButton(button);
    }
    btStop->setChecked(true);
}

void TMainForm::BuildInfoPanel() {
    pnInfo = MakePanel(centralWidget(), QRect(770, 120, 255, 183), true, Qt::white);
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setPointSize(9);
    QFont fixedBold = fixed;
    fixedBold.setBold(true);

    int top = 8;
    for (QLabel** label : {&lbInfoDate, &lbInfoTest, &lbInfoMark, &lbInfoType}) {
        *label = new QLabel(pnInfo);
        (*label)->setGeometry(8, top, 240, 18);
        top += 22;
    }
    lbInfoDate->setFont(fixedBold);
    auto* rule = new QFrame(pnInfo);
    rule->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    rule->setGeometry(6, top + 2, 243, 4);
    top += 14;
    const struct {
        QLabel** value;
        QString caption;
    } results[] = {
        {&lbInfoSQR, QStringLiteral("S,мм.кв = ")},
        {&lbInfoFmax, QStringLiteral("F max,кН = ")},
        {&lbInfoRmax, QStringLiteral("R max,Н/мм.кв = ")},
    };
    for (const auto& line : results) {
        auto* caption = MakeLabel(pnInfo, line.caption, 8, top);
        caption->setFont(fixed);
        caption->adjustSize();
        *line.value = new QLabel(pnInfo);
        (*line.value)->setFont(fixed);
        (*line.value)->setGeometry(8 + caption->width(), top, 240 - caption->width(), 18);
        top += 22;
    }
    pnInfo->hide();
}

void TMainForm::BuildSpecimenGroup() {
    gbTestSpec =
        MakeGroup(centralWidget(), QStringLiteral(" Исходные данные "), QRect(772, 375, 253, 188));
    const QString unknown = QStringLiteral("(...)");
    MakeLabel(gbTestSpec, QStringLiteral("Испытание"), 10, 28);
    edTestName = MakeEdit(gbTestSpec, unknown, 31, QRect(92, 24, 150, 21));
    auto* heading = MakeLabel(gbTestSpec, QStringLiteral("Образец"), 100, 58);
    heading->setStyleSheet(QStringLiteral("font-weight: bold;"));
    heading->adjustSize();
    MakeLabel(gbTestSpec, QStringLiteral("Маркировка"), 10, 86);
    edSampleName = MakeEdit(gbTestSpec, unknown, 19, QRect(92, 82, 150, 21));
    MakeLabel(gbTestSpec, QStringLiteral("Тип ( форма )"), 10, 116);
    edSampleType = MakeEdit(gbTestSpec, unknown, 19, QRect(92, 112, 150, 21));
    MakeLabel(gbTestSpec, QStringLiteral("Площадь, мм.кв."), 10, 150);
    edSQR = MakeEdit(gbTestSpec, QStringLiteral("1000"), 5, QRect(150, 146, 92, 21));
    edSQR->installEventFilter(this);
    // Pasted or dropped text passes no key filter; the area still takes digits only.
    edSQR->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edSQR));
}

void TMainForm::BuildRecordButtons() {
    QWidget* client = centralWidget();
    btCancel = MakePictureButton(client, QRect(942, 313, 82, 54), QStyle::SP_BrowserReload,
                                 QStringLiteral("edit-clear"), QStringLiteral("сброс..."));
    btOpenTest =
        MakePictureButton(client, QRect(773, 578, 59, 56), QStyle::SP_DialogOpenButton,
                          QStringLiteral("document-open"), QStringLiteral("открыть испытание..."));
    btProtocol =
        MakePictureButton(client, QRect(844, 579, 57, 55), QStyle::SP_FileDialogDetailedView,
                          QStringLiteral("document-print"), QStringLiteral("печать протокола..."));
    btSaveTest = MakePictureButton(client, QRect(912, 579, 58, 55), QStyle::SP_DialogSaveButton,
                                   QStringLiteral("document-save"),
                                   QStringLiteral("сохранить испытание..."));
    btToExel = MakePictureButton(client, QRect(980, 579, 45, 55), QStyle::SP_FileDialogListView,
                                 QStringLiteral("x-office-spreadsheet"),
                                 QStringLiteral("преобразовать в  CSV"));
    btToExel->setEnabled(false);
}

void TMainForm::BuildStatusBar() {
    stBar = new QFrame(centralWidget());
    stBar->setGeometry(0, kClientHeight - kStatusBarHeight, kClientWidth, kStatusBarHeight);
    const int widths[] = {150, 300, 420, kClientWidth - 150 - 300 - 420};
    int left = 0;
    for (int i = 0; i < 4; ++i) {
        auto* panel = new QLabel(stBar);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setGeometry(left, 0, widths[i] - 2, kStatusBarHeight);
        stBarPanels[i] = panel;
        left += widths[i];
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
}
