#include <gtest/gtest.h>
#include <sys/resource.h>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/process_priority.h"
#include "platform/program_dir.h"

namespace {

TEST(ProcessPriority, ReportsWhetherThePriorityWasRaised) {
    const bool raised = platform::RaiseProcessPriority();
    EXPECT_EQ(raised, getpriority(PRIO_PROCESS, 0) == -10);
}

TEST(ProgramDir, IsTheExecutablesFolderUnlessOverridden) {
    const QString real = platform::ProgramDir();
    EXPECT_TRUE(QFileInfo::exists(real + "platform_test")) << real.toStdString();

    QTemporaryDir dir;
    platform::OverrideProgramDir(dir.path());
    EXPECT_EQ(platform::ProgramDir(), dir.path() + "/");
    platform::OverrideProgramDir(QString());
    EXPECT_EQ(platform::ProgramDir(), real);
}

}  // namespace
