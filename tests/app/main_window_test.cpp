// The main window as the operator finds it after start-up, its layout and menu, and closing.
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <stdexcept>

#include "app/application.h"
#include "link/ktcom.h"
#include "window_fixture.h"

namespace {

void Tick(TMainForm& form, int ticks) {
    for (int i = 0; i < ticks; ++i) {
        form.TmTimer();
    }
}

TEST_F(WindowTest, StartsStoppedWithOnlyOpeningAvailable) {
    EXPECT_EQ(form->windowTitle(), QStringLiteral("  Регистратор ВЕ-17 v1.1"));
    EXPECT_TRUE(form->btStop->isChecked());
    EXPECT_FALSE(form->btStart->isChecked());
    EXPECT_TRUE(form->btOpenTest->isEnabled());
    EXPECT_FALSE(form->btProtocol->isEnabled());
    EXPECT_FALSE(form->btSaveTest->isEnabled());
    EXPECT_FALSE(form->btToExel->isEnabled());
    EXPECT_TRUE(form->N2->menuAction()->isEnabled());
    EXPECT_TRUE(form->pnInfo->isHidden());
    EXPECT_EQ(form->cbPeriod->currentText(), QStringLiteral("100"));
    EXPECT_TRUE(form->Tm->isActive());

    Tick(*form, 1);
    EXPECT_EQ(form->stCountSamples->text(), QStringLiteral("00000"));
    EXPECT_EQ(form->stMaxForce->text(), QStringLiteral("max=0.000   "));
    EXPECT_EQ(form->stSpeedForce->text(), QStringLiteral("   0.0 кН/с"));
    EXPECT_EQ(form->lbRmax->text(), QStringLiteral(" 0.000"));
}

TEST_F(WindowTest, StatusBarFillsDuringTheFirstSecondAndBlinksWithoutLink) {
    Tick(*form, 5);
    EXPECT_EQ(form->StatusPanelText(1), QString());
    EXPECT_EQ(form->StatusPanelText(3), QString());
    EXPECT_EQ(form->StatusPanelText(2), QStringLiteral("       НЕТ СВЯЗИ !!!    "));
    Tick(*form, 4);
    EXPECT_EQ(form->StatusPanelText(2), QString());
    EXPECT_TRUE(form->btStop->isChecked()) << "the pressed Stop is not clicked again";
    Tick(*form, 1);
    EXPECT_EQ(form->StatusPanelText(1), QStringLiteral(" Машина: -пресс- / Шкала=  100 кН"));
    EXPECT_TRUE(form->StatusPanelText(3).startsWith(QLatin1Char(' ')));
}

TEST_F(WindowTest, ControlsSitAtTheirPlaces) {
    EXPECT_EQ(form->centralWidget()->size(), QSize(1039, 664));
    const struct {
        QWidget* control;
        QRect place;
    } table[] = {
        {form->Panel2, QRect(8, 16, 753, 619)},        {form->Panel3, QRect(4, 578, 745, 35)},
        {form->Panel1, QRect(772, 16, 253, 69)},       {form->gbControl, QRect(772, 118, 253, 183)},
        {form->pnInfo, QRect(770, 120, 255, 183)},     {form->btCancel, QRect(942, 313, 82, 54)},
        {form->gbTestSpec, QRect(772, 375, 253, 188)}, {form->btOpenTest, QRect(773, 578, 59, 56)},
        {form->btProtocol, QRect(844, 579, 57, 55)},   {form->btSaveTest, QRect(912, 579, 58, 55)},
        {form->btToExel, QRect(980, 579, 45, 55)},
    };
    for (const auto& row : table) {
        EXPECT_EQ(row.control->geometry(), row.place) << row.control->metaObject()->className();
    }
    EXPECT_EQ(form->btStop->size(), QSize(55, 53));
    EXPECT_EQ(form->btStart->size(), QSize(140, 50));
    EXPECT_EQ(form->stBar->height(), 19);
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
        QLineEdit* box;
        const char* text;
        int maxLength;
    } table[] = {
        {form->edTestName, "(...)", 31},
        {form->edSampleName, "(...)", 19},
        {form->edSampleType, "(...)", 19},
        {form->edSQR, "1000", 5},
    };
    for (const auto& row : table) {
        EXPECT_EQ(row.box->text(), QString::fromUtf8(row.text));
        EXPECT_EQ(row.box->maxLength(), row.maxLength);
    }
}

TEST_F(WindowTest, MenuItemsHaveTheirStates) {
    for (QAction* disabled :
         {form->mnPort1, form->mnPort2, form->mnPort3, form->mnNote, form->mnModeModel}) {
        EXPECT_FALSE(disabled->isEnabled()) << disabled->text().toStdString();
    }
    for (QAction* enabled : {form->mnExit, form->mnConfig, form->mnHelp, form->mnAbout}) {
        EXPECT_TRUE(enabled->isEnabled()) << enabled->text().toStdString();
    }
    EXPECT_TRUE(form->mnModeNormal->isChecked());
    EXPECT_EQ(form->mnNote->text(), QStringLiteral("Журнал ( F5 )"));
}

TEST_F(WindowTest, ExitClosesInOrderLikeTheCloseBox) {
    form->show();
    ASSERT_NE(KTCOM, nullptr);
    form->mnExit->trigger();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(KTCOM, nullptr) << "the channel is released when the window closes";
    EXPECT_FALSE(form->Tm->isActive());
}

class UnreachablePortTest : public WindowTest {
  protected:
    QByteArray IniText() const override {
        return "[CONFIG]\r\nLINK_PORT=COM1\r\n[PORTS]\r\nCOM1=/dev/ve17-no-such-port\r\n";
    }
};

TEST_F(UnreachablePortTest, ReportsThePortAndStillOpensTheWindow) {
    EXPECT_EQ(script->beeps, 1);
    ASSERT_EQ(script->messages.size(), 1);
    EXPECT_EQ(script->messages.front(),
              QStringLiteral("  Внимание: ошибка при попытке открыть порт связи COM1   "));
    EXPECT_EQ(form->StatusPanelText(0), QStringLiteral("Порт COM1 - ошибка"));
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
    QStringList shown;
    TApplication::SetErrorDisplay([&shown](const QString& text) { shown << text; });
    QEvent first(QEvent::User);
    QEvent second(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&thrower, &first));
    EXPECT_FALSE(QCoreApplication::sendEvent(&thrower, &second));
    TApplication::SetErrorDisplay({});
    EXPECT_EQ(thrower.events, 2) << "the program goes on after the first error";
    EXPECT_EQ(shown, QStringList(2, QStringLiteral("'12ab' is not a valid integer value")));
}

}  // namespace
