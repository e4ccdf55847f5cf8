// The chart panel and the registration panel in a window of their own, with the test under way
// they work on; what the registration asks of the rest of the window is captured.
#pragma once

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QFrame>
#include <QGroupBox>
#include <QTest>
#include <array>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

#include "config/config.h"
#include "measure/chart_panel.h"
#include "measure/recording.h"
#include "measure/registration_panel.h"
#include "support/controls.h"
#include "support/device_frames.h"
#include "support/program_folder.h"

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

class MeasurePanelsTest : public ::testing::Test, protected TControlFinder {
  protected:
    void SetUp() override {
        INI_FILE_DATA = TIniFileData{};
        ReadIniFile();  // the defaults: FORCE_SCALE 100
        host.setFixedSize(1039, 664);
        frame = new QFrame(&host);
        frame->setGeometry(8, 16, 753, 619);
        strip = new QFrame(frame);
        strip->setGeometry(4, 578, 745, 35);
        auto* indicators = new QFrame(&host);
        indicators->setGeometry(772, 16, 253, 69);
        auto* group = new QGroupBox(&host);
        group->setGeometry(772, 118, 253, 183);

        chart = new TChartPanel(frame, strip, recording, &host);
        registration = new TRegistrationPanel(
            {.client = &host, .indicators = indicators, .controlGroup = group, .strip = strip},
            recording, INI_FILE_DATA, [this] { return area; }, &host);
        QObject::connect(registration, &TRegistrationPanel::ControlsChanged,
                         [this](const TControlStates& states) { changes.push_back(states); });
        QObject::connect(registration, &TRegistrationPanel::StatusPanelChanged,
                         [this](int8_t index, const QString& text) { panels.at(index) = text; });
        registration->SelectFirstPeriod();
        registration->ClickCancel();
        changes.clear();
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    }
    const QObject& ControlsRoot() const override { return host; }

    // Frames of the given kind carrying the force code, as the receiver hands them over.
    void Feed(uint16_t code, int frames = 1, char kind = ' ') {
        const TDeviceFrame device = DeviceFrame(kind, code);
        for (int i = 0; i < frames; ++i) {
            registration->ProcessFrame(device);
        }
    }
    void Tick(int ticks = 1) {
        for (int i = 0; i < ticks; ++i) {
            registration->TmTimer();
        }
    }
    void WatchdogTicks(int cycles) {
        for (int i = 0; i < cycles; ++i) {
            registration->WatchdogTick();
        }
    }
    // A click of the operator's mouse on a shown button.
    static void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    // Start, then `samples` frames at period 100 ms: one stored sample each.
    void Record(int samples, uint16_t code = 1000) {
        Click(Button("btStart"));
        Feed(code, samples);
    }
    // Whether the last change the registration asked for enables saving.
    std::optional<bool> SaveOffered() const {
        return changes.empty() ? std::nullopt : changes.back().SaveTest;
    }

    TScratchProgramFolder folder;
    TRecording recording;
    TSampleStore& store = recording.StoreToFill();
    const TMeasureState& measure = recording.Measure();
    const TRegistrationFlags& flags = recording.Flags();
    QString area = QStringLiteral("1000");
    std::vector<TControlStates> changes;
    std::array<QString, 4> panels;
    QWidget host;
    QFrame* frame = nullptr;
    QFrame* strip = nullptr;
    TChartPanel* chart = nullptr;
    TRegistrationPanel* registration = nullptr;
};
