#include "measure/indicators.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <memory>

namespace {

using measure::TTimerStep;

TEST(IndicatorTexts, ForceDecimalsFollowTheScale) {
    struct Case {
        int16_t scale;
        const char* text;
    };
    for (const Case c : {Case{50, " 123.457"}, Case{51, "  123.46"}, Case{250, "  123.46"},
                         Case{251, "   123.5"}, Case{1000, "   123.5"}, Case{1001, "     123"}}) {
        EXPECT_EQ(measure::ForceText(123.4567, c.scale), QString::fromUtf8(c.text)) << c.scale;
    }
}

TEST(IndicatorTexts, EachIndicatorHasItsFormat) {
    TMeasureState state;
    state.Force = 12.3456;
    state.Rate = 100.0 * 5240 / 52428 / 2;  // 4.997 kN/s
    state.MaxForce = 12.5;
    state.Rmax = 3.14159;
    const auto store = std::make_unique<TSampleStore>();
    store->Count = 42;
    const measure::TIndicatorTexts texts = measure::IndicatorTexts(state, *store, 100);
    EXPECT_EQ(texts.Force, QStringLiteral("   12.35"));
    EXPECT_EQ(texts.Rate, QStringLiteral("   5.0 кН/с"));
    EXPECT_EQ(texts.MaxForce, QStringLiteral("max=12.500  "));
    EXPECT_EQ(texts.Rmax, QStringLiteral(" 3.142"));
    EXPECT_EQ(texts.Count, QStringLiteral("00042"));
}

TEST(StatusPanelTexts, MachineAndScale) {
    struct Case {
        const char* machine;
        int16_t scale;
        const char* text;
    };
    for (const Case c : {Case{"ПСУ-125", 100, " Машина: ПСУ-125 / Шкала=  100 кН"},
                         Case{"100%s", 12345, " Машина: 100%s / Шкала= 12345 кН"},
                         Case{"", -5, " Машина:  / Шкала=   -5 кН"}}) {
        EXPECT_EQ(measure::MachinePanelText(QString::fromUtf8(c.machine), c.scale),
                  QString::fromUtf8(c.text));
    }
}

TEST(StatusPanelTexts, IoCount) {
    EXPECT_EQ(measure::IoCountPanelText(1234), QStringLiteral(" I/O count: 00001234"));
}

TEST(StatusPanelTexts, ClockUsesRussianConventionsWhateverTheLocale) {
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));  // its own digits
    const QDateTime clock(QDate(2024, 3, 5), QTime(21, 7, 3, 456));
    EXPECT_EQ(measure::ClockPanelText(clock), QStringLiteral(" 05.03.2024            21:07:03"));
    QLocale::setDefault(QLocale::system());
}

TEST(IndicatorTimerTick, ClockAndMachinePanelsOnceASecond) {
    uint16_t tick = 0;
    for (int i = 1; i <= 20; ++i) {
        const TTimerStep step = measure::TimerTick(tick, 20, 7, true);
        EXPECT_EQ(step.WholeSecond, i % 10 == 0) << "tick " << i;
        EXPECT_EQ(tick, i % 10);
        EXPECT_EQ(step.Panel2, QStringLiteral(" I/O count: 00000007"));
        EXPECT_FALSE(step.ClickStop);
    }
}

TEST(IndicatorTimerTick, LinkLostTextBlinks) {
    uint16_t tick = 0;
    for (int i = 1; i <= 10; ++i) {
        const TTimerStep step = measure::TimerTick(tick, 0, 7, true);
        std::optional<QString> expected;
        if (i == 5) {
            expected = QStringLiteral("       НЕТ СВЯЗИ !!!    ");
        } else if (i == 9) {
            expected = QString();
        }
        EXPECT_EQ(step.Panel2, expected) << "tick " << i;
    }
}

TEST(IndicatorTimerTick, LostLinkClicksStopUnlessItIsPressed) {
    struct Case {
        uint16_t watchdog;
        bool stopPressed;
        bool click;
    };
    for (const Case c : {Case{0, false, true}, Case{0, true, false}, Case{1, false, false}}) {
        uint16_t tick = 3;
        EXPECT_EQ(measure::TimerTick(tick, c.watchdog, 0, c.stopPressed).ClickStop, c.click)
            << c.watchdog << " " << c.stopPressed;
    }
}

}  // namespace
