// The main window's side of the link: the status bar with its four panels, and re-opening the
// link on a named port with the outcome shown to the operator.
#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <cstdint>

class QFrame;
class QLabel;
class QWidget;
class TKTCOM;
class TUserDialogs;

class TLinkPanel : public QObject {
    Q_OBJECT

  public:
    // Builds the status bar along the bottom of `client`, whose window owns the message boxes;
    // `channel` is the application's channel to the unit.
    TLinkPanel(QWidget* client, TKTCOM& channel, TUserDialogs& dialogs, QObject* parent);

    // Re-opens the channel on "COM1", "COM2" or "COM3" and reports the outcome in
    // panel 0 (and, on failure, with the error beep and a message box). Any other name opens
    // nothing and leaves reception off. From then on panel 0 also follows the port going and
    // coming back under the program, without beep or message: nobody is there to answer one.
    void OpenLinkPort(const QString& portName);
    void SetStatusPanel(int8_t index, const QString& text);
    QString StatusPanelText(int index) const;

  private:
    void ShowPortState(const QString& portName, bool ok);

    TKTCOM& channel_;
    TUserDialogs& dialogs_;
    QFrame* stBar_;
    std::array<QLabel*, 4> panels_{};
};
