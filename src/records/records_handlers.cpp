// The main window's test records: saving and opening ".ktd" files, the CSV table, the printed
// protocol and the area entry box.
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>

#include "app/main.h"
#include "chart/chart.h"
#include "config/config.h"
#include "platform/file_attributes.h"
#include "platform/program_dir.h"
#include "records/csv_export.h"
#include "records/protocol.h"
#include "records/test_file.h"

namespace {

// The dialogs start in DBCustom under the program's folder; a fresh installation has none yet.
// Made in a shared program folder, it is shared by the operators too.
QString TestFolder() {
    const QString folder = platform::ProgramDir() + QStringLiteral("DBCustom");
    platform::CreateFolder(folder);
    return folder;
}

TFileDialogSetup TestFileDialog(const QString& title, bool confirmOverwrite) {
    return {title, QStringLiteral("Файлы результатов испытаний (*.ktd)"), TestFolder(),
            QStringLiteral("ktd"), confirmOverwrite};
}

// Handlers that work with files start and end in the program's folder.
class TInProgramFolder {
  public:
    TInProgramFolder() { QDir::setCurrent(platform::ProgramDir()); }
    ~TInProgramFolder() { QDir::setCurrent(platform::ProgramDir()); }
    TInProgramFolder(const TInProgramFolder&) = delete;
    TInProgramFolder& operator=(const TInProgramFolder&) = delete;
};

}  // namespace

void TMainForm::btSaveTestClick() {
    const TInProgramFolder folder;
    const QString path = Dialogs().SaveFileName(
        this, TestFileDialog(QStringLiteral("Сохранить результаты испытания..."), true));
    if (path.isEmpty()) {
        return;
    }
    if (edSQR->text().isEmpty()) {
        edSQR->setText(QStringLiteral("0"));
    }
    const TSpecimenData header =
        FillForSave(Measure.ClockReading.date(), edTestName->text(), edSampleName->text(),
                    edSampleType->text(), edSQR->text(), Store.Count, INI_FILE_DATA.FORCE_SCALE);
    const TFileResult saved = records::SaveTestFile(path, header, Store);
    if (!saved.ok) {
        // The test stays in the store and can be saved again under another name.
        Dialogs().Message(this, saved.error);
        return;
    }
    Specimen = header;
    btSaveTest->setEnabled(false);
    btToExel->setEnabled(true);
    btProtocol->setEnabled(true);
}

void TMainForm::btOpenTestClick() {
    const TInProgramFolder folder;
    const QString path = Dialogs().OpenFileName(
        this, TestFileDialog(QStringLiteral("Открыть результаты испытания..."), false));
    if (path.isEmpty()) {
        return;
    }
    const TOpenedTest opened = records::OpenTestFile(path, Store);
    if (!opened.ok) {
        Dialogs().Message(this, opened.error);
        return;
    }
    Specimen = opened.header;
    lbInfoDate->setText(opened.info.Date);
    lbInfoTest->setText(opened.info.Test);
    lbInfoMark->setText(opened.info.Mark);
    lbInfoType->setText(opened.info.Type);
    lbInfoSQR->setText(opened.info.SQR);
    lbInfoFmax->setText(opened.info.Fmax);
    lbInfoRmax->setText(opened.info.Rmax);

    chrtSignTraces->Series().Clear();
    for (int32_t i = 0; i < Store.Count; ++i) {
        chrtSignTraces->Series().AddXY(Store.TimeMs[i] * 0.001, Store.ForceN[i] * 0.001);
    }
    AutoScale();
    btProtocol->setEnabled(true);
    btToExel->setEnabled(true);
    pnInfo->show();
    if (!opened.warning.isEmpty()) {
        Dialogs().Message(this, opened.warning);
    }
}

void TMainForm::btToExelClick() {
    const TInProgramFolder folder;
    const QString path = Dialogs().SaveFileName(
        this, {QStringLiteral("Преобразовать в CSV формат..."), QStringLiteral("Файлы (*.csv)"),
               TestFolder(), QStringLiteral("csv"), true});
    if (path.isEmpty()) {
        return;
    }
    const TFileResult exported = records::ExportCsv(path, Store);
    if (!exported.ok) {
        Dialogs().Message(this, exported.error);
    }
}

void TMainForm::btProtocolClick() {
    chrtSignTraces->SetTitleLines(records::ProtocolHeading(Specimen));
    chrtSignTraces->ShowTitle(true);
    chrtSignTraces->Repaint();

    const std::unique_ptr<QPrinter> printer = Dialogs().DefaultPrinter();
    if (!printer) {
        Dialogs().Message(this, QStringLiteral("Протокол не напечатан: в системе не установлен "
                                               "принтер по умолчанию."));
    } else {
        printer->setPageOrientation(QPageLayout::Landscape);
        printer->setDocName(QStringLiteral("chrtSignTraces"));
        const QRect page = printer->pageLayout().paintRectPixels(printer->resolution());
        QPainter painter;
        if (painter.begin(printer.get())) {
            chrtSignTraces->RenderTo(painter,
                                     records::ProtocolPrintRect(page.width(), page.height()), 1.8);
            painter.end();
        } else {
            Dialogs().Message(this, QStringLiteral("Протокол не напечатан: принтер «%1» не "
                                                   "принял задание.")
                                        .arg(printer->printerName()));
        }
    }
    chrtSignTraces->ShowTitle(false);
}

bool TMainForm::edSQRKeyPress(QChar typed) {
    if (typed < QLatin1Char('0') || typed > QLatin1Char('9')) {
        return false;
    }
    QPalette palette = edSQR->palette();
    palette.setColor(QPalette::Base, Qt::white);
    edSQR->setPalette(palette);
    return !(typed == QLatin1Char('0') && edSQR->text().startsWith(QLatin1Char('0')));
}

void TMainForm::edSQRExit() {
    if (edSQR->text().isEmpty()) {
        edSQR->setText(QStringLiteral("0"));
    }
}
