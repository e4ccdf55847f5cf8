// What the operator sees of the registration at a glance: btStart while a registration runs,
// and the live indicators dimmed while the link to the unit is lost.
#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <functional>

#include "panels_fixture.h"

namespace {

// How many of the widget's pixels, as drawn on the screen, are of that kind of colour.
int PixelsWhere(QWidget* widget, const std::function<bool(const QColor&)>& kind) {
    const QImage image = widget->grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += kind(image.pixelColor(x, y)) ? 1 : 0;
        }
    }
    return count;
}

bool Red(const QColor& c) {
    return c.red() > 150 && c.green() < 60 && c.blue() < 80;
}
bool Yellow(const QColor& c) {
    return c.red() > 200 && c.green() > 200 && c.blue() < 80;
}
bool Silver(const QColor& c) {
    return c.red() > 150 && c.green() > 150 && c.blue() > 150;
}

double RedShare(QWidget* widget) {
    return static_cast<double>(PixelsWhere(widget, Red)) / (widget->width() * widget->height());
}

class LookTest : public MeasurePanelsTest {
  protected:
    // Counts the colour changes of a widget.
    struct PaletteChanges : QObject {
        int count = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            count += event->type() == QEvent::PaletteChange ? 1 : 0;
            return false;
        }
    };
};

TEST_F(LookTest, StartIsRedOnlyWhileARegistrationRuns) {
    const struct {
        const char* step;
        std::function<void()> action;
        bool recording;
    } steps[] = {
        {"start-up", [] {}, false},
        {"Start", [this] { Click(Button("btStart")); }, true},
        {"Stop", [this] { Click(Button("btStop")); }, false},
        {"Start again", [this] { Click(Button("btStart")); }, true},
        {"the store full",
         [this] {
             store.Count = kStoreCapacity - 1;
             Feed(1000);
         },
         false},
        {"Start after the full store", [this] { Click(Button("btStart")); }, true},
        {"the link lost",
         [this] {
             Feed(1000);
             WatchdogTicks(20);
             Tick();
         },
         false},
    };
    for (const auto& row : steps) {
        SCOPED_TRACE(row.step);
        row.action();
        ASSERT_EQ(Button("btStart")->isChecked(), row.recording);
        if (row.recording) {
            EXPECT_GT(RedShare(Button("btStart")), 0.6);
        } else {
            EXPECT_LT(RedShare(Button("btStart")), 0.01);
        }
        EXPECT_LT(RedShare(Button("btStop")), 0.05) << "the stop button keeps its plain look";
        EXPECT_EQ(Button("btStart")->text(), QStringLiteral("Регистрация"));
        EXPECT_EQ(Button("btStart")->geometry(), QRect(90, 112, 140, 50));
    }
}

TEST_F(LookTest, StaleIndicatorsAreGreyUntilTheFirstFrame) {
    Feed(1000, 10);
    WatchdogTicks(20);
    Tick();
    // The rate is measured against the PC's clock, so only the force and maximum stay put.
    const QStringList texts = {Label("stFORCE")->text(), Label("stMaxForce")->text()};
    EXPECT_EQ(PixelsWhere(Label("stFORCE"), Yellow), 0) << "the last force, dimmed";
    for (const char* value : {"stMaxForce", "stSpeedForce"}) {
        EXPECT_EQ(PixelsWhere(Label(value), Silver), 0) << value;
    }

    Feed(1000);
    EXPECT_EQ(PixelsWhere(Label("stFORCE"), Yellow), 0) << "the indicators change in the timer";
    Tick();
    EXPECT_EQ(QStringList({Label("stFORCE")->text(), Label("stMaxForce")->text()}), texts)
        << "the same values, only their colour changed";
    EXPECT_GT(PixelsWhere(Label("stFORCE"), Yellow), 50);
    for (const char* value : {"stMaxForce", "stSpeedForce"}) {
        EXPECT_GT(PixelsWhere(Label(value), Silver), 20) << value;
    }

    WatchdogTicks(20);
    Tick();
    EXPECT_EQ(PixelsWhere(Label("stFORCE"), Yellow), 0) << "dimmed again";
}

// Once per change of the link, never with the blinking link-lost text or on every tick.
TEST_F(LookTest, IndicatorColoursChangeOnlyWithTheLink) {
    PaletteChanges changes;
    Label("stFORCE")->installEventFilter(&changes);
    const struct {
        const char* step;
        bool frames;  // a frame before each tick keeps the link alive
        int ticks;
        int changesAfter;
    } steps[] = {
        {"no link since start-up", false, 5, 1},
        {"frames arrive", true, 5, 2},
        {"the link lost", false, 25, 3},
    };
    for (const auto& row : steps) {
        SCOPED_TRACE(row.step);
        for (int tick = 0; tick < row.ticks; ++tick) {
            if (row.frames) {
                Feed(1000);
            } else {
                WatchdogTicks(2);
            }
            Tick();
        }
        EXPECT_EQ(changes.count, row.changesAfter);
    }
}

}  // namespace
