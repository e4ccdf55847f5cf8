// The archive's tests on the embedded SQLite database; "away" is a database that another
// program holds locked for writing.
#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include "archive_engine.h"
#include "archive_test_support.h"

namespace {

constexpr const char* kLocker = "ve17-test-locker";

class TSqliteEngine final : public TArchiveEngine {
  public:
    QString NewService() override { return {}; }

    void TakeDown(const archive::TArchiveSettings& settings) override {
        OpenOrFail(settings);  // the database with its schema, to be locked
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kLocker);
        db.setDatabaseName(settings.databasePath);
        ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
        QSqlQuery lock(db);
        ASSERT_TRUE(lock.exec(QStringLiteral("BEGIN IMMEDIATE")))
            << lock.lastError().text().toStdString();
    }

    void BringBack() override {
        {
            QSqlDatabase db = QSqlDatabase::database(kLocker);
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            db.close();
        }
        QSqlDatabase::removeDatabase(kLocker);
    }
};

}  // namespace

TArchiveEngine& Engine() {
    static TSqliteEngine engine;
    return engine;
}
