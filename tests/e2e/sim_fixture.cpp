#include "sim_fixture.h"

#include <QFile>
#include <QTest>

#include "platform/program_dir.h"

void SimulatedUnitTest::StartWith(const QStringList& simulatorOptions) {
    ASSERT_TRUE(folder.isValid());
    platform::OverrideProgramDir(folder.path());
    const QString ini = folder.filePath(QStringLiteral("VE17.ini"));
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[CONFIG]\r\nLINK_PORT=COM1\r\n");
    file.close();

    simulator.start(QStringLiteral(VE17_SIM_PROGRAM),
                    QStringList{QStringLiteral("--ini"), ini, QStringLiteral("--port"),
                                QStringLiteral("COM1"), QStringLiteral("--quiet")} +
                        simulatorOptions);
    // The simulator prints its pseudo-terminal once COM1 is mapped to it.
    ASSERT_TRUE(simulator.waitForReadyRead(5000)) << simulator.readAllStandardError().data();
    form = std::make_unique<TMainForm>(std::make_unique<TFakeDialogs>(script));
    ASSERT_EQ(form->StatusPanelText(0), QStringLiteral("Порт COM1 - ОК"));
}

void SimulatedUnitTest::TearDown() {
    form.reset();
    simulator.terminate();
    simulator.waitForFinished(5000);
    platform::OverrideProgramDir({});
}

void SimulatedUnitTest::RunFor(int milliseconds) {
    QTest::qWait(milliseconds);
}
