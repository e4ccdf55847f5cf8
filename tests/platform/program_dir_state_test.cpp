// The program's folder of an installed build: program_dir.cpp compiled with a state folder named
// (VE17_STATE_FOLDER, given by this test's build), which takes the executable's folder's place.
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QTemporaryDir>

#include "platform/program_dir.h"

namespace {

const QString kStateFolder = QStringLiteral(VE17_STATE_FOLDER "/");

TEST(ProgramDirInstalled, IsTheStateFolderWithOrWithoutAnApplication) {
    EXPECT_EQ(platform::ProgramDir(), kStateFolder);

    int argc = 1;
    char name[] = "program_dir_state_test";
    char* argv[] = {name, nullptr};
    const QCoreApplication app(argc, argv);
    EXPECT_NE(QCoreApplication::applicationDirPath() + "/", kStateFolder);
    EXPECT_EQ(platform::ProgramDir(), kStateFolder);
}

TEST(ProgramDirInstalled, TestsStillPointItAtAScratchFolder) {
    QTemporaryDir dir;
    platform::OverrideProgramDir(dir.path());
    EXPECT_EQ(platform::ProgramDir(), dir.path() + "/");
    platform::OverrideProgramDir(QString());
    EXPECT_EQ(platform::ProgramDir(), kStateFolder);
}

}  // namespace
