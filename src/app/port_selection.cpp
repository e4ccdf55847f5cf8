// Choosing the port of the link: re-opening it by name and reporting the outcome.
#include <QCoreApplication>
#include <QThread>

#include "app/main.h"
#include "link/ktcom.h"

void TMainForm::OpenLinkPort(const QString& portName) {
    KTCOM->SetReceiving(false);
    QCoreApplication::processEvents();
    QThread::msleep(200);
    QCoreApplication::processEvents();

    static const QString ports[] = {QStringLiteral("COM1"), QStringLiteral("COM2"),
                                    QStringLiteral("COM3")};
    for (const QString& port : ports) {
        if (portName != port) {
            continue;
        }
        if (KTCOM->Open(port)) {
            SetStatusPanel(0, QStringLiteral("Порт %1 - ОК").arg(port));
            KTCOM->SetReceiving(true);
        } else {
            Dialogs().Beep();
            SetStatusPanel(0, QStringLiteral("Порт %1 - ошибка").arg(port));
            Dialogs().Message(this, KTCOM->GetStatusText());
        }
    }
}

void TMainForm::mnPort1Click() {
    OpenLinkPort(mnPort1->text());
}
void TMainForm::mnPort2Click() {
    OpenLinkPort(mnPort2->text());
}
void TMainForm::mnPort3Click() {
    OpenLinkPort(mnPort3->text());
}
