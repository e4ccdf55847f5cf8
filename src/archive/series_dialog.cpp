#include "archive/series_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "archive/series_csv.h"
#include "archive/series_report.h"
#include "archive/series_texts.h"
#include "archive/station.h"
#include "platform/program_dir.h"
#include "ui/user_dialogs.h"

namespace archive {
namespace {

enum TColumn { kTest, kMark, kType, kDate, kArea, kFmax, kRmax, kCounted, kReason, kColumns };

QTableWidgetItem* ReadOnly(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

// The same members and rule: the kept series, whoever made it and when.
bool SameSeries(const TStoredSeries& a, const TStoredSeries& b) {
    return a.name == b.name && a.ruleKind == b.ruleKind && a.ruleK == b.ruleK &&
           a.members == b.members;
}

}  // namespace

TSeriesDialog::TSeriesDialog(const TArchiveSettings& settings, const std::vector<qint64>& testIds,
                             QString operatorName, QString machine, TUserDialogs& dialogs,
                             QWidget* parent)
    : QDialog(parent),
      operatorName_(std::move(operatorName)),
      machine_(std::move(machine)),
      dialogs_(dialogs) {
    setWindowTitle(QStringLiteral("Серия образцов"));
    BuildControls();
    QString error;
    archive_ = TArchive::Open(settings, &error);
    if (!archive_) {
        dialogs_.Message(this, QStringLiteral("Архив недоступен: %1").arg(error));
        return;
    }
    cbSeriesName->addItems(archive_->SeriesNames().value_or(QStringList{}));
    cbSeriesName->setCurrentText(QString());
    std::vector<TSeriesMember> members;
    for (const qint64 id : testIds) {
        members.push_back({id, false, QString()});
    }
    ShowTests(members);
    connect(cbSeriesName, &QComboBox::textActivated, this, &TSeriesDialog::LoadSeries);
}

TSeriesDialog::~TSeriesDialog() = default;

void TSeriesDialog::BuildControls() {
    cbSeriesName = new QComboBox(this);
    cbSeriesName->setObjectName(QStringLiteral("cbSeriesName"));
    cbSeriesName->setEditable(true);
    tbSpecimens = new QTableWidget(0, kColumns, this);
    tbSpecimens->setObjectName(QStringLiteral("tbSpecimens"));
    tbSpecimens->setHorizontalHeaderLabels(
        {QStringLiteral("Испытание"), QStringLiteral("Маркировка"), QStringLiteral("Тип"),
         QStringLiteral("Дата"), QStringLiteral("Площадь, мм.кв."), QStringLiteral("F max, кН"),
         QStringLiteral("R max, Н/мм.кв"), QStringLiteral("Учитывать"),
         QStringLiteral("Причина исключения")});
    tbSpecimens->horizontalHeader()->setStretchLastSection(true);
    rbAll = new QRadioButton(QStringLiteral("среднее всех учтённых образцов"), this);
    rbBest = new QRadioButton(QStringLiteral("среднее k наибольших, k ="), this);
    seBestK = new QSpinBox(this);
    seBestK->setRange(1, 99);
    seBestK->setValue(2);
    rbAll->setChecked(true);
    lbFigures = new QLabel(this);
    lbFigures->setObjectName(QStringLiteral("lbFigures"));

    auto* rule = new QHBoxLayout;
    rule->addWidget(rbAll);
    rule->addWidget(rbBest);
    rule->addWidget(seBestK);
    rule->addStretch();
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Название серии"), cbSeriesName);
    form->addRow(QStringLiteral("Прочность серии"), rule);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    const struct {
        const char* text;
        void (TSeriesDialog::*action)();
    } actions[] = {{"Печать...", &TSeriesDialog::Print},
                   {"Сохранить PDF...", &TSeriesDialog::SavePdf},
                   {"Сохранить CSV...", &TSeriesDialog::SaveCsv}};
    for (const auto& action : actions) {
        QPushButton* button =
            buttons->addButton(QString::fromUtf8(action.text), QDialogButtonBox::ActionRole);
        connect(button, &QPushButton::clicked, this, action.action);
    }
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(tbSpecimens);
    layout->addWidget(lbFigures);
    layout->addWidget(buttons);
    resize(900, 420);

    connect(tbSpecimens, &QTableWidget::itemChanged, this, &TSeriesDialog::ShowFigures);
    connect(rbAll, &QRadioButton::toggled, this, &TSeriesDialog::ShowFigures);
    connect(seBestK, &QSpinBox::valueChanged, this, &TSeriesDialog::ShowFigures);
}

void TSeriesDialog::ShowTests(const std::vector<TSeriesMember>& members) {
    std::vector<qint64> ids;
    for (const TSeriesMember& member : members) {
        ids.push_back(member.testId);
    }
    if (!archive_->FindEntries(ids, &entries_)) {
        dialogs_.Message(this, QStringLiteral("Архив не прочитан: %1").arg(archive_->Error()));
        entries_.clear();
    }
    const QSignalBlocker quiet(tbSpecimens);
    tbSpecimens->setRowCount(int(entries_.size()));
    for (int row = 0; row < int(entries_.size()); ++row) {
        const TArchiveEntry& e = entries_[size_t(row)];
        const QString texts[] = {e.testName,          e.marking,  e.sampleType,
                                 e.testDate,          e.areaText, e.fmaxText.trimmed(),
                                 e.rmaxText.trimmed()};
        for (int column = kTest; column <= kRmax; ++column) {
            tbSpecimens->setItem(row, column, ReadOnly(texts[column]));
        }
        auto* counted = ReadOnly(QString());
        counted->setFlags(counted->flags() | Qt::ItemIsUserCheckable);
        counted->setCheckState(members[size_t(row)].excluded ? Qt::Unchecked : Qt::Checked);
        tbSpecimens->setItem(row, kCounted, counted);
        tbSpecimens->setItem(row, kReason, new QTableWidgetItem(members[size_t(row)].reason));
    }
    ShowFigures();
}

void TSeriesDialog::LoadSeries(const QString& name) {
    std::optional<TStoredSeries> series;
    if (!archive_ || !archive_->FindSeries(name, &series) || !series) {
        return;
    }
    loaded_ = series;
    const TSeriesRule rule = RuleOf(*series);
    rbBest->setChecked(rule.kind == TSeriesRule::TKind::kBest);
    rbAll->setChecked(rule.kind == TSeriesRule::TKind::kAll);
    if (rule.kind == TSeriesRule::TKind::kBest) {
        seBestK->setValue(rule.k);
    }
    ShowTests(series->members);
}

TStoredSeries TSeriesDialog::SeriesShown() const {
    const bool best = rbBest->isChecked();
    TStoredSeries series{.name = cbSeriesName->currentText().trimmed(),
                         .ruleKind = best ? QStringLiteral("best") : QStringLiteral("all"),
                         .ruleK = best ? seBestK->value() : 0,
                         .madeAt = QDateTime::currentDateTimeUtc(),
                         .userAccount = CurrentAccount(),
                         .hostName = HostName(),
                         .operatorName = operatorName_,
                         .machine = machine_,
                         .members = {}};
    for (int row = 0; row < int(entries_.size()); ++row) {
        const bool excluded = tbSpecimens->item(row, kCounted)->checkState() != Qt::Checked;
        series.members.push_back(
            {entries_[size_t(row)].id, excluded,
             excluded ? tbSpecimens->item(row, kReason)->text().trimmed() : QString()});
    }
    return series;
}

void TSeriesDialog::ShowFigures() {
    std::vector<TSeriesSpecimen> specimens;
    const TStoredSeries series = SeriesShown();
    for (size_t i = 0; i < entries_.size(); ++i) {
        const TArchiveEntry& e = entries_[i];
        specimens.push_back({e.testName, e.marking, e.sampleType, e.testDate, e.areaText, e.fmaxN,
                             series.members[i].excluded, series.members[i].reason,
                             TSpecimenFile::kIntact});
    }
    const TSeriesRule rule = RuleOf(series);
    const TSeriesResult result = ComputeSeries(specimens, rule);
    lbFigures->setText(
        QStringLiteral("n = %1   среднее R = %2   s = %3   cv = %4 %   прочность серии (%5): %6")
            .arg(result.strength.n)
            .arg(FormatThree(result.strength.n > 0 ? std::optional(result.strength.mean)
                                                   : std::nullopt),
                 FormatThree(result.strength.s), FormatPercent(result.strength.cvPercent),
                 RuleText(rule),
                 result.seriesStrength ? FormatThree(*result.seriesStrength) : result.error));
}

bool TSeriesDialog::KeepSeries(TSeriesReport* report) {
    if (!archive_) {
        return false;
    }
    TStoredSeries series = SeriesShown();
    if (series.name.isEmpty() || series.members.empty()) {
        dialogs_.Message(this, QStringLiteral("Укажите название серии и её испытания."));
        return false;
    }
    // Unchanged, the series kept is printed as it was, with its own date.
    if (loaded_ && SameSeries(*loaded_, series)) {
        series = *loaded_;
    } else if (!archive_->SaveSeries(series)) {
        dialogs_.Message(this, QStringLiteral("Серия не сохранена: %1").arg(archive_->Error()));
        return false;
    }
    loaded_ = series;
    if (!ReportOf(*archive_, series, report)) {
        dialogs_.Message(this, QStringLiteral("Архив не прочитан: %1").arg(archive_->Error()));
        return false;
    }
    return true;
}

QString TSeriesDialog::AskPath(const QString& title, const QString& filter, const QString& suffix) {
    return dialogs_.SaveFileName(this, {title, filter, platform::ProgramDir(), suffix, true,
                                        cbSeriesName->currentText().trimmed() + '.' + suffix});
}

void TSeriesDialog::Print() {
    TSeriesReport report;
    if (!KeepSeries(&report)) {
        return;
    }
    const std::unique_ptr<QPrinter> printer = dialogs_.DefaultPrinter();
    if (!printer) {
        if (dialogs_.Question(this, QStringLiteral("В системе не установлен принтер по умолчанию.\n"
                                                   "Сохранить протокол в файл PDF?"))) {
            SavePdf();
        }
        return;
    }
    printer->setDocName(report.name);
    if (!DrawSeriesPage(*printer, report)) {
        dialogs_.Message(this, QStringLiteral("Протокол серии не напечатан: принтер «%1» не принял "
                                              "задание.")
                                   .arg(printer->printerName()));
    }
}

void TSeriesDialog::SavePdf() {
    TSeriesReport report;
    if (!KeepSeries(&report)) {
        return;
    }
    const QString path = AskPath(QStringLiteral("Сохранить протокол серии в PDF..."),
                                 QStringLiteral("Файлы PDF (*.pdf)"), QStringLiteral("pdf"));
    if (path.isEmpty()) {
        return;
    }
    const QString failure = WriteSeriesPdf(path, report);
    const QString shown = QDir::toNativeSeparators(path);
    dialogs_.Message(this,
                     failure.isEmpty()
                         ? QStringLiteral("Протокол серии сохранён в файл \"%1\".").arg(shown)
                         : QStringLiteral("Не удалось сохранить протокол серии в файл \"%1\": %2")
                               .arg(shown, failure));
}

void TSeriesDialog::SaveCsv() {
    TSeriesReport report;
    if (!KeepSeries(&report)) {
        return;
    }
    const QString path = AskPath(QStringLiteral("Сохранить таблицу серии в CSV..."),
                                 QStringLiteral("Файлы (*.csv)"), QStringLiteral("csv"));
    if (path.isEmpty()) {
        return;
    }
    const QString failure = WriteSeriesCsv(path, report.specimens, report.rule);
    if (!failure.isEmpty()) {
        dialogs_.Message(this,
                         QStringLiteral("Не удалось сохранить таблицу серии в файл \"%1\": %2")
                             .arg(QDir::toNativeSeparators(path), failure));
    }
}

}  // namespace archive
