// The start-up rule of one running copy per desktop.
#pragma once

#include "platform/single_instance.h"
#include "ui/user_dialogs.h"

// True when another copy of the recorder runs on this desktop; the operator then hears the error
// beep and reads "  Приложение уже работает !   ".
bool RefuseSecondCopy(platform::SingleInstance& instance, TUserDialogs& dialogs);
