// The application object: it shows the general error box as a message box, and an exception
// that still escapes an event handler is shown there too, and the program carries on.
#pragma once

#include <QApplication>

#include "platform/error_report.h"

class TApplication : public QApplication {
  public:
    TApplication(int& argc, char** argv);
    ~TApplication() override;

    bool notify(QObject* receiver, QEvent* event) override;

    // Tests replace the box with their own display; an empty function restores the box.
    static void SetErrorDisplay(platform::ErrorDisplay display);
};
