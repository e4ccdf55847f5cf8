// The main window as the operator finds it after start-up, its layout and menu, and closing.
#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <stdexcept>

#include "about/help_viewer.h"
#include "app/application.h"
#include "link/ktcom.h"
#include "window_fixture.h"

namespace {

void Tick(TMainForm& form, int ticks) {
    for (int i = 0; i < ticks; ++i) {
        form.findChild<TRegistrationPanel*>()->TmTimer();
    }
}

QString FocusName(const QWidget* widget) {
    return widget != nullptr ? widget->objectName() : QStringLiteral("(none)");
}

TEST_F(WindowTest, StartsStoppedWithOnlyOpeningAvailable) {
    EXPECT_EQ(form->windowTitle(), QStringLiteral("  Регистратор ВЕ-17 v1.1"));
    EXPECT_TRUE(Button("btStop")->isChecked());
    EXPECT_FALSE(Button("btStart")->isChecked());
    EXPECT_TRUE(Button("btOpenTest")->isEnabled());
    EXPECT_FALSE(Button("btProtocol")->isEnabled());
    EXPECT_FALSE(Button("btSaveTest")->isEnabled());
    EXPECT_FALSE(Button("btToExel")->isEnabled());
    EXPECT_TRUE(Menu("N2")->menuAction()->isEnabled());
    EXPECT_TRUE(Widget("pnInfo")->isHidden());
    EXPECT_EQ(Combo("cbPeriod")->currentText(), QStringLiteral("100"));
    EXPECT_TRUE(Timer("Tm")->isActive());

    Tick(*form, 1);
    EXPECT_EQ(Label("stCountSamples")->text(), QStringLiteral("00000"));
    EXPECT_EQ(Label("stMaxForce")->text(), QStringLiteral("max=0.000   "));
    EXPECT_EQ(Label("stSpeedForce")->text(), QStringLiteral("   0.0 кН/с"));
    EXPECT_EQ(Label("lbRmax")->text(), QStringLiteral(" 0.000"));
}

TEST_F(WindowTest, StatusBarFillsDuringTheFirstSecondAndBlinksWithoutLink) {
    Tick(*form, 5);
    EXPECT_EQ(Link().StatusPanelText(1), QString());
    EXPECT_EQ(Link().StatusPanelText(3), QString());
    EXPECT_EQ(Link().StatusPanelText(2), QStringLiteral("       НЕТ СВЯЗИ !!!    "));
    Tick(*form, 4);
    EXPECT_EQ(Link().StatusPanelText(2), QString());
    EXPECT_TRUE(Button("btStop")->isChecked()) << "the pressed Stop is not clicked again";
    Tick(*form, 1);
    EXPECT_EQ(Link().StatusPanelText(1), QStringLiteral(" Машина: -пресс- / Шкала=  100 кН"));
    EXPECT_TRUE(Link().StatusPanelText(3).startsWith(QLatin1Char(' ')));
}

TEST_F(WindowTest, ControlsSitAtTheirPlaces) {
    EXPECT_EQ(form->centralWidget()->size(), QSize(1039, 664));
    const struct {
        const char* control;
        QRect place;
    } table[] = {
        {"Panel2", QRect(8, 16, 753, 619)},          {"Panel3", QRect(4, 578, 745, 35)},
        {"chrtSignTraces", QRect(-3, -1, 742, 567)}, {"Panel1", QRect(772, 16, 253, 69)},
        {"gbControl", QRect(772, 118, 253, 183)},    {"pnInfo", QRect(770, 120, 255, 183)},
        {"btCancel", QRect(942, 313, 82, 54)},       {"gbTestSpec", QRect(772, 375, 253, 188)},
        {"btOpenTest", QRect(773, 578, 59, 56)},     {"btProtocol", QRect(844, 579, 57, 55)},
        {"btSaveTest", QRect(912, 579, 58, 55)},     {"btToExel", QRect(980, 579, 45, 55)},
        {"stBar", QRect(0, 645, 1039, 19)},
    };
    for (const auto& row : table) {
        EXPECT_EQ(Widget(row.control)->geometry(), row.place) << row.control;
    }
    EXPECT_EQ(Button("btStop")->size(), QSize(55, 53));
    EXPECT_EQ(Button("btStart")->size(), QSize(140, 50));
    EXPECT_TRUE(Widget("pnInfo")->geometry().intersects(Widget("gbControl")->geometry()));
    EXPECT_GT(form->centralWidget()->children().indexOf(Widget("pnInfo")),
              form->centralWidget()->children().indexOf(Widget("gbControl")))
        << "an opened test's panel lies over the registration group";
}

TEST_F(WindowTest, TabGoesFromTheRegistrationThroughTheSpecimenToTheFileButtons) {
    const QStringList order = {"cbPeriod",     "btStop",       "btStart",  "edTestName",
                               "edSampleName", "edSampleType", "edSQR",    "btOpenTest",
                               "btProtocol",   "btSaveTest",   "btToExel", "btCancel"};
    QStringList chain;
    QWidget* widget = Widget("cbPeriod");
    do {
        if (widget->focusPolicy() & Qt::TabFocus) {
            chain << FocusName(widget);
        }
        widget = widget->nextInFocusChain();
    } while (widget != Widget("cbPeriod") && chain.size() <= order.size());
    EXPECT_EQ(chain, order);
}

// The menu entry shows the same picture at 32 pixels (assets/about/icon.png).
TEST_F(WindowTest, CarriesTheProgramsIconLikeTheAboutWindow) {
    const QImage icon = QImage(QStringLiteral(VE17_SOURCE_DIR "/assets/about/icon.png"));
    ASSERT_EQ(icon.size(), QSize(32, 32));
    EXPECT_EQ(form->windowIcon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_RGB32),
              icon.convertToFormat(QImage::Format_RGB32));
}

