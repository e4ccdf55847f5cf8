#include "archive/archive_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "about/about_pictures.h"
#include "archive/series_dialog.h"
#include "archive/station.h"
#include "archive/window_columns.h"
#include "archive/window_filters.h"
#include "archive/window_test_view.h"
#include "config/config.h"
#include "platform/profile.h"
#include "ui/user_dialogs.h"
#include "ui/widgets.h"

namespace archive {
namespace {

QString Shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// What the line under the shown test says of its file; empty when it is intact.
QString FileNote(const TArchiveEntry& entry, const TFileCheck& check) {
    switch (check.state) {
        case TFileState::Ok:
            return {};
        case TFileState::Changed:
            return QStringLiteral("Файл изменён после внесения в архив: %1.").arg(check.reason);
        case TFileState::Missing:
            return QStringLiteral("Файла нет на месте: %1.").arg(check.reason);
        case TFileState::Elsewhere:
            break;
    }
    return QStringLiteral("Файл сохранён на компьютере «%1», на этом компьютере его нет.")
        .arg(entry.hostName);
}

// A text as wide as the column's usual ones.
const char* const kColumnSamples[kWindowColumnCount] = {"00.00.0000 00:00",
                                                        "Испытание образца 00",
                                                        "Маркировка",
                                                        "куб 100",
                                                        "10000",
                                                        "0000.000",
                                                        "0000.000",
                                                        "П-0000",
                                                        "Иванов И. И.",
                                                        "на другом ПК"};

}  // namespace

TArchiveWindow::TArchiveWindow(const TArchiveSettings& settings, TUserDialogs& dialogs,
                               TArchiveWindowOptions options, QWidget* parent)
    : QWidget(parent),
      dialogs_(dialogs),
      settings_(settings),
      options_(std::move(options)),
      reader_(settings),
      files_(HostName()),
      rows_(reader_, files_) {
    if (options_.recorderProgram.isEmpty()) {
        options_.recorderProgram =
            QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("ve17"));
    }
    if (!options_.startProgram) {
        options_.startProgram = [](const QString& program, const QStringList& arguments) {
            return QProcess::startDetached(program, arguments);
        };
    }
    setWindowTitle(QString::fromUtf8(kArchiveWindowTitle));
    setWindowIcon(ProgramIcon());
    BuildLayout();

    connect(&reader_, &TArchiveReader::StatusRead, this, &TArchiveWindow::OnStatus);
    connect(&reader_, &TArchiveReader::MachinesRead, filters_, &TFilterBar::SetMachines);
    connect(&rows_, &TArchiveRows::CountsChanged, this, &TArchiveWindow::UpdateLines);
    connect(&rows_, &TArchiveRows::RowsArrived, this, &TArchiveWindow::ShowCurrent);
    connect(&files_, &TFileWork::CurveRead, test_, &TTestView::ShowCurve);
    connect(&files_, &TFileWork::Checked, this, &TArchiveWindow::OnChecked);
    connect(&files_, &TFileWork::CheckedNow, this, &TArchiveWindow::OnCheckedForOpening);
    connect(filters_, &TFilterBar::Changed, this, [this] { rows_.SetFilter(filters_->Filter()); });
    connect(btOpenInRecorder, &QPushButton::clicked, this, &TArchiveWindow::OpenInRecorder);
    connect(btSeries, &QPushButton::clicked, this, &TArchiveWindow::MakeSeries);
    connect(table_, &QTableView::doubleClicked, this, &TArchiveWindow::OpenInRecorder);

    // The first state is read before the first listing, so that an entry that comes between
    // the two is seen as new by the next look.
    reader_.AskStatus();
    SetUpTable();
    FitTable();
    poll_.setInterval(options_.pollEvery);
    poll_.callOnTimeout(&reader_, &TArchiveReader::AskStatus);
    poll_.start();
}

TArchiveWindow::~TArchiveWindow() = default;

