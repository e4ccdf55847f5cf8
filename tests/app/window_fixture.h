// A main window in a scratch program folder, with dialogs the test answers.
#pragma once

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "app/main.h"
#include "platform/program_dir.h"
#include "support/fake_dialogs.h"

class WindowTest : public ::testing::Test {
  protected:
    // The settings the window starts with; the default opens no port at all.
    virtual QByteArray IniText() const { return "[CONFIG]\r\nLINK_PORT=none\r\n"; }

    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        platform::OverrideProgramDir(folder.path());
        QFile ini(folder.filePath(QStringLiteral("VE17.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(IniText());
        ini.close();
        form = std::make_unique<TMainForm>(std::make_unique<TFakeDialogs>(script));
    }

    void TearDown() override {
        form.reset();
        platform::OverrideProgramDir({});
    }

    QTemporaryDir folder;
    std::shared_ptr<TDialogScript> script = std::make_shared<TDialogScript>();
    std::unique_ptr<TMainForm> form;
};
