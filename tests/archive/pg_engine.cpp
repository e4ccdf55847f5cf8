// The archive's tests on a real PostgreSQL server, one for the whole test program (started
// before the first test, stopped after the last); every test gets a database of its own, and
// "away" is the server switched off.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <memory>

#include "archive_engine.h"
#include "pg_server.h"

namespace {

std::unique_ptr<TPgServer> server;

class TPgEngine final : public TArchiveEngine {
  public:
    QString NewService() override {
        const QString service = server->NewDatabase();
        EXPECT_FALSE(service.isEmpty()) << server->Error().toStdString();
        return service;
    }
    void TakeDown(const archive::TArchiveSettings&) override {
        ASSERT_TRUE(server->Stop()) << server->Error().toStdString();
    }
    void BringBack() override { ASSERT_TRUE(server->Start()) << server->Error().toStdString(); }
};

class TPgEnvironment final : public ::testing::Environment {
  public:
    void SetUp() override {
        server = std::make_unique<TPgServer>();
        ASSERT_TRUE(server->Error().isEmpty()) << server->Error().toStdString();
    }
    void TearDown() override { server.reset(); }
};

}  // namespace

TArchiveEngine& Engine() {
    static TPgEngine engine;
    return engine;
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new TPgEnvironment);
    return RUN_ALL_TESTS();
}
