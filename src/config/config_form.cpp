#include "config/config_form.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "config/config.h"
#include "config/config_pictures.h"
#include "platform/integer_text.h"
#include "ui/user_dialogs.h"

namespace {

QLabel* MakeLabel(QWidget* parent, const QString& text, int left, int top, bool bold = false) {
    auto* label = new QLabel(text, parent);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    label->move(left, top);
    label->adjustSize();
    return label;
}

QLineEdit* MakeEdit(QWidget* parent, int maxLength, const QRect& place) {
    auto* edit = new QLineEdit(parent);
    edit->setMaxLength(maxLength);
    edit->setGeometry(place);
    return edit;
}

QFrame* MakeBevel(QWidget* parent, int top) {
    auto* bevel = new QFrame(parent);
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(16, top, 473, 2);
    return bevel;
}

QComboBox* MakeCombo(QWidget* parent, const QStringList& items, int left, int top, int width) {
    auto* combo = new QComboBox(parent);
    combo->addItems(items);
    combo->move(left, top);
    combo->resize(width, combo->sizeHint().height());
    return combo;
}

QPushButton* MakePictureButton(QWidget* parent, const QPixmap& picture, const QString& hint,
                               const QRect& place) {
    auto* button = new QPushButton(parent);
    button->setIcon(picture);
    button->setIconSize(picture.size());
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setGeometry(place);
    return button;
}

// Keys that move the caret, delete or leave the box produce no typed character.
bool IsTypedCharacter(const QKeyEvent& key) {
    switch (key.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Delete:
            return false;
        default:
            return !key.text().isEmpty();
    }
}

}  // namespace

TConfigForm::TConfigForm(TUserDialogs& dialogs, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs) {
    BuildLayout();
    ReadIniFile();
    FillControls();
}

