#include "app/application.h"

#include "platform/error_report.h"

TApplication::TApplication(int& argc, char** argv)
    : QApplication(argc, argv), desktop_(MakeDesktopDialogs()), dialogs_(desktop_.get()) {}

TApplication::~TApplication() = default;

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        dialogs_->Error(nullptr, platform::CaughtErrorText());
    }
    return false;
}

void TApplication::UseDialogs(TUserDialogs* dialogs) {
    dialogs_ = dialogs != nullptr ? dialogs : desktop_.get();
}
