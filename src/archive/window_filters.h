// The archive window's filter line: a text found in the test's name, marking, type, press or
// operator; a span of days the test was saved in; a press. Changed() comes once typing pauses,
// at once for the other controls.
#pragma once

#include <QStringList>
#include <QTimer>
#include <QWidget>

#include "archive/archive_query.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;

namespace archive {

class TFilterBar : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kTypingPauseMs = 250;

    explicit TFilterBar(QWidget* parent = nullptr);

    // The filter of the controls; its order and page are left as they come.
    TArchiveQuery Filter() const;
    // The presses of the archive; the chosen one stays chosen.
    void SetMachines(const QStringList& machines);

  signals:
    void Changed();

  private:
    QLineEdit* edFilter;
    QCheckBox* cbPeriod;
    QDateEdit* deFrom;
    QDateEdit* deTo;
    QComboBox* cbMachine;
    QTimer typing_;
};

}  // namespace archive