void TArchiveWindow::BuildLayout() {
    filters_ = ui::Named(new TFilterBar(this), "filterBar");
    table_ = ui::Named(new QTableView(this), "tvArchive");
    test_ = ui::Named(new TTestView(this), "testView");
    btOpenInRecorder = ui::Named(new QPushButton(QStringLiteral("Открыть в регистраторе"), this),
                                 "btOpenInRecorder");
    btOpenInRecorder->setEnabled(false);
    btSeries = ui::Named(new QPushButton(QStringLiteral("Серия..."), this), "btSeries");
    lbCounts = ui::Named(new QLabel(this), "lbCounts");
    lbArchiveError = ui::Named(new QLabel(this), "lbArchiveError");
    lbArchiveError->setWordWrap(true);
    ui::SetColours(lbArchiveError, QColor(), Qt::red);
    lbArchiveError->hide();

    auto* side = new QWidget(this);
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addWidget(test_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btSeries);
    buttons->addWidget(btOpenInRecorder);
    sideLayout->addLayout(buttons);
    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->addWidget(table_);
    splitter_->addWidget(side);
    splitter_->setStretchFactor(0, 3);
    splitter_->setStretchFactor(1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filters_);
    layout->addWidget(lbArchiveError);
    layout->addWidget(splitter_, 1);
    layout->addWidget(lbCounts);
}

// Room for every column of the table, the file's state included, and the chart beside it.
void TArchiveWindow::FitTable() {
    constexpr int kSideWidth = 470;
    const int tableWidth = table_->horizontalHeader()->length() +
                           table_->verticalScrollBar()->sizeHint().width() +
                           2 * table_->frameWidth();
    splitter_->setSizes({tableWidth, kSideWidth});
    const QRect room = screen()->availableGeometry();
    resize(std::min(tableWidth + kSideWidth + 40, room.width()), std::min(860, room.height()));
}

void TArchiveWindow::SetUpTable() {
    table_->setModel(&rows_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    table_->setAlternatingRowColors(true);
    // Rows of one height, never measured: the view then never asks for rows it does not show.
    QHeaderView* rowsHeader = table_->verticalHeader();
    rowsHeader->hide();
    rowsHeader->setSectionResizeMode(QHeaderView::Fixed);
    rowsHeader->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    // Widths from the texts, never from the rows: measuring rows would read them all.
    QHeaderView* heading = table_->horizontalHeader();
    constexpr int kPadding = 24;  // the margins and the sort arrow
    for (int column = 0; column < kWindowColumnCount; ++column) {
        const int text =
            table_->fontMetrics().horizontalAdvance(QString::fromUtf8(kColumnSamples[column]));
        const int title =
            heading->fontMetrics().horizontalAdvance(ColumnHeading(TWindowColumn(column)));
        heading->resizeSection(column, std::max(text, title) + kPadding);
    }
    heading->setSortIndicator(int(TWindowColumn::SavedAt), Qt::DescendingOrder);
    // Sorting asks the rows for the first listing, in the archive's newest-first order.
    table_->setSortingEnabled(true);
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TArchiveWindow::ShowCurrent);
}

void TArchiveWindow::OnStatus(const TArchiveStatus& status) {
    const std::optional<TArchiveStatus> before = status_;
    status_ = status;
    if (status.error.isEmpty()) {
        const bool changed = before && !status.SameContents(*before);
        if (changed || !rows_.Listed() || !rows_.Error().isEmpty()) {
            rows_.Refresh();
        }
        if (!before || changed) {
            reader_.AskMachines();
        }
    }
    UpdateLines();
}

