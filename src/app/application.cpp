#include "app/application.h"

#include <QMessageBox>
#include <exception>

namespace {

std::function<void(const QString&)>& ErrorDisplay() {
    static std::function<void(const QString&)> display;
    return display;
}

}  // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowError(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowError(QStringLiteral("Неизвестная ошибка"));
    }
    return false;
}

void TApplication::ShowError(const QString& text) {
    if (ErrorDisplay()) {
        ErrorDisplay()(text);
        return;
    }
    QMessageBox::critical(activeWindow(), applicationName(), text, QMessageBox::Ok);
}

void TApplication::SetErrorDisplay(std::function<void(const QString&)> display) {
    ErrorDisplay() = std::move(display);
}
