#include "app/startup.h"

bool RefuseSecondCopy(platform::SingleInstance& instance, TUserDialogs& dialogs) {
    if (instance.TryAcquire()) {
        return false;
    }
    dialogs.Beep();
    dialogs.Message(nullptr, QStringLiteral("  Приложение уже работает !   "));
    return true;
}