void TArchiveWindow::UpdateLines() {
    QString error = status_ ? status_->error : QString();
    if (error.isEmpty()) {
        error = rows_.Error();
    }
    lbArchiveError->setText(QStringLiteral("Нет доступа к архиву испытаний: %1").arg(error));
    lbArchiveError->setVisible(!error.isEmpty());

    QStringList parts;
    if (rows_.Listed()) {
        parts << QStringLiteral("Показано испытаний: %1 из %2 в архиве")
                     .arg(rows_.Count())
                     .arg(rows_.Total());
    }
    if (status_ && status_->queued > 0) {
        parts << QStringLiteral("В очереди на внесение в архив: %1").arg(status_->queued);
    }
    lbCounts->setText(parts.join(QStringLiteral(". ")));
}

void TArchiveWindow::ShowCurrent() {
    const QModelIndex current = table_->selectionModel()->currentIndex();
    const TArchiveEntry* entry = current.isValid() ? rows_.EntryAt(current.row()) : nullptr;
    // A row whose page has not come yet, or no row: what is shown stays.
    if (entry == nullptr || (shown_ && shown_->id == entry->id)) {
        return;
    }
    shown_ = *entry;
    test_->ShowEntry(*entry);
    if (const auto check = rows_.FileCheckOf(entry->id)) {
        test_->ShowFileNote(FileNote(*entry, *check));
    }
    files_.ReadCurve(entry->id, entry->filePath);
    btOpenInRecorder->setEnabled(true);
}

void TArchiveWindow::OnChecked(qint64 id, const TFileCheck& check) {
    if (shown_ && shown_->id == id) {
        test_->ShowFileNote(FileNote(*shown_, check));
    }
}

void TArchiveWindow::OpenInRecorder() {
    if (!shown_ || opening_ != 0) {
        return;
    }
    // Checked afresh: the file may have changed since its row was checked.
    opening_ = shown_->id;
    files_.CheckNow(StoredFileOf(*shown_));
}

void TArchiveWindow::OnCheckedForOpening(qint64 id, const TFileCheck& check) {
    if (id != opening_) {
        return;
    }
    opening_ = 0;
    if (!shown_ || shown_->id != id) {
        return;
    }
    const QString path = shown_->filePath;
    switch (check.state) {
        case TFileState::Ok:
            StartRecorder(path);
            return;
        case TFileState::Changed:
            if (dialogs_.Question(this, QStringLiteral("Файл «%1» изменён после внесения в архив "
                                                       "(%2).\nОткрыть его в регистраторе таким, "
                                                       "каков он сейчас?")
                                            .arg(Shown(path), check.reason))) {
                StartRecorder(path);
            }
            return;
        case TFileState::Missing:
        case TFileState::Elsewhere:
            break;
    }
    dialogs_.Message(this, QStringLiteral("Открыть в регистраторе нечего. %1\n%2")
                               .arg(FileNote(*shown_, check), Shown(path)));
}

void TArchiveWindow::StartRecorder(const QString& path) {
    const QString& program = options_.recorderProgram;
    if (!QFileInfo(program).isExecutable()) {
        dialogs_.Message(this, QStringLiteral("Регистратор не найден: %1").arg(Shown(program)));
        return;
    }
    if (!options_.startProgram(program, {path})) {
        dialogs_.Message(this,
                         QStringLiteral("Регистратор не запускается: %1").arg(Shown(program)));
    }
}

std::vector<qint64> TArchiveWindow::SelectedIds() const {
    QModelIndexList selected = table_->selectionModel()->selectedRows();
    std::sort(selected.begin(), selected.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::vector<qint64> ids;
    for (const QModelIndex& index : selected) {
        if (const TArchiveEntry* entry = rows_.EntryAt(index.row())) {
            ids.push_back(entry->id);
        }
    }
    return ids;
}

void TArchiveWindow::MakeSeries() {
    const TIniFileData config =
        ReadIniRecord(platform::PrivateProfile(QFile::encodeName(IniFilePath()).toStdString()));
    TSeriesDialog dialog(settings_, SelectedIds(), config.NAME, config.MACHINE, dialogs_, this);
    dialog.exec();
}

}  // namespace archive
