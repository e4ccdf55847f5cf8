#include "platform/error_report.h"

#include <exception>

namespace platform {

QString CaughtErrorText() {
    try {
        throw;
    } catch (const std::exception& error) {
        return QString::fromUtf8(error.what());
    } catch (...) {
        return QStringLiteral("Неизвестная ошибка");
    }
}

}  // namespace platform
