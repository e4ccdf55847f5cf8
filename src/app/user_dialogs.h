// The modal dialogs, message boxes, beep and printer the main window uses.
// The program shows the real ones; tests answer them through their own implementation.
#pragma once

#include <QString>
#include <memory>

class QPrinter;
class QWidget;

struct TFileDialogSetup {
    QString Title;
    QString Filter;  // Qt filter text, e.g. "Файлы (*.csv)"
    QString InitialDir;
    QString DefaultSuffix;
    bool ConfirmOverwrite = false;
};

class TUserDialogs {
  public:
    virtual ~TUserDialogs() = default;
    // The chosen file's path, or an empty text when the operator cancels.
    virtual QString SaveFileName(QWidget* parent, const TFileDialogSetup& setup) = 0;
    virtual QString OpenFileName(QWidget* parent, const TFileDialogSetup& setup) = 0;
    // A modal message box with an OK button, titled with the application's title.
    virtual void Message(QWidget* parent, const QString& text) = 0;
    // The system's error beep.
    virtual void Beep() = 0;
    // The system's default printer, or nullptr when none is installed.
    virtual std::unique_ptr<QPrinter> DefaultPrinter() = 0;
};

std::unique_ptr<TUserDialogs> MakeDesktopDialogs();
