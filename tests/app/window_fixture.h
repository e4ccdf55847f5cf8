// A main window in a scratch program folder, with dialogs the test answers.
#pragma once

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QString>
#include <QTest>
#include <cstdint>
#include <memory>
#include <ostream>

#include "app/main.h"
#include "link/ktcom.h"
#include "link/link_panel.h"
#include "measure/recording.h"
#include "measure/registration_panel.h"
#include "support/controls.h"
#include "support/device_frames.h"
#include "support/fake_dialogs.h"
#include "support/program_folder.h"

// Texts of controls show as text when an expectation fails.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

class WindowTest : public ::testing::Test, protected TControlFinder {
  protected:
    // The settings the window starts with; the default opens no port at all.
    virtual QByteArray IniText() const { return "[CONFIG]\r\nLINK_PORT=none\r\n"; }

    void SetUp() override {
        folder = std::make_unique<TScratchProgramFolder>(IniText());
        form = std::make_unique<TMainForm>(dialogs);
    }
    void TearDown() override {
        form.reset();
        folder.reset();
    }
    const QObject& ControlsRoot() const override { return *form; }

    // The status bar and the registration's timer, as the window composed them.
    TLinkPanel& Link() const { return *form->findChild<TLinkPanel*>(); }
    TRegistrationPanel& Registration() const { return *form->findChild<TRegistrationPanel*>(); }

    QMenu* Menu(const char* name) const { return FindControl<QMenu>(*form, name); }
    QAction* Action(const char* name) const { return FindControl<QAction>(*form, name); }
    QString PathOf(const char* name) const { return folder->FilePath(QString::fromUtf8(name)); }

    std::unique_ptr<TScratchProgramFolder> folder;
    TFakeDialogs dialogs;
    std::unique_ptr<TMainForm> form;
};

// The window shown, with its 100 ms timer stopped: the test ticks it, so no tick comes unasked.
// Frames are handed over as the receiver hands them.
class DrivenWindowTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(form);
        Timer("Tm")->stop();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    // Frames of the given kind carrying the force code.
    void Feed(uint16_t code, int frames = 1, char kind = ' ') {
        KTCOM->Frame = DeviceFrame(kind, code);
        for (int i = 0; i < frames; ++i) {
            form->ProcessFrame();
        }
    }
    void Tick(int ticks = 1) {
        for (int i = 0; i < ticks; ++i) {
            Registration().TmTimer();
        }
    }
    // A click of the operator's mouse on a shown button.
    void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    // Start, then `samples` frames at period 100 ms: one stored sample each.
    void Record(int samples, uint16_t code = 1000) {
        Click(Button("btStart"));
        Feed(code, samples);
    }
};
