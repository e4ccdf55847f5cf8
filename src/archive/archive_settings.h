// Where the archive is: the embedded SQLite database in the program's folder, or a lab's
// PostgreSQL server named in VE17.ini by a libpq service ([ARCHIVE] SERVICE), whose host,
// database and user are in pg_service.conf and whose password is in the user's ~/.pgpass, never
// in the INI the operators share.
#pragma once

#include <QString>

namespace archive {

inline constexpr const char* kArchiveSection = "ARCHIVE";
inline constexpr const char* kServiceKey = "SERVICE";
inline constexpr const char* kDatabaseFileName = "VE17-archive.sqlite";
inline constexpr const char* kQueueFolderName = "ArchiveQueue";

struct TArchiveSettings {
    QString service;       // the libpq service of the lab's server; empty: the embedded database
    QString databasePath;  // the embedded database's file
    QString queueFolder;   // entries wait here while the archive cannot take them
    int busyTimeoutMs = 5000;  // how long a write waits for another program's to end
    int connectTimeoutS = 5;   // how long a connection to the server may take

    bool UsesServer() const { return !service.isEmpty(); }
};

// The archive of the program's folder, as its VE17.ini names it.
TArchiveSettings ReadArchiveSettings();

// The archive of a service name (empty: the embedded database) in the program's folder.
TArchiveSettings ArchiveSettingsFor(const QString& service);

// A service name goes into a libpq connection string: letters, digits, "_", "-" and "." only.
bool IsValidServiceName(const QString& service);

// The archive in words, for messages: the database's file or the service.
QString ArchiveName(const TArchiveSettings& settings);

}  // namespace archive
