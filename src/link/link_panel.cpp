#include "link/link_panel.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QThread>

#include "link/ktcom.h"
#include "ui/user_dialogs.h"
#include "ui/widgets.h"

namespace {
constexpr int kStatusBarHeight = 19;
constexpr int kPanelWidths[] = {150, 300, 420};  // the last panel takes the rest of the bar
}  // namespace

TLinkPanel::TLinkPanel(QWidget* client, TKTCOM& channel, TUserDialogs& dialogs, QObject* parent)
    : QObject(parent),
      channel_(channel),
      dialogs_(dialogs),
      stBar_(ui::Named(new QFrame(client), "stBar")) {
    stBar_->setGeometry(0, client->height() - kStatusBarHeight, client->width(), kStatusBarHeight);
    int left = 0;
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        const int width = i < std::size(kPanelWidths) ? kPanelWidths[i] : client->width() - left;
        auto* panel = new QLabel(stBar_);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setGeometry(left, 0, width - 2, kStatusBarHeight);
        panels_[i] = panel;
        left += width;
    }
    connect(&channel_, &TKTCOM::PortStateChanged, this, &TLinkPanel::ShowPortState);
}

void TLinkPanel::OpenLinkPort(const QString& portName) {
    channel_.SetReceiving(false);
    QCoreApplication::processEvents();
    QThread::msleep(200);
    QCoreApplication::processEvents();

    static const QString ports[] = {QStringLiteral("COM1"), QStringLiteral("COM2"),
                                    QStringLiteral("COM3")};
    for (const QString& port : ports) {
        if (portName != port) {
            continue;
        }
        if (channel_.Open(port)) {
            ShowPortState(port, true);
            channel_.SetReceiving(true);
        } else {
            dialogs_.Beep();
            ShowPortState(port, false);
            dialogs_.Message(stBar_->window(), channel_.GetStatusText());
        }
    }
}

void TLinkPanel::ShowPortState(const QString& portName, bool ok) {
    const QString text = ok ? QStringLiteral("Порт %1 - ОК") : QStringLiteral("Порт %1 - ошибка");
    SetStatusPanel(0, text.arg(portName));
}

void TLinkPanel::SetStatusPanel(int8_t index, const QString& text) {
    if (index >= 0 && index < static_cast<int>(panels_.size())) {
        panels_[index]->setText(text);
    }
}

QString TLinkPanel::StatusPanelText(int index) const {
    return panels_.at(index)->text();
}
