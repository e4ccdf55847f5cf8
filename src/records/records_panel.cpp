#include "records/records_panel.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "chart/chart.h"
#include "config/config.h"
#include "measure/recording.h"
#include "platform/file_attributes.h"
#include "platform/program_dir.h"
#include "records/csv_export.h"
#include "records/info_panel.h"
#include "records/info_texts.h"
#include "records/journal_folder.h"
#include "records/protocol.h"
#include "records/protocol_page.h"
#include "records/test_file.h"
#include "ui/user_dialogs.h"
#include "ui/widgets.h"

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

void SetEnabled(QWidget* control, const std::optional<bool>& enabled) {
    if (enabled) {
        control->setEnabled(*enabled);
    }
}

}  // namespace

TRecordsPanel::TRecordsPanel(const TRecordsPlaces& places, TRecording& recording,
                             const TIniFileData& config, TChart& chart, TUserDialogs& dialogs,
                             QObject* parent)
    : QObject(parent), recording_(recording), config_(config), chart_(chart), dialogs_(dialogs) {
    BuildInfoPanel(places.client);
    BuildSpecimenBoxes(places.specimenGroup);
    BuildButtons(places.client);
    connect(&recording_, &TRecording::TestLoaded, this, &TRecordsPanel::ShowLoaded);
}

void TRecordsPanel::BuildSpecimenBoxes(QWidget* group) {
    const QString unknown = QStringLiteral("(...)");
    ui::MakeLabel(group, QStringLiteral("Испытание"), 10, 28);
    edTestName = ui::Named(ui::MakeEdit(group, unknown, 31, QRect(92, 24, 150, 21)), "edTestName");
    auto* heading = ui::MakeLabel(group, QStringLiteral("Образец"), 100, 58);
    heading->setStyleSheet(QStringLiteral("font-weight: bold;"));
    heading->adjustSize();
    ui::MakeLabel(group, QStringLiteral("Маркировка"), 10, 86);
    edSampleName =
        ui::Named(ui::MakeEdit(group, unknown, 19, QRect(92, 82, 150, 21)), "edSampleName");
    ui::MakeLabel(group, QStringLiteral("Тип ( форма )"), 10, 116);
    edSampleType =
        ui::Named(ui::MakeEdit(group, unknown, 19, QRect(92, 112, 150, 21)), "edSampleType");
    ui::MakeLabel(group, QStringLiteral("Площадь, мм.кв."), 10, 150);
    edSQR =
        ui::Named(ui::MakeEdit(group, QStringLiteral("1000"), 5, QRect(150, 146, 92, 21)), "edSQR");
    for (QLineEdit* box : {edTestName, edSampleName, edSampleType, edSQR}) {
        box->installEventFilter(this);
    }
    // Pasted or dropped text passes no key filter; the area still takes digits only.
    edSQR->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edSQR));
}

void TRecordsPanel::BuildInfoPanel(QWidget* client) {
    pnInfo = new records::TInfoPanel(client);
    pnInfo->move(770, 120);
    pnInfo->hide();
}

void TRecordsPanel::BuildButtons(QWidget* client) {
    const struct {
        QPushButton** button;
        const char* name;
        QRect place;
        const char* theme;
        QStyle::StandardPixmap fallback;
        QString hint;
        QKeySequence keys;
        void (TRecordsPanel::*click)();
    } buttons[] = {
        {&btOpenTest, "btOpenTest", QRect(773, 578, 59, 56), "document-open",
         QStyle::SP_DialogOpenButton, QStringLiteral("открыть испытание..."),
         QKeySequence(Qt::CTRL | Qt::Key_O), &TRecordsPanel::btOpenTestClick},
        {&btProtocol, "btProtocol", QRect(844, 579, 57, 55), "document-print",
         QStyle::SP_FileDialogDetailedView, QStringLiteral("печать протокола..."),
         QKeySequence(Qt::CTRL | Qt::Key_P), &TRecordsPanel::btProtocolClick},
        {&btSaveTest, "btSaveTest", QRect(912, 579, 58, 55), "document-save",
         QStyle::SP_DialogSaveButton, QStringLiteral("сохранить испытание..."),
         QKeySequence(Qt::CTRL | Qt::Key_S), &TRecordsPanel::btSaveTestClick},
        {&btToExel, "btToExel", QRect(980, 579, 45, 55), "x-office-spreadsheet",
         QStyle::SP_FileDialogListView, QStringLiteral("преобразовать в  CSV"),
         QKeySequence(Qt::CTRL | Qt::Key_E), &TRecordsPanel::btToExelClick},
    };
    for (const auto& item : buttons) {
        const QIcon picture = ui::ThemeIcon(client, QString::fromLatin1(item.theme), item.fallback);
        *item.button =
            ui::Named(ui::MakePictureButton(client, item.place, picture, item.hint), item.name);
        ui::AddShortcut(*item.button, item.keys);
        connect(*item.button, &QPushButton::clicked, this, item.click);
    }
    btToExel->setEnabled(false);
}

