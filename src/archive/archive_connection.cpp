#include "archive/archive_connection.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <atomic>

#include "platform/file_attributes.h"
#include "platform/regular_file.h"
#include "platform/unique_fd.h"

namespace archive {
namespace {

QString NewConnectionName() {
    static std::atomic<int> next{0};
    return QStringLiteral("ve17-archive-%1").arg(next.fetch_add(1));
}

QString MissingDriver(const char* driver, const char* package) {
    return QStringLiteral("нет драйвера Qt SQL %1 (пакет %2)")
        .arg(QLatin1String(driver), QLatin1String(package));
}

// A new database file is created exclusively, never over a name that appeared meanwhile, with
// the write bits the folder grants: every operator of the press writes the one archive.
QString CreateDatabaseFile(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const platform::TUniqueFd fd(
        ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!fd.IsValid()) {
        return errno == EEXIST ? QString() : platform::FileErrorText(errno);
    }
    struct stat file = {};
    struct stat folder = {};
    const QByteArray folderName = QFile::encodeName(QFileInfo(path).absolutePath());
    if (::fstat(fd.Get(), &file) == 0 && ::stat(folderName.constData(), &folder) == 0) {
        ::fchmod(fd.Get(), platform::NormalMode(file, folder));
    }
    return {};
}

// The database file must be a regular file at its own name: SQLite itself would follow a link
// that another operator planted there.
QString CheckDatabaseFile(const QString& path) {
    if (const QString created = CreateDatabaseFile(path); !created.isEmpty()) {
        return created;
    }
    int error = 0;
    const platform::TUniqueFd fd = platform::OpenRegularFile(path, O_RDONLY, error);
    return fd.IsValid() ? QString() : platform::FileErrorText(error);
}

// The file SQLite opened, after it resolved every link on the way: the folder's own real path
// with the name unchanged, or a link took its place between the check and the open.
bool OpenedItself(QSqlDatabase& db, const QString& path) {
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA database_list"))) {
        return false;
    }
    const QFileInfo info(path);
    const QString expected = QDir(info.absolutePath()).canonicalPath() + '/' + info.fileName();
    while (query.next()) {
        if (query.value(1).toString() == QLatin1String("main")) {
            return query.value(2).toString() == expected;
        }
    }
    return false;
}

bool IsBusy(const QSqlError& error) {
    constexpr int kSqliteBusy = 5;  // SQLITE_BUSY, also the low byte of its extended codes
    return (error.nativeErrorCode().toInt() & 0xff) == kSqliteBusy;
}

// WAL: readers never wait for a writer, and a writer waits for another one only as long as its
// transaction; FULL: a stored entry survives a power loss. Programs that switch a new file to
// WAL at the same moment each hold the lock the other needs; SQLite then answers "busy" at once
// instead of waiting, so the switch is tried again within the busy timeout.
QString Pragmas(QSqlDatabase& db, int busyTimeoutMs) {
    QSqlQuery query(db);
    const QDeadlineTimer deadline(busyTimeoutMs);
    while (!query.exec(QStringLiteral("PRAGMA journal_mode = WAL"))) {
        if (!IsBusy(query.lastError()) || deadline.hasExpired()) {
            return query.lastError().text();
        }
        QThread::msleep(5);
    }
    if (!query.exec(QStringLiteral("PRAGMA synchronous = FULL"))) {
        return query.lastError().text();
    }
    return {};
}

}  // namespace

TConnection::TConnection(const TArchiveSettings& settings)
    : name_(NewConnectionName()),
      engine_(settings.UsesServer() ? TEngine::Postgres : TEngine::Sqlite) {
    error_ = engine_ == TEngine::Postgres ? OpenPostgres(settings) : OpenSqlite(settings);
    if (!error_.isEmpty()) {
        // The drivers' texts run over several lines; a message is one.
        error_ =
            QStringLiteral("%1 недоступна: %2").arg(ArchiveName(settings), error_.simplified());
        db_.close();
    }
}

TConnection::~TConnection() {
    db_.close();
    db_ = QSqlDatabase();
    if (QSqlDatabase::contains(name_)) {
        QSqlDatabase::removeDatabase(name_);
    }
}

QString TConnection::OpenSqlite(const TArchiveSettings& settings) {
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) {
        return MissingDriver("QSQLITE", "libqt6sql6-sqlite");
    }
    if (const QString fault = CheckDatabaseFile(settings.databasePath); !fault.isEmpty()) {
        return fault;
    }
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
    db_.setDatabaseName(settings.databasePath);
    db_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(settings.busyTimeoutMs));
    if (!db_.open()) {
        return db_.lastError().text();
    }
    if (!OpenedItself(db_, settings.databasePath)) {
        return QStringLiteral("на месте файла базы оказалась ссылка");
    }
    return Pragmas(db_, settings.busyTimeoutMs);
}

QString TConnection::OpenPostgres(const TArchiveSettings& settings) {
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
        return MissingDriver("QPSQL", "libqt6sql6-psql");
    }
    if (!IsValidServiceName(settings.service)) {
        return QStringLiteral("имя службы в [ARCHIVE] SERVICE содержит недопустимые знаки");
    }
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name_);
    // Host, database, user and password come from the service and ~/.pgpass; a hung server ends
    // a statement instead of holding the archive's thread.
    db_.setConnectOptions(
        QStringLiteral("service=%1;connect_timeout=%2;options='-c statement_timeout=%3'")
            .arg(settings.service)
            .arg(settings.connectTimeoutS)
            .arg(30000));
    if (!db_.open()) {
        return db_.lastError().text();
    }
    return {};
}

}  // namespace archive
