// Scratch INI files for the private-profile tests.
#pragma once

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>
#include <string>

#include "platform/profile.h"

class ProfileFileTest : public ::testing::Test {
  protected:
    std::string Path() const { return dir_.filePath("test.ini").toStdString(); }

    void WriteFile(const std::string& bytes) const {
        QFile file(QString::fromStdString(Path()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }

    std::string FileBytes() const {
        QFile file(QString::fromStdString(Path()));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    }

    platform::PrivateProfile Profile() const { return platform::PrivateProfile(Path()); }

    QTemporaryDir dir_;
};
