// The general error box: an error that ends an operator's action is shown with its text, and the
// program carries on. Handlers that can fail catch their errors and report them here, so that no
// exception ever unwinds through Qt's event delivery, which is not built to be unwound.
#pragma once

#include <QString>
#include <functional>

namespace platform {

using ErrorDisplay = std::function<void(const QString&)>;

// Shows an error text in the installed display; without one, the text goes to the log.
void ShowError(const QString& text);

// Installs the display (the application's message box, or a test's own); empty removes it.
void SetErrorDisplay(ErrorDisplay display);

// Shows the text of the error being handled; called only inside a catch block.
void ShowCaughtError();

// Runs an operator's action and shows the text of any error it throws.
void RunReportingErrors(const std::function<void()>& action);

}  // namespace platform
