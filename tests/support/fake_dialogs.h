// Dialogs answered by the test: chosen file names, recorded messages and errors, a PDF "printer",
// the opened web addresses.
#pragma once

#include <QPrinter>
#include <QStringList>
#include <QUrl>
#include <functional>

#include "ui/user_dialogs.h"

class TFakeDialogs final : public TUserDialogs {
  public:
    QStringList fileAnswers;  // taken in order; an empty list answers "cancelled"
    QString pdfPath;          // where the "default printer" prints; empty: no printer installed
    QStringList messages;     // every message box shown, a notice too
    QList<TMessageIcon> messageIcons;  // beside each of them
    QStringList notices;               // those that did not wait for the operator
    QStringList questions;
    QList<bool> questionAnswers;  // taken in order; an empty list answers No
    QStringList errors;           // shown in the general error box
    QList<TFileDialogSetup> fileDialogs;
    QList<QUrl> openedUrls;
    int beeps = 0;
    // Runs while a modal box would be on the screen: a message, a question or an error.
    std::function<void()> whileShown;

    QString SaveFileName(QWidget*, const TFileDialogSetup& setup) override { return Next(setup); }
    QString OpenFileName(QWidget*, const TFileDialogSetup& setup) override { return Next(setup); }
    void Message(QWidget*, const QString& text,
                 TMessageIcon icon = TMessageIcon::Information) override {
        messages << text;
        messageIcons << icon;
        Shown();
    }
    // Shown without waiting: whileShown does not run.
    void Notice(QWidget*, const QString& text) override {
        messages << text;
        messageIcons << TMessageIcon::Information;
        notices << text;
    }
    bool Question(QWidget*, const QString& text) override {
        questions << text;
        Shown();
        return !questionAnswers.isEmpty() && questionAnswers.takeFirst();
    }
    void Error(QWidget*, const QString& text) override {
        errors << text;
        Shown();
    }
    void Beep() override { ++beeps; }
    std::unique_ptr<QPrinter> DefaultPrinter() override {
        if (pdfPath.isEmpty()) {
            return nullptr;
        }
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdfPath);
        return printer;
    }
    void OpenUrl(const QUrl& url) override { openedUrls << url; }

  private:
    void Shown() {
        if (whileShown) {
            whileShown();
        }
    }
    QString Next(const TFileDialogSetup& setup) {
        fileDialogs << setup;
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }
};
