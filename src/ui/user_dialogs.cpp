#include "ui/user_dialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>
#include <QUrl>

#include "platform/error_report.h"

namespace {

class TDesktopDialogs final : public TUserDialogs {
  public:
    QString SaveFileName(QWidget* parent, const TFileDialogSetup& setup) override {
        return Run(parent, setup, QFileDialog::AcceptSave);
    }
    QString OpenFileName(QWidget* parent, const TFileDialogSetup& setup) override {
        return Run(parent, setup, QFileDialog::AcceptOpen);
    }
    void Message(QWidget* parent, const QString& text, TMessageIcon icon) override {
        if (icon == TMessageIcon::Information) {
            QMessageBox::information(parent, QApplication::applicationName(), text,
                                     QMessageBox::Ok);
            return;
        }
        QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok,
                        parent);
        box.exec();
    }
    void Notice(QWidget* parent, const QString& text) override {
        auto* box = new QMessageBox(QMessageBox::Information, QApplication::applicationName(), text,
                                    QMessageBox::Ok, parent);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowModality(Qt::NonModal);  // a message box is modal unless told otherwise
        box->show();
    }
    bool Question(QWidget* parent, const QString& text) override {
        return QMessageBox::question(parent, QApplication::applicationName(), text,
                                     QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::Yes) == QMessageBox::Yes;
    }
    void Error(QWidget* parent, const QString& text) override {
        QMessageBox::critical(parent != nullptr ? parent : QApplication::activeWindow(),
                              QApplication::applicationName(), text, QMessageBox::Ok);
    }
    void Beep() override { QApplication::beep(); }
    std::unique_ptr<QPrinter> DefaultPrinter() override {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull()) {
            return nullptr;
        }
        return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    }
    void OpenUrl(const QUrl& url) override { QDesktopServices::openUrl(url); }

  private:
    static QString Run(QWidget* parent, const TFileDialogSetup& setup,
                       QFileDialog::AcceptMode mode) {
        QFileDialog dialog(parent, setup.Title, setup.InitialDir, setup.Filter);
        dialog.setAcceptMode(mode);
        dialog.setDefaultSuffix(setup.DefaultSuffix);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !setup.ConfirmOverwrite);
        dialog.setOption(QFileDialog::ReadOnly, false);
        // The open dialog accepts a typed name even when no such file exists.
        dialog.setFileMode(QFileDialog::AnyFile);
        if (!setup.FileName.isEmpty()) {
            dialog.selectFile(setup.FileName);
        }
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
            return {};
        }
        return dialog.selectedFiles().constFirst();
    }
};

}  // namespace

std::unique_ptr<TUserDialogs> MakeDesktopDialogs() {
    return std::make_unique<TDesktopDialogs>();
}

void RunReportingErrors(TUserDialogs& dialogs, QWidget* parent,
                        const std::function<void()>& action) {
    try {
        action();
    } catch (...) {
        dialogs.Error(parent, platform::CaughtErrorText());
    }
}
