// The modal dialogs, message boxes, beep, printer and browser the recorder's windows use. The
// program shows the real ones; tests answer them through their own implementation.
#pragma once

#include <QString>
#include <functional>
#include <memory>

class QPrinter;
class QUrl;
class QWidget;

struct TFileDialogSetup {
    QString Title;
    QString Filter;  // Qt filter text, e.g. "Файлы (*.csv)"
    QString InitialDir;
    QString DefaultSuffix;
    bool ConfirmOverwrite = false;
    QString FileName = {};  // the name proposed in InitialDir; empty: none
};

// The picture beside a message's text.
enum class TMessageIcon { Information, None };

class TUserDialogs {
  public:
    virtual ~TUserDialogs() = default;
    // The chosen file's path, or an empty text when the operator cancels.
    virtual QString SaveFileName(QWidget* parent, const TFileDialogSetup& setup) = 0;
    virtual QString OpenFileName(QWidget* parent, const TFileDialogSetup& setup) = 0;
    // A modal message box with an OK button, titled with the application's title.
    virtual void Message(QWidget* parent, const QString& text,
                         TMessageIcon icon = TMessageIcon::Information) = 0;
    // The same box without waiting for it: the window goes on taking input while it is shown,
    // until the operator closes it.
    virtual void Notice(QWidget* parent, const QString& text) = 0;
    // A question with the buttons Yes (the default) and No; true for Yes.
    virtual bool Question(QWidget* parent, const QString& text) = 0;
    // The general error box: the text of an error that ended an operator's action.
    virtual void Error(QWidget* parent, const QString& text) = 0;
    // The system's error beep.
    virtual void Beep() = 0;
    // The system's default printer, or nullptr when none is installed.
    virtual std::unique_ptr<QPrinter> DefaultPrinter() = 0;
    // Asks the system to open a web address in the browser; the outcome is not looked at.
    virtual void OpenUrl(const QUrl& url) = 0;
};

std::unique_ptr<TUserDialogs> MakeDesktopDialogs();

// Runs an operator's action and shows the text of any error it throws in the general error box,
// so that no exception unwinds through Qt's event delivery, which is not built to be unwound.
void RunReportingErrors(TUserDialogs& dialogs, QWidget* parent,
                        const std::function<void()>& action);
