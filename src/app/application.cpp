#include "app/application.h"

#include <QMessageBox>

namespace {

void ShowErrorBox(const QString& text) {
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(), text,
                          QMessageBox::Ok);
}

}  // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    platform::SetErrorDisplay(ShowErrorBox);
}

TApplication::~TApplication() {
    platform::SetErrorDisplay({});
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        platform::ShowCaughtError();
    }
    return false;
}

void TApplication::SetErrorDisplay(platform::ErrorDisplay display) {
    platform::SetErrorDisplay(display ? std::move(display) : ShowErrorBox);
}
