#include "archive/window_filters.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "ui/widgets.h"

namespace archive {
namespace {

QDateEdit* MakeDateEdit(QWidget* parent, const QDate& date, const char* name) {
    auto* edit = ui::Named(new QDateEdit(date, parent), name);
    edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    edit->setCalendarPopup(true);
    edit->setEnabled(false);
    return edit;
}

}  // namespace

TFilterBar::TFilterBar(QWidget* parent)
    : QWidget(parent),
      edFilter(ui::Named(new QLineEdit(this), "edFilter")),
      cbPeriod(ui::Named(new QCheckBox(QStringLiteral("Сохранены с"), this), "cbPeriod")),
      deFrom(MakeDateEdit(this, QDate::currentDate().addMonths(-1), "deFrom")),
      deTo(MakeDateEdit(this, QDate::currentDate(), "deTo")),
      cbMachine(ui::Named(new QComboBox(this), "cbMachine")) {
    edFilter->setPlaceholderText(QStringLiteral("испытание, маркировка, тип, пресс, оператор"));
    edFilter->setClearButtonEnabled(true);
    edFilter->setMinimumWidth(260);
    cbMachine->addItem(QStringLiteral("все прессы"));
    cbMachine->setSizeAdjustPolicy(QComboBox::AdjustToContents);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Найти:"), this));
    layout->addWidget(edFilter, 1);
    layout->addSpacing(12);
    layout->addWidget(cbPeriod);
    layout->addWidget(deFrom);
    layout->addWidget(new QLabel(QStringLiteral("по"), this));
    layout->addWidget(deTo);
    layout->addSpacing(12);
    layout->addWidget(new QLabel(QStringLiteral("Пресс:"), this));
    layout->addWidget(cbMachine);

    typing_.setSingleShot(true);
    typing_.setInterval(kTypingPauseMs);
    typing_.callOnTimeout(this, &TFilterBar::Changed);
    connect(edFilter, &QLineEdit::textChanged, this, [this] { typing_.start(); });
    connect(cbPeriod, &QCheckBox::toggled, this, [this](bool on) {
        deFrom->setEnabled(on);
        deTo->setEnabled(on);
        emit Changed();
    });
    for (QDateEdit* edit : {deFrom, deTo}) {
        connect(edit, &QDateEdit::dateChanged, this, [this] {
            if (cbPeriod->isChecked()) {
                emit Changed();
            }
        });
    }
    connect(cbMachine, &QComboBox::currentIndexChanged, this, &TFilterBar::Changed);
}

TArchiveQuery TFilterBar::Filter() const {
    TArchiveQuery filter;
    filter.text = edFilter->text().trimmed();
    if (cbPeriod->isChecked()) {
        // Whole days of this PC's calendar, the last one included.
        filter.from = QDateTime(deFrom->date(), QTime(0, 0));
        filter.before = QDateTime(deTo->date().addDays(1), QTime(0, 0));
    }
    if (cbMachine->currentIndex() > 0) {
        filter.machine = cbMachine->currentText();
    }
    return filter;
}

void TFilterBar::SetMachines(const QStringList& named) {
    // A press without a name cannot be asked for: an empty press is no filter.
    QStringList machines = named;
    machines.removeAll(QString());
    QStringList items{cbMachine->itemText(0)};
    items << machines;
    QStringList present;
    for (int i = 0; i < cbMachine->count(); ++i) {
        present << cbMachine->itemText(i);
    }
    if (present == items) {
        return;
    }
    const QString chosen = cbMachine->currentIndex() > 0 ? cbMachine->currentText() : QString();
    const QSignalBlocker quiet(cbMachine);
    cbMachine->clear();
    cbMachine->addItems(items);
    // A press that has gone from the list (only a hand-edited archive loses one) is kept, so
    // that the filter stays what the operator chose.
    if (!chosen.isEmpty() && !machines.contains(chosen)) {
        cbMachine->addItem(chosen);
    }
    cbMachine->setCurrentIndex(chosen.isEmpty() ? 0 : cbMachine->findText(chosen));
}

}  // namespace archive
