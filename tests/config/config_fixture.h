// A scratch program folder for the configuration tests: VE17.ini lives there.
#pragma once

#include <gtest/gtest.h>

#include "config/config.h"
#include "support/program_folder.h"

class ConfigFixture : public ::testing::Test {
  protected:
    void SetUp() override { INI_FILE_DATA = TIniFileData{}; }

    QString IniPath() const { return folder_.IniPath(); }
    void WriteIni(const QByteArray& bytes) const { folder_.WriteIni(bytes); }
    QByteArray IniBytes() const { return folder_.IniBytes(); }

    TScratchProgramFolder folder_;
};