QWidget* TRecordsPanel::Window() const {
    return btOpenTest->window();
}

void TRecordsPanel::Apply(const TControlStates& states) {
    SetEnabled(btProtocol, states.Protocol);
    SetEnabled(btSaveTest, states.SaveTest);
    SetEnabled(btOpenTest, states.OpenTest);
    SetEnabled(btToExel, states.ToExel);
    if (states.InfoVisible) {
        pnInfo->setVisible(*states.InfoVisible);
    }
}

TSpecimenData TRecordsPanel::EnteredHeader(const QDate& date, int32_t sampleCount) {
    return FillForSave(date, edTestName->text(), edSampleName->text(), edSampleType->text(),
                       AreaText(), sampleCount, config_.FORCE_SCALE);
}

QString TRecordsPanel::AreaText() {
    if (edSQR->text().isEmpty()) {
        edSQR->setText(QStringLiteral("0"));
    }
    return edSQR->text();
}

void TRecordsPanel::btSaveTestClick() {
    const TInProgramFolder folder;
    const QString path = dialogs_.SaveFileName(
        Window(), TestFileDialog(QStringLiteral("Сохранить результаты испытания..."), true));
    if (path.isEmpty()) {
        return;
    }
    // A test under a journal's name would be taken for one: removed once its own registration's
    // test is saved, or pushed out among the journals set aside.
    if (records::IsJournalFileName(QFileInfo(path).fileName())) {
        dialogs_.Message(Window(), QStringLiteral("Испытание не сохранено в файл \"%1\": имена "
                                                  "~registration*.ktd носят журналы регистрации. "
                                                  "Сохраните испытание под другим именем.")
                                       .arg(QDir::toNativeSeparators(path)));
        return;
    }
    const std::optional<TSpecimenData>& recovered = recording_.Recovered();
    const TSpecimenData header = recovered ? *recovered
                                           : EnteredHeader(recording_.Measure().ClockReading.date(),
                                                           recording_.Store().Count);
    const TFileResult saved = records::SaveTestFile(path, header, recording_.Store());
    if (!saved.ok) {
        // The test stays in the store and can be saved again under another name.
        dialogs_.Message(Window(), saved.error);
        return;
    }
    testPath_ = path;
    TControlStates savedStates;
    savedStates.Protocol = true;
    savedStates.SaveTest = false;
    savedStates.ToExel = true;
    Apply(savedStates);
    recording_.MarkSaved(path, header);
}

void TRecordsPanel::btOpenTestClick() {
    const TInProgramFolder folder;
    const QString path = dialogs_.OpenFileName(
        Window(), TestFileDialog(QStringLiteral("Открыть результаты испытания..."), false));
    if (!path.isEmpty()) {
        Open(path);
    }
}

void TRecordsPanel::OpenTest(const QString& path) {
    if (!btOpenTest->isEnabled()) {
        dialogs_.Message(Window(), QStringLiteral("Испытание \"%1\" не открыто: сначала сохраните "
                                                  "или сбросьте испытание, которое на экране.")
                                       .arg(QDir::toNativeSeparators(path)));
        return;
    }
    Open(path);
}

void TRecordsPanel::Open(const QString& path) {
    const TOpenedTest opened = records::OpenTestFile(path, recording_.StoreToFill());
    if (!opened.ok) {
        dialogs_.Message(Window(), opened.error);
        return;
    }
    testPath_ = path;
    recording_.Loaded(opened.header, false);
    if (!opened.warning.isEmpty()) {
        dialogs_.Message(Window(), opened.warning);
    }
}

void TRecordsPanel::ShowLoaded(bool recovered) {
    const TInfoTexts info = records::MakeInfoTexts(recording_.Specimen(),
                                                   records::LargestStoredForce(recording_.Store()));
    pnInfo->Show(info);
    TControlStates shown;
    shown.Protocol = true;
    shown.ToExel = true;
    shown.InfoVisible = true;
    if (recovered) {
        shown.SaveTest = recording_.Store().Count > 2;
        shown.OpenTest = false;
    }
    Apply(shown);
}

