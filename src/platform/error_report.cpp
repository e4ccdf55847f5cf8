#include "platform/error_report.h"

#include <QtDebug>
#include <exception>

namespace platform {

namespace {

ErrorDisplay& InstalledDisplay() {
    static ErrorDisplay display;
    return display;
}

}  // namespace

void ShowError(const QString& text) {
    if (InstalledDisplay()) {
        InstalledDisplay()(text);
        return;
    }
    qCritical().noquote() << text;
}

void SetErrorDisplay(ErrorDisplay display) {
    InstalledDisplay() = std::move(display);
}

void ShowCaughtError() {
    try {
        throw;
    } catch (const std::exception& error) {
        ShowError(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowError(QStringLiteral("Неизвестная ошибка"));
    }
}

void RunReportingErrors(const std::function<void()>& action) {
    try {
        action();
    } catch (...) {
        ShowCaughtError();
    }
}

}  // namespace platform
