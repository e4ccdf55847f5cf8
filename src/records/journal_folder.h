// The registration journal's files in the test folder (DBCustom): the journal itself and the
// journals set aside under dated names, of which only the newest are kept.
#pragma once

#include <QDateTime>
#include <QString>

namespace records {

inline constexpr const char* kJournalFileName = "~registration.ktd";
inline constexpr int kSetAsideKept = 20;

QString JournalPath(const QString& folder);

// "~registration-2026-12-10_14-03-27.ktd" for the first journal set aside in that second,
// then "..._2.ktd", "..._3.ktd" and so on.
QString SetAsideName(const QDateTime& when, int number);

struct TMovedAside {
    QString path;   // the new name, empty when the move failed
    QString error;  // the reason when it failed
};

// Renames the journal to the first free set-aside name of `when` in its folder.
TMovedAside MoveAside(const QString& journalPath, const QDateTime& when);

// Removes all but the `keep` newest set-aside journals in the folder, newest by the date and
// number in their names. No other file is touched; a file that cannot be removed stays.
void KeepNewestSetAside(const QString& folder, int keep);

}  // namespace records
