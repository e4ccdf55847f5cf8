#include "sim_fixture.h"

#include <QFile>
#include <QTest>

void SimulatedUnitTest::StartWith(const QStringList& simulatorOptions, const QByteArray& iniText) {
    ASSERT_NO_FATAL_FAILURE(PrepareFolder(iniText));
    ASSERT_NO_FATAL_FAILURE(StartSimulator(simulatorOptions));
    ASSERT_NO_FATAL_FAILURE(StartWindow());
}

void SimulatedUnitTest::PrepareFolder(const QByteArray& iniText) {
    folder = std::make_unique<TScratchProgramFolder>(iniText);
}

void SimulatedUnitTest::StartSimulator(const QStringList& simulatorOptions) {
    if (simulator.state() != QProcess::NotRunning) {
        simulator.terminate();
        ASSERT_TRUE(simulator.waitForFinished(5000));
    }
    simulator.start(QStringLiteral(VE17_SIM_PROGRAM),
                    QStringList{QStringLiteral("--ini"), IniPath(), QStringLiteral("--port"),
                                QStringLiteral("COM1"), QStringLiteral("--quiet")} +
                        simulatorOptions);
    // The simulator prints its pseudo-terminal once COM1 is mapped to it.
    ASSERT_TRUE(simulator.waitForReadyRead(5000)) << simulator.readAllStandardError().data();
}

void SimulatedUnitTest::StartWindow() {
    form = std::make_unique<TMainForm>(dialogs);
    ASSERT_EQ(Link().StatusPanelText(0), QStringLiteral("Порт COM1 - ОК"));
}

void SimulatedUnitTest::TearDown() {
    form.reset();
    simulator.terminate();
    simulator.waitForFinished(5000);
    folder.reset();
}

void SimulatedUnitTest::RunFor(int milliseconds) {
    QTest::qWait(milliseconds);
}

long SimulatedUnitTest::ResidentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').front().toLong();
        }
    }
    return -1;
}

std::unique_ptr<TSampleStore> CopyOf(const TSampleStore& store) {
    return std::make_unique<TSampleStore>(store);
}

::testing::AssertionResult SameSamples(const TSampleStore& expected, const TSampleStore& actual) {
    if (expected.Count != actual.Count) {
        return ::testing::AssertionFailure()
               << "count " << actual.Count << ", expected " << expected.Count;
    }
    for (int i = 0; i < expected.Count; ++i) {
        if (expected.ForceN[i] != actual.ForceN[i] || expected.TimeMs[i] != actual.TimeMs[i]) {
            return ::testing::AssertionFailure()
                   << "sample " << i << ": " << actual.TimeMs[i] << " ms " << actual.ForceN[i]
                   << " N, expected " << expected.TimeMs[i] << " ms " << expected.ForceN[i] << " N";
        }
    }
    return ::testing::AssertionSuccess();
}
