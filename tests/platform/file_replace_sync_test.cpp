// A file is written only once its data and its folder's entry are on the disk: a failed sync of
// either is a failed write, and no temporary file is left behind.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>

#include "platform/file_replace.h"
#include "support/sync_faults.h"

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(WriteWholeFileSync, AFailedSyncIsReportedAndLeavesNoTemporaryFile) {
    const struct {
        const char* name;
        TSyncCall call;
        QByteArray afterwards;  // what the name holds after the failed write
    } cases[] = {
        // Before the rename: the old file stays.
        {"data sync", TSyncCall::Fdatasync, "old"},
        // After the rename the new file is in place, but its name may not survive a power loss.
        {"folder sync", TSyncCall::Fsync, "new"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("test.ktd"));
        ASSERT_TRUE(platform::WriteWholeFile(path, "old").isEmpty());

        QString reason;
        {
            const TFailingSync failing(c.call);
            reason = platform::WriteWholeFile(path, "new");
            EXPECT_EQ(failing.Failed(), 1);
        }
        EXPECT_EQ(reason, QString::fromLocal8Bit(std::strerror(EIO)));
        EXPECT_EQ(ReadAll(path), c.afterwards);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
                  QStringList{QStringLiteral("test.ktd")});
    }
}

TEST(WriteWholeFileSync, ANewFileWhoseDataSyncFailsIsNotCreated) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("new.ktd"));
    const TFailingSync failing(TSyncCall::Fdatasync);
    EXPECT_FALSE(platform::WriteWholeFile(path, "new").isEmpty());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).isEmpty());
}

}  // namespace
