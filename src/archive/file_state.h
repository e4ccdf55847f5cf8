// Whether an archived file is still the one that was archived: there, of its length and with
// its SHA-256.
#pragma once

#include <QString>

#include "archive/archive.h"

namespace archive {

enum class TFileState {
    Ok,         // intact
    Changed,    // another length or other bytes, or something else than a file at its name
    Missing,    // not there, or not readable
    Elsewhere,  // saved on another PC, whose file this one does not have at that path
};

struct TFileCheck {
    TFileState state = TFileState::Ok;
    QString reason;  // what is wrong, in words, when not Ok
};

// Checks the file at its path; a file of another PC is checked wherever this PC has it too (a
// shared folder), and is Elsewhere otherwise.
TFileCheck CheckFile(const TStoredFile& file, const QString& thisHost);

// "ok", "changed", "missing", "elsewhere".
QString FileStateWord(TFileState state);

}  // namespace archive
