#include "archive/file_state.h"

#include <fcntl.h>

#include <algorithm>

#include "archive/test_file_entry.h"
#include "platform/regular_file.h"

namespace archive {
namespace {

TFileCheck Found(TFileState state, const QString& reason) {
    return {state, reason};
}

TFileCheck NotOpened(int error, bool fromHere) {
    if (!fromHere) {
        return Found(TFileState::Elsewhere, QStringLiteral("файл сохранён на другом компьютере"));
    }
    const QString reason = platform::FileErrorText(error);
    if (error == ELOOP || error == platform::kNotRegularFile) {
        return Found(TFileState::Changed, reason);
    }
    return Found(TFileState::Missing, reason);
}

}  // namespace

TFileCheck CheckFile(const TStoredFile& file, const QString& thisHost) {
    int error = 0;
    const platform::TUniqueFd fd = platform::OpenRegularFile(file.path, O_RDONLY, error);
    if (!fd.IsValid()) {
        return NotOpened(error, file.hostName == thisHost);
    }
    // One byte more than the archived length shows a longer file without reading all of it; no
    // test file is longer than a full store.
    const qint64 bound = std::min(file.size, kLargestTestFile) + 1;
    const platform::TFileRead read = platform::ReadOpenFile(fd.Get(), bound);
    if (read.error != 0) {
        return Found(TFileState::Missing, platform::FileErrorText(read.error));
    }
    if (read.size != file.size || read.bytes.size() != file.size) {
        return Found(
            TFileState::Changed,
            QStringLiteral("длина файла %1 байт, а в архиве — %2").arg(read.size).arg(file.size));
    }
    if (Sha256Hex(read.bytes) != file.sha256) {
        return Found(TFileState::Changed,
                     QStringLiteral("содержимое изменилось после сохранения (SHA-256)"));
    }
    return {};
}

QString FileStateWord(TFileState state) {
    switch (state) {
        case TFileState::Ok:
            return QStringLiteral("ok");
        case TFileState::Changed:
            return QStringLiteral("changed");
        case TFileState::Missing:
            return QStringLiteral("missing");
        case TFileState::Elsewhere:
            break;
    }
    return QStringLiteral("elsewhere");
}

}  // namespace archive
