// The about window driven through its window as the operator drives it: clicks close it, the
// link opens its address, the pointer over the link turns into the hand.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QWindow>

#include "about/form_about.h"
#include "support/fake_dialogs.h"

namespace {

class FormAboutTest : public ::testing::Test {
  protected:
    void SetUp() override {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    void TearDown() override {
        while (QApplication::overrideCursor() != nullptr) {
            QApplication::restoreOverrideCursor();
        }
    }

    QPoint CentreOf(const char* name) {
        const auto* widget = form.findChild<QWidget*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget != nullptr ? widget->geometry().center() : QPoint();
    }

    void ClickAt(QPoint at) { QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, at); }
    void MoveTo(QPoint at) { QTest::mouseMove(form.windowHandle(), at); }

    static Qt::CursorShape AppCursor() {
        const QCursor* cursor = QApplication::overrideCursor();
        return cursor != nullptr ? cursor->shape() : Qt::BitmapCursor;  // BitmapCursor: none set
    }

    // Somewhere on the bare white background, between the title and the device line.
    const QPoint background{320, 100};

    TFakeDialogs dialogs;
    TFormAbout form{dialogs, nullptr};
    const QList<QUrl>& opened = dialogs.openedUrls;
};

class ClickClosesTest : public FormAboutTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(ClickClosesTest, ClosesWithoutOpeningTheLink) {
    ClickAt(CentreOf(GetParam()));
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_TRUE(opened.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(EveryLabelAndPicture, ClickClosesTest,
                         ::testing::Values("Image1", "Label1", "Label5", "Label9", "Label2",
                                           "Label4", "Label6", "Label8", "Label3", "Image2"));

TEST_F(FormAboutTest, ClickOnTheBackgroundCloses) {
    ASSERT_EQ(form.childAt(background), nullptr);
    ClickAt(background);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(FormAboutTest, ClickOnTheRuleDoesNotClose) {
    ClickAt(CentreOf("Bevel1"));
    EXPECT_TRUE(form.isVisible());
}

TEST_F(FormAboutTest, ClickOnTheLinkOpensItsAddressThenCloses) {
    const auto* link = form.findChild<QLabel*>(QStringLiteral("Label7"));
    ASSERT_NE(link, nullptr);
    ClickAt(CentreOf("Label7"));
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].host(), link->text());
    EXPECT_TRUE(opened[0].scheme().startsWith(QLatin1String("http")));
    EXPECT_FALSE(form.isVisible());
}

TEST_F(FormAboutTest, PressOnTheLinkAndReleaseElsewhereDoesNothing) {
    QTest::mousePress(form.windowHandle(), Qt::LeftButton, {}, CentreOf("Label7"));
    QTest::mouseRelease(form.windowHandle(), Qt::LeftButton, {}, background);
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(FormAboutTest, EscAndEnterDoNotClose) {
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(&form, key);
        EXPECT_TRUE(form.isVisible()) << key;
    }
}

TEST_F(FormAboutTest, HandOverTheLinkArrowOnlyOverTheBackground) {
    MoveTo(CentreOf("Label7"));
    EXPECT_EQ(AppCursor(), Qt::PointingHandCursor);
    // The other labels and the pictures leave the cursor alone.
    MoveTo(CentreOf("Label1"));
    MoveTo(CentreOf("Image2"));
    EXPECT_EQ(AppCursor(), Qt::PointingHandCursor);
    MoveTo(background);
    EXPECT_EQ(AppCursor(), Qt::ArrowCursor);
}

TEST_F(FormAboutTest, CursorChangesKeepOneOverrideLevel) {
    for (int i = 0; i < 3; ++i) {
        MoveTo(CentreOf("Label7"));
        MoveTo(background);
        MoveTo(CentreOf("Label7") + QPoint(1, 0));
    }
    QApplication::restoreOverrideCursor();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(FormAboutTest, BackgroundWithoutAnOverrideSetsNone) {
    MoveTo(background);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(FormAboutTest, HandStaysAfterTheLinkClosesTheWindow) {
    MoveTo(CentreOf("Label7"));
    ClickAt(CentreOf("Label7"));
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(AppCursor(), Qt::PointingHandCursor);
}

TEST_F(FormAboutTest, BothPicturesAreShown) {
    for (const char* name : {"Image1", "Image2"}) {
        const auto* picture = form.findChild<QLabel*>(QLatin1String(name));
        ASSERT_NE(picture, nullptr);
        EXPECT_FALSE(picture->pixmap().isNull()) << name;
    }
}

}  // namespace
