// The about window: the program's title, version and device line, the contact lines, two
// pictures and the link to the project's web site.
#pragma once

#include <QDialog>

class QLabel;
class TUserDialogs;

class TFormAbout : public QDialog {
    Q_OBJECT

  public:
    TFormAbout(TUserDialogs& dialogs, QWidget* parent);

    // The click of the window and of every label and picture in it except Label7: closes.
    void FormClick();
    // Opens the address Label7 shows, then closes.
    void Label7Click();
    // The pointer is over Label7: the application-wide cursor becomes the pointing hand.
    void Label7MouseMove();
    // The pointer is over the bare background: the application-wide cursor goes back to the
    // arrow.
    void FormMouseMove();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    void BuildLayout();

    TUserDialogs& dialogs_;
    QLabel* Label7 = nullptr;
    bool pressed_ = false;  // the left button went down on the window or a label in it
};
