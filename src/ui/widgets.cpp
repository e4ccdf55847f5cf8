#include "ui/widgets.h"

#include <QFrame>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace ui {

QFont PixelFont(const QString& family, int pixels, bool bold) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QIcon ThemeIcon(const QWidget* widget, const QString& name, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(name, widget->style()->standardIcon(fallback));
}

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

QLabel* MakeLabel(QWidget* parent, const QString& text, int left, int top) {
    auto* label = new QLabel(text, parent);
    label->move(left, top);
    label->adjustSize();
    return label;
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

QPushButton* MakePictureButton(QWidget* parent, const QRect& place, const QIcon& picture,
                               const QString& hint) {
    auto* button = new QPushButton(parent);
    button->setGeometry(place);
    button->setIcon(picture);
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

}  // namespace ui
