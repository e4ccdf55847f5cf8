// The text shown to the operator for an error that ended an action.
#pragma once

#include <QString>

namespace platform {

// The text of the error being handled; called only inside a catch block.
QString CaughtErrorText();

}  // namespace platform
