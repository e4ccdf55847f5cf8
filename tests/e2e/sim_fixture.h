// A main window whose COM1 is the simulated unit: ve17-sim runs as a child process on a
// pseudo-terminal and the window's real receiver thread reads it.
#pragma once

#include <gtest/gtest.h>
#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <memory>

#include "app/main.h"
#include "link/link_panel.h"
#include "measure/recording.h"
#include "measure/registration_panel.h"
#include "support/controls.h"
#include "support/cpu_time.h"
#include "support/fake_dialogs.h"
#include "support/program_folder.h"
#include "support/wait.h"

class SimulatedUnitTest : public ::testing::Test, protected TControlFinder {
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

    const QObject& ControlsRoot() const override { return *form; }

    // The status bar and the registration's timer, as the window composed them.
    TLinkPanel& Link() const { return *form->findChild<TLinkPanel*>(); }
    TRegistrationPanel& Registration() const { return *form->findChild<TRegistrationPanel*>(); }

    // Lets the window run (frames, timer) for the given time.
    static void RunFor(int milliseconds);
    // Resident memory of this process, in kB.
    static long ResidentKb();

    QString IniPath() const { return folder->IniPath(); }

    std::unique_ptr<TScratchProgramFolder> folder;
    QProcess simulator;
    TFakeDialogs dialogs;
    std::unique_ptr<TMainForm> form;
};

// A copy of the store, taken before the window changes it (the store is 256 kB: on the heap).
std::unique_ptr<TSampleStore> CopyOf(const TSampleStore& store);
// The same count and the same stored samples (a test file holds no period or area number).
::testing::AssertionResult SameSamples(const TSampleStore& expected, const TSampleStore& actual);
