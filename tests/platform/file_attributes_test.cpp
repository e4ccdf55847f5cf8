#include "platform/file_attributes.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/shared_folder.h"

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

void MakeFile(const QString& path, const QByteArray& bytes, mode_t mode) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    ASSERT_EQ(chmod(QFile::encodeName(path).constData(), mode), 0);
}

struct FolderCase {
    mode_t folder;
    mode_t normal;  // the file's mode after "normal", from read-only
};

// Write bits go to those the folder lets replace the file anyway.
const FolderCase kFolderCases[] = {
    {0755, 0644},   // a private folder: the owner only
    {0775, 0664},   // a group folder
    {02775, 0664},  // the shared program folder
    {0777, 0666},   // open to all
    {01777, 0644},  // sticky, like /tmp: nobody may replace another's file
    {03775, 0644},
};

TEST(FileAttributes, NormalGivesBackTheWriteBitsTheFolderGrants) {
    for (const FolderCase& c : kFolderCases) {
        QTemporaryDir dir;
        const QString folder = dir.filePath("program");
        ASSERT_TRUE(QDir().mkdir(folder));
        const QString path = folder + "/VE17.ini";
        MakeFile(path, "", 0444);
        ASSERT_EQ(chmod(QFile::encodeName(folder).constData(), c.folder), 0);

        ASSERT_TRUE(platform::SetFileAttributesNormal(path));
        EXPECT_EQ(Mode(path), c.normal) << std::oct << "folder " << c.folder;
        ASSERT_TRUE(platform::SetFileAttributesReadOnlySystem(path));
        EXPECT_EQ(Mode(path), 0444U) << std::oct << "folder " << c.folder;
        chmod(QFile::encodeName(folder).constData(), 0700);
    }
}

TEST(FileAttributes, AFileOfAnotherGroupGetsNoGroupWriteBit) {
    SKIP_UNLESS_OPERATORS_CAN_BE_TAKEN_ON();
    SharedFolder shared;
    ASSERT_TRUE(shared.IsReady());
    const QString path = shared.FilePath("VE17.ini");
    MakeFile(path, "", 0444);
    ASSERT_EQ(chown(QFile::encodeName(path).constData(), 0, kOperatorsGroup + 1), 0);
    ASSERT_TRUE(platform::SetFileAttributesNormal(path));
    EXPECT_EQ(Mode(path), 0644U);
}

TEST(FileAttributes, AnotherOperatorsFileIsReplacedByHisOwnIdenticalCopy) {
    SKIP_UNLESS_OPERATORS_CAN_BE_TAKEN_ON();
    SharedFolder shared;
    ASSERT_TRUE(shared.IsReady());
    const QString path = shared.FilePath("VE17.ini");
    ASSERT_TRUE(RunAs(kOperatorA, [&] {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write("[USER]\r\nNAME=A\r\n") > 0 &&
               file.flush() && platform::SetFileAttributesReadOnlySystem(path);
    }));
    ASSERT_EQ(StatOf(path).st_uid, kOperatorA.uid);

    ASSERT_TRUE(RunAs(kOperatorB, [&] { return platform::SetFileAttributesNormal(path); }));
    const struct stat normal = StatOf(path);
    EXPECT_EQ(normal.st_uid, kOperatorB.uid);
    EXPECT_EQ(normal.st_gid, kOperatorsGroup);
    EXPECT_EQ(normal.st_mode & 07777, 0664U);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "[USER]\r\nNAME=A\r\n");
    EXPECT_EQ(QDir(shared.Path()).entryList(QDir::Files | QDir::Hidden), QStringList{"VE17.ini"});

    // Back to A, read-only this time.
    ASSERT_TRUE(RunAs(kOperatorA, [&] { return platform::SetFileAttributesReadOnlySystem(path); }));
    EXPECT_EQ(StatOf(path).st_uid, kOperatorA.uid);
    EXPECT_EQ(Mode(path), 0444U);
}

TEST(FileAttributes, AFolderMadeInASharedFolderIsSharedToo) {
    SKIP_UNLESS_OPERATORS_CAN_BE_TAKEN_ON();
    SharedFolder shared;
    ASSERT_TRUE(shared.IsReady());
    const QString folder = shared.FilePath("DBCustom");
    ASSERT_TRUE(RunAs(kOperatorA, [&] { return platform::CreateFolder(folder); }));
    EXPECT_EQ(StatOf(folder).st_mode & 07070, 02070U);
    EXPECT_EQ(StatOf(folder).st_gid, kOperatorsGroup);
    const QString file = folder + "/t.ktd";
    EXPECT_TRUE(RunAs(kOperatorB, [&] { return QFile(file).open(QIODevice::WriteOnly); }));
    EXPECT_TRUE(RunAs(kOperatorB, [&] { return platform::CreateFolder(folder); }))
        << "an existing folder is fine";
}

TEST(FileAttributes, AFolderMadeInAPrivateFolderStaysPrivate) {
    QTemporaryDir dir;
    const QString folder = dir.filePath("DBCustom");
    ASSERT_TRUE(platform::CreateFolder(folder));
    EXPECT_EQ(Mode(folder) & 022, 0U);
    EXPECT_FALSE(platform::CreateFolder(dir.filePath("none/DBCustom")));
}

TEST(FileAttributes, AMissingFileReportsFailure) {
    QTemporaryDir dir;
    EXPECT_FALSE(platform::SetFileAttributesNormal(dir.filePath("none")));
    EXPECT_FALSE(platform::SetFileAttributesReadOnlySystem(dir.filePath("none")));
}

}  // namespace
