// The application object: it holds the desktop's dialogs, which the program's windows use, and
// an exception that still escapes an event handler is shown in their general error box, after
// which the program carries on. Qt's own texts (the buttons of message boxes, the file dialogs)
// are Russian, like the rest of the program, whatever the machine's locale.
#pragma once

#include <QApplication>
#include <QTranslator>
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
    QTranslator qtTexts_;
};
