// Writing a whole file so that an existing one is replaced only by a complete new one that is
// on the disk, in a folder that several operators may share.
#pragma once

#include <sys/types.h>

#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

// Writes the bytes to a new file created exclusively in the folder of `path`, sets its mode on
// its descriptor, syncs its data, renames it over `path` and syncs the folder, so the new name
// is on the disk too. A link at `path` is replaced by the file, never written through. The
// mode is `mode` when given; otherwise that of the regular file replaced or, for a new name,
// one that those the folder lets replace it may write (the operators of a shared folder).
// Returns an empty text once everything is on the disk; otherwise the reason. A failure before
// the rename leaves `path` as it was and removes the new file; a failed sync of the folder comes
// after it, so `path` then holds the new bytes, but the save is not known to survive a power
// loss and is a failed one all the same.
QString WriteWholeFile(const QString& path, const QByteArray& bytes,
                       std::optional<mode_t> mode = std::nullopt);

}  // namespace platform
