// Driving the main window as the unit and the operator do: frames handed over as the receiver
// hands them, timer ticks, clicks on the shown window.
#pragma once

#include <QAbstractButton>
#include <QString>
#include <QTest>
#include <cstdint>
#include <ostream>

#include "link/ktcom.h"
#include "window_fixture.h"

// Texts of controls show as text when an expectation fails.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// The window shown, with its 100 ms timer stopped: the test ticks it, so no tick comes unasked.
class DrivenWindowTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(form);
        form->Tm->stop();
        form->TickCount = 0;
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    // One frame of the given kind carrying the force code, as the receiver hands it over.
    void Feed(uint16_t code, int frames = 1, char kind = ' ') {
        TDeviceFrame& frame = KTCOM->Frame;
        frame.Bytes.fill(0);
        frame.Bytes[0] = frame::kStartMarker;
        frame.Bytes[frame::kKindOffset] = static_cast<uint8_t>(kind);
        frame.Bytes[frame::kLengthOffset] = 2;
        frame.Bytes[frame::kHeaderSize] = static_cast<uint8_t>(code & 0xFF);
        frame.Bytes[frame::kHeaderSize + 1] = static_cast<uint8_t>(code >> 8);
        frame.Length = frame::kHeaderSize + 2;
        for (int i = 0; i < frames; ++i) {
            form->ProcessFrame();
        }
    }

    void Tick(int ticks = 1) {
        for (int i = 0; i < ticks; ++i) {
            form->TmTimer();
        }
    }

    void WatchdogTicks(int cycles) {
        for (int i = 0; i < cycles; ++i) {
            form->WatchdogTick();
        }
    }

    // A click of the operator's mouse on a shown button.
    void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    // Start, then `samples` frames at period 100 ms: one stored sample each.
    void Record(int samples, uint16_t code = 1000) {
        Click(form->btStart);
        Feed(code, samples);
    }
};
