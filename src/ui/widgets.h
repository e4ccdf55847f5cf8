// Making the controls of the recorder's windows: at their places, with their fonts, colours,
// hints and the names the operator's documentation gives them.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <QStyle>

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace ui {

QFont PixelFont(const QString& family, int pixels, bool bold = false);

// The desktop theme's picture of that name, or the style's own where the theme has none.
QIcon ThemeIcon(const QWidget* widget, const QString& name, QStyle::StandardPixmap fallback);

// Sets the text colour and, when a background is given, fills the widget with it. Labels that
// show changing values are given the colour of the panel behind them: a new value then repaints
// the label alone, not the panel under it as well.
void SetColours(QWidget* widget, const QColor& background, const QColor& text);

// Every control carries its name as its object name, so tools and tests find it by that name.
template <typename Control>
Control* Named(Control* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

QLabel* MakeLabel(QWidget* parent, const QString& text, int left, int top);
QFrame* MakePanel(QWidget* parent, const QRect& place, bool bordered, const QColor& colour);
// A group box whose caption alone is blue and bold.
QGroupBox* MakeGroup(QWidget* parent, const QString& caption, const QRect& place);
// A button showing only a picture; its hint is its tooltip and its accessible name.
QPushButton* MakePictureButton(QWidget* parent, const QRect& place, const QIcon& picture,
                               const QString& hint);
QLineEdit* MakeEdit(QWidget* parent, const QString& text, int maxLength, const QRect& place);

}  // namespace ui
