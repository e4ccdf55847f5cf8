#include "platform/file_attributes.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <QFile>
#include <QTemporaryDir>

namespace {

mode_t Mode(const QString& path) {
    struct stat st = {};
    stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

TEST(FileAttributes, ReadOnlySystemRemovesEveryWriteBitAndNormalGivesTheOwnerOneBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath("VE17.ini");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ASSERT_EQ(chmod(QFile::encodeName(path).constData(), 0666), 0);

    ASSERT_TRUE(platform::SetFileAttributesReadOnlySystem(path));
    EXPECT_EQ(Mode(path), 0444U);
    ASSERT_TRUE(platform::SetFileAttributesNormal(path));
    EXPECT_EQ(Mode(path), 0644U);
}

TEST(FileAttributes, AMissingFileReportsFailure) {
    QTemporaryDir dir;
    EXPECT_FALSE(platform::SetFileAttributesNormal(dir.filePath("none")));
    EXPECT_FALSE(platform::SetFileAttributesReadOnlySystem(dir.filePath("none")));
}

}  // namespace
