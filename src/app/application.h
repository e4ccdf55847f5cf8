// The application object: it holds the desktop's dialogs, which the program's windows use, and
// an exception that still escapes an event handler is shown in their general error box, after
// which the program carries on.
#pragma once

#include <QApplication>
#include <memory>

#include "ui/user_dialogs.h"

class TApplication : public QApplication {
  public:
    TApplication(int& argc, char** argv);
    ~TApplication() override;

    bool notify(QObject* receiver, QEvent* event) override;

    TUserDialogs& Dialogs() { return *dialogs_; }
    // Tests answer the dialogs themselves; nullptr brings the desktop's back.
    void UseDialogs(TUserDialogs* dialogs);

  private:
    std::unique_ptr<TUserDialogs> desktop_;
    TUserDialogs* dialogs_;
};