TEST_F(WindowTest, SpecimenBoxesStartWithTheirTextsAndLimits) {
    const struct {
        const char* box;
        const char* text;
        int maxLength;
    } table[] = {
        {"edTestName", "(...)", 31},
        {"edSampleName", "(...)", 19},
        {"edSampleType", "(...)", 19},
        {"edSQR", "1000", 5},
    };
    for (const auto& row : table) {
        EXPECT_EQ(Edit(row.box)->text(), QString::fromUtf8(row.text));
        EXPECT_EQ(Edit(row.box)->maxLength(), row.maxLength);
    }
}

TEST_F(WindowTest, MenuItemsHaveTheirStates) {
    for (const char* disabled : {"mnPort1", "mnPort2", "mnPort3", "mnNote", "mnModeModel"}) {
        EXPECT_FALSE(Action(disabled)->isEnabled()) << disabled;
    }
    for (const char* enabled : {"mnExit", "mnConfig", "mnHelp", "mnAbout"}) {
        EXPECT_TRUE(Action(enabled)->isEnabled()) << enabled;
    }
    EXPECT_TRUE(Action("mnModeNormal")->isChecked());
    EXPECT_EQ(Action("mnNote")->text(), QStringLiteral("Журнал ( F5 )"));
}

TEST_F(WindowTest, ExitClosesInOrderLikeTheCloseBox) {
    form->show();
    ASSERT_NE(KTCOM, nullptr);
    QTimer* timer = Timer("Tm");
    Action("mnExit")->trigger();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(KTCOM, nullptr) << "the channel is released when the window closes";
    EXPECT_FALSE(timer->isActive());
}

TEST_F(WindowTest, F1OpensTheHelpAsItsMenuItemDoes) {
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    auto* viewer = form->findChild<THelpViewer*>();
    ASSERT_NE(viewer, nullptr);
    const QString started = PathOf("viewer-started");
    viewer->SetCommand(QStringLiteral("/bin/sh"),
                       {QStringLiteral("-c"), QStringLiteral("touch \"$0\""), started});
    QTest::keyClick(form.get(), Qt::Key_F1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(started); }, 5000));
    EXPECT_EQ(Action("mnHelp")->text(), QStringLiteral("Справка"));
    EXPECT_TRUE(Action("mnHelp")->shortcut().isEmpty()) << "the menu item looks as it always did";
}

class UnreachablePortTest : public WindowTest {
  protected:
    QByteArray IniText() const override {
        return "[CONFIG]\r\nLINK_PORT=COM1\r\n[PORTS]\r\nCOM1=/dev/ve17-no-such-port\r\n";
    }
};

TEST_F(UnreachablePortTest, ReportsThePortAndStillOpensTheWindow) {
    EXPECT_EQ(dialogs.beeps, 1);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages.front(),
              QStringLiteral("  Внимание: ошибка при попытке открыть порт связи COM1   "));
    EXPECT_EQ(Link().StatusPanelText(0), QStringLiteral("Порт COM1 - ошибка"));
}

// An error that no handler caught on its way is still shown, and the program goes on.
TEST(GeneralErrorBox, ShowsAnEscapingExceptionAndCarriesOn) {
    struct Thrower : QObject {
        int events = 0;
        bool event(QEvent* event) override {
            if (event->type() != QEvent::User) {
                return QObject::event(event);
            }
            ++events;
            throw std::runtime_error("'12ab' is not a valid integer value");
        }
    } thrower;
    TFakeDialogs dialogs;
    auto& app = static_cast<TApplication&>(*QCoreApplication::instance());
    app.UseDialogs(&dialogs);
    QEvent first(QEvent::User);
    QEvent second(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&thrower, &first));
    EXPECT_FALSE(QCoreApplication::sendEvent(&thrower, &second));
    app.UseDialogs(nullptr);
    EXPECT_EQ(thrower.events, 2) << "the program goes on after the first error";
    EXPECT_EQ(dialogs.errors,
              QStringList(2, QStringLiteral("'12ab' is not a valid integer value")));
}

}  // namespace
