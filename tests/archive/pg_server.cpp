#include "pg_server.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>

namespace {

constexpr uid_t kNobody = 65534;
constexpr gid_t kNogroup = 65534;
constexpr const char* kAdminConnection = "ve17-test-pg-admin";

// The newest installed server: /usr/lib/postgresql/<version>/bin, as Debian lays it out.
QString ServerPrograms() {
    QDir versions(QStringLiteral("/usr/lib/postgresql"));
    QStringList found = versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCollator numeric;
    numeric.setNumericMode(true);
    std::sort(found.begin(), found.end(), numeric);
    for (auto it = found.crbegin(); it != found.crend(); ++it) {
        const QString bin = versions.filePath(*it + QStringLiteral("/bin"));
        if (QFile::exists(bin + QStringLiteral("/initdb"))) {
            return bin;
        }
    }
    return {};
}

bool RunsAsRoot() {
    return ::geteuid() == 0;
}

}  // namespace

TPgServer::TPgServer() : scratch_(QStringLiteral("/tmp/ve17-pg-XXXXXX")) {
    bin_ = ServerPrograms();
    if (bin_.isEmpty()) {
        error_ = QStringLiteral(
            "no PostgreSQL server under /usr/lib/postgresql "
            "(scripts/install-deps.sh installs it)");
        return;
    }
    if (!PrepareFolder() ||
        !Run(QStringLiteral("initdb"),
             {QStringLiteral("-D"), folder_ + QStringLiteral("/data"), QStringLiteral("-U"),
              QStringLiteral("ve17"), QStringLiteral("-A"), QStringLiteral("trust"),
              QStringLiteral("-E"), QStringLiteral("UTF8"), QStringLiteral("--locale=C"),
              QStringLiteral("--no-sync")}) ||
        !Start()) {
        return;
    }
    services_ = scratch_.filePath(QStringLiteral("pg_service.conf"));
    qputenv("PGSERVICEFILE", QFile::encodeName(services_));
    AddService(QStringLiteral("ve17admin"), QStringLiteral("postgres"));
}

TPgServer::~TPgServer() {
    QSqlDatabase::removeDatabase(kAdminConnection);
    if (error_.isEmpty()) {
        Stop();
    }
}

// The scratch folder lets the server's user through to its own folder, which only it may enter.
bool TPgServer::PrepareFolder() {
    folder_ = scratch_.filePath(QStringLiteral("pg"));
    const QByteArray outer = QFile::encodeName(scratch_.path());
    const QByteArray inner = QFile::encodeName(folder_);
    const bool made = scratch_.isValid() && ::chmod(outer.constData(), 0755) == 0 &&
                      QDir().mkdir(folder_) && ::chmod(inner.constData(), 0700) == 0 &&
                      (!RunsAsRoot() || ::chown(inner.constData(), kNobody, kNogroup) == 0);
    if (!made) {
        error_ = QStringLiteral("cannot prepare the server's folder in %1").arg(scratch_.path());
    }
    return made;
}

bool TPgServer::Run(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.setWorkingDirectory(folder_);
    process.setProcessChannelMode(QProcess::MergedChannels);
    const QString program = bin_ + '/' + tool;
    if (RunsAsRoot()) {
        process.start(QStringLiteral("setpriv"),
                      QStringList{QStringLiteral("--reuid=%1").arg(kNobody),
                                  QStringLiteral("--regid=%1").arg(kNogroup),
                                  QStringLiteral("--clear-groups"), QStringLiteral("--"), program} +
                          arguments);
    } else {
        process.start(program, arguments);
    }
    const bool ok = process.waitForFinished(60000) &&
                    process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!ok) {
        error_ =
            QStringLiteral("%1 failed: %2").arg(tool, QString::fromLocal8Bit(process.readAll()));
    }
    return ok;
}

bool TPgServer::Start() {
    const QString options =
        QStringLiteral(
            "-k %1 -c listen_addresses='' -c fsync=off -c synchronous_commit=off "
            "-c full_page_writes=off")
            .arg(folder_);
    return Run(QStringLiteral("pg_ctl"),
               {QStringLiteral("-D"), folder_ + QStringLiteral("/data"), QStringLiteral("-l"),
                folder_ + QStringLiteral("/log"), QStringLiteral("-w"), QStringLiteral("-o"),
                options, QStringLiteral("start")});
}

bool TPgServer::Stop() {
    return Run(QStringLiteral("pg_ctl"),
               {QStringLiteral("-D"), folder_ + QStringLiteral("/data"), QStringLiteral("-m"),
                QStringLiteral("fast"), QStringLiteral("-w"), QStringLiteral("stop")});
}

void TPgServer::AddService(const QString& name, const QString& database) {
    QFile file(services_);
    if (file.open(QIODevice::Append)) {
        file.write(QStringLiteral("[%1]\nhost=%2\nport=5432\ndbname=%3\nuser=ve17\n\n")
                       .arg(name, folder_, database)
                       .toUtf8());
    }
}

QString TPgServer::NewDatabase() {
    const QString name = QStringLiteral("ve17test%1").arg(++databases_);
    {
        QSqlDatabase admin =
            QSqlDatabase::contains(kAdminConnection)
                ? QSqlDatabase::database(kAdminConnection, false)
                : QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), kAdminConnection);
        admin.setConnectOptions(QStringLiteral("service=ve17admin"));
        // A server switched off and on again since: connect anew.
        admin.close();
        if (!admin.open()) {
            error_ = admin.lastError().text();
            return {};
        }
        QSqlQuery create(admin);
        if (!create.exec(QStringLiteral("CREATE DATABASE ") + name)) {
            error_ = create.lastError().text();
            return {};
        }
        admin.close();
    }
    AddService(name, name);
    return name;
}
