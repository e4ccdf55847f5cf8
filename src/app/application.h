// The application object: an exception that escapes an event handler is shown to the operator
// in a message box with its text, and the program carries on.
#pragma once

#include <QApplication>
#include <functional>

class TApplication : public QApplication {
  public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Shows an error text the way the application's general error box does.
    static void ShowError(const QString& text);

    // Tests replace the box with their own display; an empty function restores the box.
    static void SetErrorDisplay(std::function<void(const QString&)> display);
};
