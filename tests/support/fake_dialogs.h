// Dialogs answered by the test: chosen file names, recorded messages, a PDF "printer".
// The window owns the dialogs; the test keeps the shared script and reads it back.
#pragma once

#include <QPrinter>
#include <QStringList>
#include <memory>

#include "app/user_dialogs.h"

struct TDialogScript {
    QStringList fileAnswers;  // taken in order; an empty list answers "cancelled"
    QString pdfPath;          // where the "default printer" prints; empty: no printer installed
    QStringList messages;
    QList<TFileDialogSetup> fileDialogs;
    int beeps = 0;
};

class TFakeDialogs final : public TUserDialogs {
  public:
    explicit TFakeDialogs(std::shared_ptr<TDialogScript> script) : script_(std::move(script)) {}

    QString SaveFileName(QWidget*, const TFileDialogSetup& setup) override { return Next(setup); }
    QString OpenFileName(QWidget*, const TFileDialogSetup& setup) override { return Next(setup); }
    void Message(QWidget*, const QString& text) override { script_->messages << text; }
    void Beep() override { ++script_->beeps; }
    std::unique_ptr<QPrinter> DefaultPrinter() override {
        if (script_->pdfPath.isEmpty()) {
            return nullptr;
        }
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(script_->pdfPath);
        return printer;
    }

  private:
    QString Next(const TFileDialogSetup& setup) {
        script_->fileDialogs << setup;
        return script_->fileAnswers.isEmpty() ? QString() : script_->fileAnswers.takeFirst();
    }

    std::shared_ptr<TDialogScript> script_;
};
