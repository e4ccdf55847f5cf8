#include "archive/window_columns.h"

namespace archive {

QString ColumnHeading(TWindowColumn column) {
    switch (column) {
        case TWindowColumn::SavedAt:
            return QStringLiteral("Дата");
        case TWindowColumn::TestName:
            return QStringLiteral("Испытание");
        case TWindowColumn::Marking:
            return QStringLiteral("Маркировка");
        case TWindowColumn::SampleType:
            return QStringLiteral("Тип");
        case TWindowColumn::Area:
            return QStringLiteral("Площадь, мм.кв.");
        case TWindowColumn::Fmax:
            return QStringLiteral("F max, кН");
        case TWindowColumn::Rmax:
            return QStringLiteral("R max, Н/мм.кв");
        case TWindowColumn::Machine:
            return QStringLiteral("Пресс");
        case TWindowColumn::Operator:
            return QStringLiteral("Оператор");
        case TWindowColumn::File:
            break;
    }
    return QStringLiteral("Файл");
}

QString ColumnText(const TArchiveEntry& entry, TWindowColumn column) {
    switch (column) {
        case TWindowColumn::SavedAt:
            return entry.savedAt.toLocalTime().toString(QStringLiteral("dd.MM.yyyy HH:mm"));
        case TWindowColumn::TestName:
            return entry.testName;
        case TWindowColumn::Marking:
            return entry.marking;
        case TWindowColumn::SampleType:
            return entry.sampleType;
        case TWindowColumn::Area:
            return entry.areaText;
        case TWindowColumn::Fmax:
            return entry.fmaxText.trimmed();
        case TWindowColumn::Rmax:
            return entry.rmaxText.trimmed();
        case TWindowColumn::Machine:
            return entry.machine;
        case TWindowColumn::Operator:
            return entry.operatorName;
        case TWindowColumn::File:
            break;
    }
    return {};
}

bool IsNumberColumn(TWindowColumn column) {
    return column == TWindowColumn::Area || column == TWindowColumn::Fmax ||
           column == TWindowColumn::Rmax;
}

TSortColumn SortColumnOf(TWindowColumn column) {
    switch (column) {
        case TWindowColumn::TestName:
            return TSortColumn::TestName;
        case TWindowColumn::Marking:
            return TSortColumn::Marking;
        case TWindowColumn::SampleType:
            return TSortColumn::SampleType;
        case TWindowColumn::Area:
            return TSortColumn::Area;
        case TWindowColumn::Fmax:
            return TSortColumn::Fmax;
        case TWindowColumn::Rmax:
            return TSortColumn::Rmax;
        case TWindowColumn::Machine:
            return TSortColumn::Machine;
        case TWindowColumn::Operator:
            return TSortColumn::Operator;
        case TWindowColumn::File:
            return TSortColumn::FilePath;
        case TWindowColumn::SavedAt:
            break;
    }
    return TSortColumn::SavedAt;
}

QString FileStateText(TFileState state) {
    switch (state) {
        case TFileState::Ok:
            return QStringLiteral("в порядке");
        case TFileState::Changed:
            return QStringLiteral("изменён");
        case TFileState::Missing:
            return QStringLiteral("нет файла");
        case TFileState::Elsewhere:
            break;
    }
    return QStringLiteral("на другом ПК");
}

TStoredFile StoredFileOf(const TArchiveEntry& entry) {
    return {entry.id, entry.filePath, entry.fileSize, entry.sha256, entry.hostName};
}

}  // namespace archive
