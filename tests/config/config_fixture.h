// A scratch program folder for the configuration tests: VE17.ini lives there.
#pragma once

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "config/config.h"
#include "platform/program_dir.h"

class ConfigFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::OverrideProgramDir(dir_.path());
        INI_FILE_DATA = TIniFileData{};
    }
    void TearDown() override {
        QDir::setCurrent(savedCurrent_);
        platform::OverrideProgramDir(QString());
    }

    QString IniPath() const { return dir_.filePath("VE17.ini"); }

    void WriteIni(const QByteArray& bytes) const {
        QFile::remove(IniPath());
        QFile file(IniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray IniBytes() const {
        QFile file(IniPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir_;
    QString savedCurrent_ = QDir::currentPath();
};
