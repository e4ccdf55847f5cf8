#include "records/csv_export.h"

#include <QDir>
#include <algorithm>

#include "platform/file_replace.h"

namespace records {

QByteArray CsvTable(const TSampleStore& store) {
    const int32_t count = std::clamp(store.Count, 0, kStoreCapacity);
    QByteArray table("     T, ms    \t     F, N     \n");
    for (int32_t i = 0; i < count; ++i) {
        table += ' ' + QByteArray::number(store.TimeMs[i]) + " \t  " +
                 QByteArray::number(store.ForceN[i]) + "  \n";
    }
    return table;
}

TFileResult ExportCsv(const QString& path, const TSampleStore& store) {
    TFileResult result;
    const QString reason = platform::WriteWholeFile(path, CsvTable(store));
    result.ok = reason.isEmpty();
    if (!result.ok) {
        result.error = QStringLiteral("Не удалось записать таблицу в файл \"%1\": %2")
                           .arg(QDir::toNativeSeparators(path), reason);
    }
    return result;
}

}  // namespace records
