// A main window whose COM1 is the simulated unit: ve17-sim runs as a child process on a
// pseudo-terminal and the window's real receiver thread reads it.
#pragma once

#include <gtest/gtest.h>
#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "app/main.h"
#include "support/fake_dialogs.h"

class SimulatedUnitTest : public ::testing::Test {
  protected:
    // The program folder's VE17.ini before the simulator maps COM1 in it.
    static constexpr const char* kLinkIni = "[CONFIG]\r\nLINK_PORT=COM1\r\n";

    // Writes the INI, starts the simulator with these options (after --ini and --port), then
    // the window, whose COM1 must open: PrepareFolder, StartSimulator, StartWindow.
    void StartWith(const QStringList& simulatorOptions, const QByteArray& iniText = kLinkIni);
    // Makes the scratch folder the program's folder, with this VE17.ini.
    void PrepareFolder(const QByteArray& iniText);
    // Ends a running simulator (it puts the INI back as it was) and starts a new one.
    void StartSimulator(const QStringList& simulatorOptions);
    void StartWindow();
    void TearDown() override;

    // Lets the window run (frames, timer) for the given time.
    static void RunFor(int milliseconds);
    // Lets the window run until the condition holds; false when the time ran out first.
    static bool WaitFor(const std::function<bool()>& condition, int timeoutMs);
    // CPU time this process has used so far, user and system, in seconds.
    static double CpuSeconds();
    // Resident memory of this process, in kB.
    static long ResidentKb();

    QString IniPath() const;

    QTemporaryDir folder;
    QProcess simulator;
    std::shared_ptr<TDialogScript> script = std::make_shared<TDialogScript>();
    std::unique_ptr<TMainForm> form;
};

// A copy of the store, taken before the window changes it (the store is 256 kB: on the heap).
std::unique_ptr<TSampleStore> CopyOf(const TSampleStore& store);
// The same count and the same stored samples (a test file holds no period or area number).
::testing::AssertionResult SameSamples(const TSampleStore& expected, const TSampleStore& actual);