void TRecordsPanel::btToExelClick() {
    const TInProgramFolder folder;
    const QString path = dialogs_.SaveFileName(
        Window(), {QStringLiteral("Преобразовать в CSV формат..."), QStringLiteral("Файлы (*.csv)"),
                   TestFolder(), QStringLiteral("csv"), true});
    if (path.isEmpty()) {
        return;
    }
    const TFileResult exported = records::ExportCsv(path, recording_.Store());
    if (!exported.ok) {
        dialogs_.Message(Window(), exported.error);
    }
}

void TRecordsPanel::btProtocolClick() {
    chart_.SetTitleLines(records::ProtocolHeading(recording_.Specimen()));
    chart_.ShowTitle(true);
    chart_.Repaint();
    const std::unique_ptr<QPrinter> printer = dialogs_.DefaultPrinter();
    if (printer) {
        PrintProtocol(*printer);
    } else {
        SaveProtocolAsPdf();
    }
    chart_.ShowTitle(false);
}

void TRecordsPanel::PrintProtocol(QPrinter& printer) {
    printer.setDocName(QStringLiteral("chrtSignTraces"));
    if (!records::DrawProtocolPage(printer, chart_)) {
        dialogs_.Message(Window(),
                         QStringLiteral("Протокол не напечатан: принтер «%1» не принял задание.")
                             .arg(printer.printerName()));
    }
}

// A PC at a press often has no printer: the same page can go to a PDF file instead.
void TRecordsPanel::SaveProtocolAsPdf() {
    if (!dialogs_.Question(Window(),
                           QStringLiteral("В системе не установлен принтер по умолчанию.\n"
                                          "Сохранить протокол в файл PDF?"))) {
        dialogs_.Message(Window(), QStringLiteral("Протокол не напечатан: в системе не установлен "
                                                  "принтер по умолчанию."));
        return;
    }
    const TInProgramFolder folder;
    const QString testName = QFileInfo(testPath_).completeBaseName();
    const QString path = dialogs_.SaveFileName(
        Window(), {QStringLiteral("Сохранить протокол в PDF..."),
                   QStringLiteral("Файлы PDF (*.pdf)"), TestFolder(), QStringLiteral("pdf"), true,
                   testName.isEmpty() ? QString() : testName + QStringLiteral(".pdf")});
    if (path.isEmpty()) {
        return;
    }
    const QString shown = QDir::toNativeSeparators(path);
    const QString failure = records::WriteProtocolPdf(path, chart_);
    dialogs_.Message(Window(),
                     failure.isEmpty()
                         ? QStringLiteral("Протокол сохранён в файл \"%1\".").arg(shown)
                         : QStringLiteral("Не удалось сохранить протокол в файл \"%1\": %2")
                               .arg(shown, failure));
}

bool TRecordsPanel::edSQRKeyPress(QChar typed) {
    if (typed < QLatin1Char('0') || typed > QLatin1Char('9')) {
        return false;
    }
    QPalette palette = edSQR->palette();
    palette.setColor(QPalette::Base, Qt::white);
    edSQR->setPalette(palette);
    return !(typed == QLatin1Char('0') && edSQR->text().startsWith(QLatin1Char('0')));
}

void TRecordsPanel::edSQRExit() {
    if (edSQR->text().isEmpty()) {
        edSQR->setText(QStringLiteral("0"));
    }
}

// On X11 an entry box takes Ctrl+E as "end of line" (End does the same); the file buttons' keys
// go to the buttons wherever the focus is.
bool TRecordsPanel::IsFileButtonKey(const QKeyEvent& key) const {
    const QKeySequence pressed(key.keyCombination());
    for (const QPushButton* button : {btOpenTest, btProtocol, btSaveTest, btToExel}) {
        if (button->isEnabled() && button->shortcut() == pressed) {
            return true;
        }
    }
    return false;
}

bool TRecordsPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride &&
        IsFileButtonKey(*static_cast<QKeyEvent*>(event))) {
        return true;  // not accepted: the button's shortcut comes first
    }
    if (watched != edSQR) {
        return QObject::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Only keys that type a character reach the filter; Delete and the arrows do not,
        // and Tab still moves the focus on.
        const bool moves = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (key->text().size() == 1 && key->key() != Qt::Key_Delete && !moves) {
            return !edSQRKeyPress(key->text().at(0));
        }
    } else if (event->type() == QEvent::FocusOut) {
        edSQRExit();
    }
    return false;
}
