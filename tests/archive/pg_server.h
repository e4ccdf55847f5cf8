// A real PostgreSQL server for the archive's tests, in a scratch folder of its own: initdb and
// pg_ctl from the installed server, a Unix socket in the scratch folder only (no TCP), trust
// authentication for the superuser "ve17", no syncs to the disk. PostgreSQL refuses to run as
// root, so under root (as in CI) the server runs as the unprivileged user nobody. Clients reach
// each database through a libpq service of its name in the scratch folder's pg_service.conf,
// which PGSERVICEFILE names for this process and the programs it starts.
#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class TPgServer {
  public:
    // Creates the cluster and starts the server; Error() says why when it could not.
    TPgServer();
    ~TPgServer();
    TPgServer(const TPgServer&) = delete;
    TPgServer& operator=(const TPgServer&) = delete;

    const QString& Error() const { return error_; }

    bool Start();
    bool Stop();

    // A new empty database, and the service of the same name that reaches it.
    QString NewDatabase();

  private:
    bool Run(const QString& tool, const QStringList& arguments);
    bool PrepareFolder();
    void AddService(const QString& name, const QString& database);

    QTemporaryDir scratch_;
    QString bin_;       // the server's programs
    QString folder_;    // the server's own: the cluster, the socket, the log
    QString services_;  // pg_service.conf
    int databases_ = 0;
    QString error_;
};
