#include <gtest/gtest.h>
#include <QDir>

#include "profile_test_support.h"
#include "support/file_size_limit.h"

namespace {

class ProfileWrite : public ProfileFileTest {};

TEST_F(ProfileWrite, ReplacesTheValueInPlaceAndKeepsEveryOtherLine) {
    WriteFile(
        "; made by hand\r\n[user]\r\nNAME=old\r\nmachine = m \r\n\r\n[PORTS]\r\n"
        "COM1=/dev/ttyUSB0\r\n[USER]\r\nMACHINE=second\r\n");
    ASSERT_TRUE(Profile().WriteString("USER", "MACHINE", "new"));
    ASSERT_TRUE(Profile().WriteString("USER", "NAME", ""));
    EXPECT_EQ(FileBytes(),
              "; made by hand\r\n[user]\r\nNAME=\r\nmachine =new\r\n\r\n[PORTS]\r\n"
              "COM1=/dev/ttyUSB0\r\n[USER]\r\nMACHINE=second\r\n");
}

TEST_F(ProfileWrite, AddsAMissingKeyAfterTheLastKeyOfItsSection) {
    WriteFile("[USER]\nNAME=a\njunk\n\n; linear values\n[LINEAR]\nFLIN10%=1\n");
    ASSERT_TRUE(Profile().WriteString("USER", "SER_NUM", "5"));
    ASSERT_TRUE(Profile().WriteString("LINEAR", "FLIN50%", "2"));
    EXPECT_EQ(FileBytes(),
              "[USER]\nNAME=a\nSER_NUM=5\njunk\n\n; linear values\n[LINEAR]\nFLIN10%=1\n"
              "FLIN50%=2\n");
}

TEST_F(ProfileWrite, AddsTheFirstKeyRightAfterTheSectionHeader) {
    WriteFile("[USER]\n\n[CONFIG]\n");
    ASSERT_TRUE(Profile().WriteString("USER", "NAME", "a"));
    EXPECT_EQ(FileBytes(), "[USER]\nNAME=a\n\n[CONFIG]\n");
}

TEST_F(ProfileWrite, AddsAMissingSectionAtTheEndAndTerminatesTheLastLine) {
    WriteFile("[USER]\nNAME=a");
    ASSERT_TRUE(Profile().WriteString("CONFIG", "LINK_PORT", "COM2"));
    EXPECT_EQ(FileBytes(), "[USER]\nNAME=a\n[CONFIG]\nLINK_PORT=COM2\n");

    WriteFile("[USER]\r\nNAME=a");
    ASSERT_TRUE(Profile().WriteString("USER", "MACHINE", "m"));
    EXPECT_EQ(FileBytes(), "[USER]\r\nNAME=a\r\nMACHINE=m\r\n");
}

TEST_F(ProfileWrite, ANewFileGetsWindowsLineEnds) {
    ASSERT_TRUE(Profile().WriteString("USER", "NAME", "a"));
    ASSERT_TRUE(Profile().WriteString("USER", "MACHINE", "m"));
    EXPECT_EQ(FileBytes(), "[USER]\r\nNAME=a\r\nMACHINE=m\r\n");
}

TEST_F(ProfileWrite, LineBreaksInAValueCannotForgeOtherKeys) {
    ASSERT_TRUE(Profile().WriteString("USER", "NAME", "a\r\n[CONFIG]\nLINK_PORT=x"));
    EXPECT_EQ(Profile().ReadString("CONFIG", "LINK_PORT", "none"), "none");
    EXPECT_EQ(Profile().ReadString("USER", "NAME", ""), "a  [CONFIG] LINK_PORT=x");
}

TEST_F(ProfileWrite, FailsWhenThePlaceCannotBeWritten) {
    EXPECT_FALSE(platform::PrivateProfile(Path() + ".d/none/x.ini").WriteString("U", "K", "v"));
    ASSERT_TRUE(QDir().mkdir(QString::fromStdString(Path())));
    EXPECT_FALSE(Profile().WriteString("U", "K", "v"));
}

TEST_F(ProfileWrite, AFullDiskLeavesTheOldFileWhole) {
    const std::string old = "[USER]\nNAME=" + std::string(100, 'n') + "\n";
    WriteFile(old);
    {
        FileSizeLimit limit(64);
        EXPECT_FALSE(Profile().WriteString("USER", "MACHINE", "m"));
    }
    EXPECT_EQ(FileBytes(), old);
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"test.ini"});
}

}  // namespace