void TConfigForm::BuildLayout() {
    setWindowTitle(QStringLiteral("  Конфигурация"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(500, 487);

    Label4 = MakeLabel(this, QStringLiteral("Данные о пользователе"), 32, 24, true);
    Label1 = MakeLabel(this, QStringLiteral("Пользователь "), 67, 58);
    edUserName = MakeEdit(this, 40, QRect(153, 52, 304, 21));
    Bevel1 = MakeBevel(this, 87);
    Label5 = MakeLabel(this, QStringLiteral("Данные о машине"), 32, 109, true);
    Label2 = MakeLabel(this, QStringLiteral("Машина испытательная:"), 22, 139);
    edMachineName = MakeEdit(this, 16, QRect(153, 132, 168, 21));
    btLin = new QPushButton(QStringLiteral("Линеаризатор"), this);
    btLin->setGeometry(352, 129, 121, 25);
    btLin->setEnabled(false);
    Label3 = MakeLabel(this, QStringLiteral("Заводской номер:"), 54, 163);
    edSerNum = MakeEdit(this, 4, QRect(153, 156, 48, 21));
    Label6 = MakeLabel(this, QStringLiteral("Шкала канала измерения силы, кН"), 69, 206);
    edFscale = MakeEdit(this, 4, QRect(273, 198, 48, 21));
    Label7 = MakeLabel(this, QStringLiteral("Шкала канала измерения перемещения, мм"), 22, 235);
    edLscale = MakeEdit(this, 4, QRect(273, 228, 48, 21));
    edLscale->setText(QStringLiteral("100"));
    edLscale->setEnabled(false);
    edFscale->installEventFilter(this);
    edLscale->installEventFilter(this);
    Bevel2 = MakeBevel(this, 279);

    Label8 = MakeLabel(this, QStringLiteral("Порт связи "), 46, 328);
    cbLinkPort = MakeCombo(this, {"COM1", "COM2", "COM3"}, 119, 323, 63);
    // What the operator types is the port name as it stands: no completion, no new list entries.
    cbLinkPort->setEditable(true);
    cbLinkPort->setInsertPolicy(QComboBox::NoInsert);
    cbLinkPort->setCompleter(nullptr);
    Label9 = MakeLabel(this, QStringLiteral("Скорость обмена "), 261, 326);
    ComboBox2 = MakeCombo(this, {"57600", "38400", "19200", "115200"}, 360, 321, 73);
    ComboBox2->setEnabled(false);
    Bevel3 = MakeBevel(this, 376);

    BuildButtons();
    SetTabOrder();
    if (const QScreen* desktop = screen()) {
        move(desktop->availableGeometry().center() - rect().center());
    }
}

void TConfigForm::BuildButtons() {
    btConfigSave = MakePictureButton(this, config_pictures::GreenTick(),
                                     QStringLiteral("принять..."), QRect(161, 408, 72, 55));
    btConfigSave->setDefault(true);
    connect(btConfigSave, &QPushButton::clicked, this, &TConfigForm::ConfigSaveClicked);
    btConfigExit = MakePictureButton(this, config_pictures::RedCross(),
                                     QStringLiteral("отмена, выйти..."), QRect(288, 408, 66, 57));
    connect(btConfigExit, &QPushButton::clicked, this, &QDialog::reject);
}

void TConfigForm::SetTabOrder() {
    QWidget* const order[] = {edUserName,   edMachineName, edSerNum,   edFscale,  edLscale,
                              btConfigSave, btConfigExit,  cbLinkPort, ComboBox2, btLin};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

void TConfigForm::FillControls() {
    edUserName->setText(INI_FILE_DATA.NAME);
    edMachineName->setText(INI_FILE_DATA.MACHINE);
    edSerNum->setText(QString::number(INI_FILE_DATA.SER_NUM));
    edFscale->setText(QString::number(INI_FILE_DATA.FORCE_SCALE));
    // Only the exact names select an entry; anything else leaves "COM1" shown, none selected.
    const int entry =
        cbLinkPort->findText(INI_FILE_DATA.LINK_PORT, Qt::MatchExactly | Qt::MatchCaseSensitive);
    cbLinkPort->setCurrentIndex(entry);
    if (entry < 0) {
        cbLinkPort->setEditText(QStringLiteral("COM1"));
    }
}

bool TConfigForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || (watched != edFscale && watched != edLscale)) {
        return QDialog::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!IsTypedCharacter(*key)) {
        return false;
    }
    QChar typed = key->text().size() == 1 ? key->text().front() : QChar();
    if (!typed.isNull()) {
        edFscaleKeyPress(static_cast<QLineEdit*>(watched), typed);
    }
    return typed.isNull();
}

void TConfigForm::edFscaleKeyPress(QLineEdit* box, QChar& key) {
    if (key < u'0' || key > u'9') {
        key = QChar();
    } else if (key == u'0' && box->text().startsWith(u'0')) {
        key = QChar();
    }
}

// The dialog closes with the result OK whatever the action does, after the general error box
// has shown any error it raised.
void TConfigForm::ConfigSaveClicked() {
    setResult(QDialog::Accepted);
    RunReportingErrors(dialogs_, this, [this] { btConfigSaveClick(); });
    accept();
}

void TConfigForm::btConfigSaveClick() {
    INI_FILE_DATA.NAME = edUserName->text();
    INI_FILE_DATA.MACHINE = edMachineName->text();
    INI_FILE_DATA.SER_NUM = static_cast<int16_t>(platform::StrToInt(edSerNum->text()));
    const int32_t scale = platform::StrToInt(edFscale->text());
    if (scale < 10 || scale > 5000) {
        edFscale->setText(QString::number(INI_FILE_DATA.FORCE_SCALE));
        dialogs_.Message(this, QStringLiteral("Ошибка: недопустимое значение шкалы нагрузки! "),
                         TMessageIcon::None);
    }
    INI_FILE_DATA.FORCE_SCALE = static_cast<int16_t>(platform::StrToInt(edFscale->text()));
    INI_FILE_DATA.LINK_PORT = cbLinkPort->currentText();
    WriteIniFile();
}
