// The registration journal's files in the test folder (DBCustom): the journal itself and the
// journals set aside under dated names, of which only the newest are kept. The folder is
// worked on through its open descriptor, as several operators share it.
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

// Whether a file of this name, in any folder, would pass for a journal: "~registration*.ktd".
bool IsJournalFileName(const QString& fileName);

struct TMovedAside {
    QString name;   // the new name in the folder, empty when the move failed
    QString error;  // the reason when it failed
};

// Renames the journal in the open folder to the first set-aside name of `when` that is free.
// It never replaces anything (a link at a name, dangling or not, takes the name too) and never
// copies.
TMovedAside MoveAside(int folder, const QDateTime& when);

// Removes all but the `keep` newest set-aside journals of this operator (the files this user
// owns) in the open folder; another operator's are neither counted nor touched. Newest by the
// modification time, and by the date and number in the name only among equal times: the name
// carries the local time at the move, which a clock set back or a change of the time zone turns
// back. `spared`, the journal just set aside, stays whatever its times say. Only regular files
// of a set-aside name count; a link is never followed, and a file that cannot be removed stays.
void KeepNewestSetAside(int folder, int keep, const QString& spared = {});

}  // namespace records
