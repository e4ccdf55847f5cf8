// Writing a whole file so that an existing one is replaced only by a complete new one.
#pragma once

#include <QByteArray>
#include <QString>

namespace records {

// Writes the bytes to a temporary file beside `path` and renames it over `path` once every
// byte is on disk. On failure the old file is left as it was, the temporary file is removed,
// and the reason is returned; an empty text means success. A replaced file keeps its
// permissions; a new one may be written by those the folder lets replace it (the operators of a
// shared program folder).
QString WriteWholeFile(const QString& path, const QByteArray& bytes);

}  // namespace records
