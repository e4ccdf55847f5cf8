#include "records/journal_folder.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <utility>
#include <vector>

namespace records {

namespace {

// More journals set aside within one second than this would be a fault of the caller.
constexpr int kMaxNumberPerSecond = 999;

const QRegularExpression& SetAsidePattern() {
    static const QRegularExpression pattern(QStringLiteral(
        R"(^~registration-(\d{4}-\d{2}-\d{2}_\d{2}-\d{2}-\d{2})(?:_([1-9]\d{0,2}))?\.ktd$)"));
    return pattern;
}

}  // namespace

QString JournalPath(const QString& folder) {
    return QDir(folder).filePath(QString::fromLatin1(kJournalFileName));
}

QString SetAsideName(const QDateTime& when, int number) {
    const QString stamp = when.toString(QStringLiteral("yyyy-MM-dd_hh-mm-ss"));
    const QString suffix = number > 1 ? QStringLiteral("_%1").arg(number) : QString();
    return QStringLiteral("~registration-%1%2.ktd").arg(stamp, suffix);
}

TMovedAside MoveAside(const QString& journalPath, const QDateTime& when) {
    const QDir folder = QFileInfo(journalPath).absoluteDir();
    for (int number = 1; number <= kMaxNumberPerSecond; ++number) {
        const QString target = folder.filePath(SetAsideName(when, number));
        if (QFileInfo::exists(target)) {
            continue;
        }
        QFile journal(journalPath);
        if (!journal.rename(target)) {
            return {{}, journal.errorString()};
        }
        return {target, {}};
    }
    return {{}, QStringLiteral("все имена этой секунды заняты")};
}

void KeepNewestSetAside(const QString& folder, int keep) {
    std::vector<std::pair<std::pair<QString, int>, QString>> setAside;  // (date, number), name
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const QRegularExpressionMatch match = SetAsidePattern().match(name);
        if (match.hasMatch()) {
            const int number = match.captured(2).isEmpty() ? 1 : match.captured(2).toInt();
            setAside.push_back({{match.captured(1), number}, name});
        }
    }
    if (static_cast<int>(setAside.size()) <= keep) {
        return;
    }
    std::sort(setAside.begin(), setAside.end(),
              [](const auto& a, const auto& b) { return a.first > b.first; });
    for (auto old = setAside.begin() + keep; old != setAside.end(); ++old) {
        QFile::remove(dir.filePath(old->second));
    }
}

}  // namespace records
