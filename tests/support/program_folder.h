// A scratch program folder for one test: the program's VE17.ini and DBCustom live there while
// the object exists, and the program's real folder comes back afterwards.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <stdexcept>

#include "platform/program_dir.h"

class TScratchProgramFolder {
  public:
    TScratchProgramFolder() {
        if (!dir_.isValid()) {
            throw std::runtime_error("no scratch folder");
        }
        platform::OverrideProgramDir(dir_.path());
    }
    // With this VE17.ini in it.
    explicit TScratchProgramFolder(const QByteArray& iniText) : TScratchProgramFolder() {
        WriteIni(iniText);
    }
    ~TScratchProgramFolder() {
        QDir::setCurrent(savedCurrent_);
        platform::OverrideProgramDir({});
    }
    TScratchProgramFolder(const TScratchProgramFolder&) = delete;
    TScratchProgramFolder& operator=(const TScratchProgramFolder&) = delete;

    QString Path() const { return dir_.path(); }
    QString FilePath(const QString& name) const { return dir_.filePath(name); }
    QString IniPath() const { return FilePath(QStringLiteral("VE17.ini")); }

    void WriteIni(const QByteArray& text) const {
        QFile::remove(IniPath());
        QFile file(IniPath());
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) {
            throw std::runtime_error("cannot write the scratch VE17.ini");
        }
    }
    QByteArray IniBytes() const {
        QFile file(IniPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

  private:
    QTemporaryDir dir_;
    QString savedCurrent_ = QDir::currentPath();
};
