#include "about/form_about.h"

#include <QApplication>
#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QUrl>

#include "about/about_pictures.h"
#include "ui/user_dialogs.h"

namespace {

// Texts of the window. Label1 is 59 characters: the blanks put the quoted name on line two.
const QString kTitle =
    QStringLiteral("Программа регистрации  данных         \" Регистратор ВЕ-17 \"");
const QString kDevice = QStringLiteral(" ( устройство ВЕ-17  ) ");
const QString kVersion = QStringLiteral("Версия 1.1");
const QString kRights = QStringLiteral("© 2026 Участники проекта «Регистратор ВЕ-17»");
const QString kAddress = QStringLiteral("Адрес: г. Примерск, ул. Образцовая, 1");
const QString kPhone = QStringLiteral("Телефон: +1 555 0100");
const QString kFax = QStringLiteral("Факс: +1 555 0101");
const QString kEmail = QStringLiteral("E-mail: ve17@example.org");
const QString kWebSite = QStringLiteral("www.example.org");

const QColor kNavy(0, 0, 128);

QFont Font(const QString& family, int pixels, bool bold = false) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QFont Serif(int pixels, bool bold = false) {
    return Font(QStringLiteral("Times New Roman"), pixels, bold);
}

// A text label drawn like the window's own text: top-left, no selection, clicks pass to the
// window. Without a size it takes the size of its text.
QLabel* AddLabel(QWidget* form, const char* name, const QString& text, const QFont& font,
                 const QColor& color, QRect place) {
    auto* label = new QLabel(text, form);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    if (place.size().isEmpty()) {
        label->move(place.topLeft());
        label->adjustSize();
    } else {
        label->setGeometry(place);
    }
    return label;
}

QLabel* AddPicture(QWidget* form, const char* name, const QString& picture, QRect place) {
    auto* image = new QLabel(form);
    image->setObjectName(QLatin1String(name));
    image->setGeometry(place);
    image->setScaledContents(true);
    // A damaged picture leaves its box empty.
    const QImage decoded = AboutPicture(picture);
    if (!decoded.isNull()) {
        image->setPixmap(QPixmap::fromImage(decoded));
    }
    return image;
}

void SetApplicationCursor(Qt::CursorShape shape) {
    // One override level at most, however often the pointer moves.
    if (QApplication::overrideCursor() != nullptr) {
        QApplication::changeOverrideCursor(QCursor(shape));
    } else {
        QApplication::setOverrideCursor(QCursor(shape));
    }
}

}  // namespace

TFormAbout::TFormAbout(TUserDialogs& dialogs, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      dialogs_(dialogs) {
    setWindowTitle(QStringLiteral("   О программе..."));
    setWindowIcon(QIcon(QPixmap::fromImage(QImage::fromData(AboutResource("icon.png")))));
    setFixedSize(490, 281);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);
    setMouseTracking(true);
    BuildLayout();

    const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen != nullptr) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void TFormAbout::BuildLayout() {
    const QColor text = palette().color(QPalette::WindowText);
    AddPicture(this, "Image1", QStringLiteral("banner.jpg"), {-3, 0, 492, 57});
    AddLabel(this, "Label1", kTitle, Serif(19), kNavy, {8, 67, 272, 42})->setWordWrap(true);
    AddLabel(this, "Label5", kDevice, Serif(13), text, {362, 69, 123, 18})->setWordWrap(true);
    AddLabel(this, "Label9", kRights, Serif(13), text, {9, 130, 0, 0});
    AddLabel(this, "Label2", kVersion, Serif(13), text, {421, 129, 0, 0});

    // The bottom edge of a 486 x 5 box: a shadow line over a light one.
    auto* bevel = new QFrame(this);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(2, 146, 486, 2);
    bevel->setAttribute(Qt::WA_NoMousePropagation);  // the rule has no click of its own

    AddLabel(this, "Label4", kAddress, Serif(13, true), Qt::black, {11, 155, 0, 0});
    AddLabel(this, "Label6", kPhone, Serif(13, true), Qt::black, {12, 174, 0, 0});
    AddLabel(this, "Label8", kFax, Serif(13, true), Qt::black, {11, 193, 0, 0});
    AddLabel(this, "Label3", kEmail, Serif(13, true), Qt::black, {12, 212, 0, 0});
    Label7 = AddLabel(this, "Label7", kWebSite, Font(QStringLiteral("Courier New"), 24, true),
                      Qt::red, {13, 246, 0, 0});
    Label7->setMouseTracking(true);
    Label7->installEventFilter(this);
    AddPicture(this, "Image2", QStringLiteral("logo.jpg"), {288, 168, 201, 105});
}

void TFormAbout::FormClick() {
    close();
}

void TFormAbout::Label7Click() {
    dialogs_.OpenUrl(QUrl::fromUserInput(Label7->text()));
    close();
}

void TFormAbout::Label7MouseMove() {
    SetApplicationCursor(Qt::PointingHandCursor);
}

void TFormAbout::FormMouseMove() {
    const QCursor* cursor = QApplication::overrideCursor();
    if (cursor != nullptr && cursor->shape() != Qt::ArrowCursor) {
        SetApplicationCursor(Qt::ArrowCursor);
    }
}

bool TFormAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched != Label7) {
        return QDialog::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::MouseMove:
            Label7MouseMove();
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            return true;  // the link's clicks never reach the window
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton &&
                Label7->rect().contains(mouse->position().toPoint())) {
                Label7Click();
            }
            return true;
        }
        default:
            return QDialog::eventFilter(watched, event);
    }
}

void TFormAbout::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();  // neither closes the window
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

// Labels and pictures leave their clicks to the window, so one press-release pair here is the
// click of the window itself or of whatever was under the pointer.
void TFormAbout::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void TFormAbout::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click) {
        FormClick();
    }
}

void TFormAbout::mouseMoveEvent(QMouseEvent* event) {
    if (childAt(event->position().toPoint()) == nullptr) {
        FormMouseMove();
    }
    event->accept();
}
