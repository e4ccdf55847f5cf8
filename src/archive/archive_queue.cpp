#include "archive/archive_queue.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <algorithm>
#include <memory>

#include "platform/file_attributes.h"
#include "platform/file_replace.h"
#include "platform/regular_file.h"
#include "platform/unique_fd.h"

namespace archive {
namespace {

// "<milliseconds since 1970, 13 digits>-<random>.entry": the name orders the entries by the
// time they were queued.
const QRegularExpression& NamePattern() {
    static const QRegularExpression pattern(QStringLiteral(R"(^\d{13}-[0-9a-z]{1,13}\.entry$)"));
    return pattern;
}

QString NewName() {
    return QStringLiteral("%1-%2.entry")
        .arg(QDateTime::currentMSecsSinceEpoch(), 13, 10, QLatin1Char('0'))
        .arg(QRandomGenerator::global()->generate64(), 0, 36);
}

platform::TUniqueFd OpenFolder(const QString& folder) {
    return platform::TUniqueFd(::open(QFile::encodeName(folder).constData(),
                                      O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

struct TCloseDir {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

bool IsSha256(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^[0-9a-f]{64}$"));
    return pattern.match(text).hasMatch();
}

QJsonValue OptionalValue(const std::optional<int>& value) {
    return value ? QJsonValue(*value) : QJsonValue();
}
QJsonValue OptionalValue(const std::optional<double>& value) {
    return value ? QJsonValue(*value) : QJsonValue();
}

// A whole number of the object within the bounds, or nothing.
std::optional<qint64> Whole(const QJsonObject& o, const char* key, qint64 low, qint64 high) {
    const QJsonValue value = o.value(QLatin1String(key));
    if (!value.isDouble()) {
        return std::nullopt;
    }
    const double number = value.toDouble();
    if (number != static_cast<double>(static_cast<qint64>(number)) || number < low ||
        number > high) {
        return std::nullopt;
    }
    return static_cast<qint64>(number);
}

bool ReadTexts(const QJsonObject& o, TArchiveEntry& e) {
    const std::pair<const char*, QString*> texts[] = {
        {"file_path", &e.filePath},
        {"sha256", &e.sha256},
        {"user_account", &e.userAccount},
        {"host_name", &e.hostName},
        {"operator_name", &e.operatorName},
        {"machine", &e.machine},
        {"test_date", &e.testDate},
        {"test_name", &e.testName},
        {"marking", &e.marking},
        {"sample_type", &e.sampleType},
        {"area_text", &e.areaText},
        {"fmax_text", &e.fmaxText},
        {"rmax_text", &e.rmaxText},
    };
    for (const auto& [key, field] : texts) {
        const QJsonValue value = o.value(QLatin1String(key));
        if (!value.isString()) {
            return false;
        }
        *field = value.toString();
    }
    return QDir::isAbsolutePath(e.filePath) && IsSha256(e.sha256);
}

bool ReadNumbers(const QJsonObject& o, TArchiveEntry& e) {
    constexpr qint64 kInt32 = 2147483647;
    const auto size = Whole(o, "file_size", 0, kInt32);
    const auto saved = Whole(o, "saved_at", 0, 253402300799999LL);  // up to the year 9999
    const auto serNum = Whole(o, "ser_num", -32768, 32767);
    const auto scale = Whole(o, "force_scale", -32768, 32767);
    const auto count = Whole(o, "sample_count", 0, kInt32);
    const auto fmaxN = Whole(o, "fmax_n", 0, kInt32);
    const QJsonValue fmaxKn = o.value(QLatin1String("fmax_kn"));
    if (!size || !saved || !serNum || !scale || !count || !fmaxN || !fmaxKn.isDouble()) {
        return false;
    }
    e.fileSize = *size;
    e.savedAt = QDateTime::fromMSecsSinceEpoch(*saved, Qt::UTC);
    e.serNum = static_cast<int>(*serNum);
    e.forceScale = static_cast<int>(*scale);
    e.sampleCount = static_cast<int>(*count);
    e.fmaxN = static_cast<int32_t>(*fmaxN);
    e.fmaxKn = fmaxKn.toDouble();
    return true;
}

bool ReadOptionals(const QJsonObject& o, TArchiveEntry& e) {
    const QJsonValue period = o.value(QLatin1String("period_ms"));
    if (!period.isNull()) {
        const auto value = Whole(o, "period_ms", 1, 65535);
        if (!value) {
            return false;
        }
        e.periodMs = static_cast<int>(*value);
    }
    const std::pair<const char*, std::optional<double>*> numbers[] = {{"area_mm2", &e.areaMm2},
                                                                      {"rmax", &e.rmax}};
    for (const auto& [key, field] : numbers) {
        const QJsonValue value = o.value(QLatin1String(key));
        if (value.isDouble()) {
            *field = value.toDouble();
        } else if (!value.isNull()) {
            return false;
        }
    }
    const QString origin = o.value(QLatin1String("origin")).toString();
    if (origin != QLatin1String("save") && origin != QLatin1String("import")) {
        return false;
    }
    e.origin = origin == QLatin1String("import") ? TOrigin::Imported : TOrigin::Saved;
    return true;
}

}  // namespace

QByteArray QueuedEntryBytes(const TArchiveEntry& e) {
    const QJsonObject o{
        {"file_path", e.filePath},
        {"file_size", e.fileSize},
        {"sha256", e.sha256},
        {"saved_at", e.savedAt.toMSecsSinceEpoch()},
        {"user_account", e.userAccount},
        {"host_name", e.hostName},
        {"operator_name", e.operatorName},
        {"machine", e.machine},
        {"ser_num", e.serNum},
        {"test_date", e.testDate},
        {"test_name", e.testName},
        {"marking", e.marking},
        {"sample_type", e.sampleType},
        {"area_text", e.areaText},
        {"force_scale", e.forceScale},
        {"sample_count", e.sampleCount},
        {"period_ms", OptionalValue(e.periodMs)},
        {"fmax_n", e.fmaxN},
        {"fmax_kn", e.fmaxKn},
        {"area_mm2", OptionalValue(e.areaMm2)},
        {"rmax", OptionalValue(e.rmax)},
        {"fmax_text", e.fmaxText},
        {"rmax_text", e.rmaxText},
        {"origin", e.origin == TOrigin::Imported ? "import" : "save"},
    };
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

std::optional<TArchiveEntry> QueuedEntryOf(const QByteArray& bytes) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        return std::nullopt;
    }
    const QJsonObject o = document.object();
    TArchiveEntry entry;
    if (!ReadTexts(o, entry) || !ReadNumbers(o, entry) || !ReadOptionals(o, entry)) {
        return std::nullopt;
    }
    return entry;
}

QString TArchiveQueue::Put(const TArchiveEntry& entry) const {
    if (!platform::CreateFolder(folder_)) {
        return QStringLiteral("не удалось создать папку очереди «%1»")
            .arg(QDir::toNativeSeparators(folder_));
    }
    return platform::WriteWholeFile(QDir(folder_).filePath(NewName()), QueuedEntryBytes(entry));
}

std::vector<QString> TArchiveQueue::Names() const {
    std::vector<QString> names;
    platform::TUniqueFd listing = OpenFolder(folder_);
    const std::unique_ptr<DIR, TCloseDir> dir(listing.IsValid() ? ::fdopendir(listing.Get())
                                                                : nullptr);
    if (!dir) {
        return names;
    }
    listing.Release();  // the listing closes it
    while (const dirent* found = ::readdir(dir.get())) {
        const QString name = QFile::decodeName(found->d_name);
        if (NamePattern().match(name).hasMatch()) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

TQueueListing TArchiveQueue::Pending(int limit) const {
    TQueueListing listing;
    for (const QString& name : Names()) {
        if (static_cast<int>(listing.entries.size()) >= limit) {
            break;
        }
        const platform::TFileRead read =
            platform::ReadRegularFile(QDir(folder_).filePath(name), kMaxQueuedEntryBytes + 1);
        const std::optional<TArchiveEntry> entry =
            read.error == 0 && read.size <= kMaxQueuedEntryBytes ? QueuedEntryOf(read.bytes)
                                                                 : std::nullopt;
        if (entry) {
            listing.entries.push_back({name, *entry});
        } else {
            ++listing.unreadable;
        }
    }
    return listing;
}

int TArchiveQueue::Count() const {
    return static_cast<int>(Names().size());
}

bool TArchiveQueue::Remove(const QString& name) const {
    if (!NamePattern().match(name).hasMatch()) {
        return false;
    }
    const platform::TUniqueFd folder = OpenFolder(folder_);
    return folder.IsValid() &&
           (::unlinkat(folder.Get(), QFile::encodeName(name).constData(), 0) == 0 ||
            errno == ENOENT);
}

}  // namespace archive
