#include "platform/single_instance.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

const QString kTitle = QStringLiteral("  Регистратор ВЕ-17 v1.1");

TEST(SingleInstance, ASecondHolderIsRefusedUntilTheFirstEnds) {
    QTemporaryDir dir;
    auto first = std::make_unique<platform::SingleInstance>(kTitle, dir.path());
    ASSERT_TRUE(first->TryAcquire());
    EXPECT_TRUE(first->TryAcquire());

    platform::SingleInstance second(kTitle, dir.path());
    EXPECT_FALSE(second.TryAcquire());
    first.reset();
    EXPECT_TRUE(second.TryAcquire());
}

TEST(SingleInstance, OtherTitlesDoNotBlock) {
    QTemporaryDir dir;
    platform::SingleInstance first(kTitle, dir.path());
    platform::SingleInstance other(QStringLiteral("  Регистратор ВЕ-17 v1.2"), dir.path());
    ASSERT_TRUE(first.TryAcquire());
    EXPECT_TRUE(other.TryAcquire());
}

TEST(SingleInstance, TheLockOfACopyThatDiedDoesNotBlock) {
    QTemporaryDir dir;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Dies holding the lock: no destructor removes the file.
        platform::SingleInstance crashed(kTitle, dir.path());
        _exit(crashed.TryAcquire() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_EQ(WEXITSTATUS(status), 0);

    platform::SingleInstance next(kTitle, dir.path());
    ASSERT_TRUE(QFile::exists(next.LockPath()));
    EXPECT_TRUE(next.TryAcquire());
}

TEST(SingleInstance, TheLockFileNameIsPlainText) {
    const QString name = platform::SingleInstance(kTitle).LockPath().section('/', -1);
    EXPECT_TRUE(QRegularExpression("^ve17-[A-Za-z0-9._-]+$").match(name).hasMatch())
        << name.toStdString();
}

}  // namespace
