// A main window whose COM1 is the simulated unit: ve17-sim runs as a child process on a
// pseudo-terminal and the window's real receiver thread reads it.
#pragma once

#include <gtest/gtest.h>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "app/main.h"
#include "support/fake_dialogs.h"

class SimulatedUnitTest : public ::testing::Test {
  protected:
    // Starts the simulator with these options (after --ini and --port), then the window.
    void StartWith(const QStringList& simulatorOptions);
    void TearDown() override;

    // Lets the window run (frames, timer) for the given time.
    static void RunFor(int milliseconds);

    QTemporaryDir folder;
    QProcess simulator;
    std::shared_ptr<TDialogScript> script = std::make_shared<TDialogScript>();
    std::unique_ptr<TMainForm> form;
};
